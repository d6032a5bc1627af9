#include "offscreen.h"

#include <GL/gl.h>
#include <GL/osmesa.h>

namespace skysim {

Offscreen::~Offscreen()
{
    if (ctx_)
        OSMesaDestroyContext(ctx_);
}

bool Offscreen::open(int w, int h, std::string& err)
{
    if (w < 1 || h < 1 || w > 8192 || h > 8192) {
        err = "picture size out of range";
        return false;
    }
    if (!ctx_) {
        ctx_ = OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr);
        if (!ctx_) {
            err = "Mesa could not create an off-screen OpenGL context (OSMesaCreateContextExt)";
            return false;
        }
    }
    buffer_.assign(std::size_t(w) * std::size_t(h) * 4, 0);
    if (!OSMesaMakeCurrent(ctx_, buffer_.data(), GL_UNSIGNED_BYTE, w, h)) {
        err = "Mesa could not bind the off-screen buffer (OSMesaMakeCurrent)";
        return false;
    }
    w_ = w;
    h_ = h;
    glViewport(0, 0, w, h);
    return true;
}

std::vector<std::uint8_t> Offscreen::readRGB() const
{
    glFinish();
    std::vector<std::uint8_t> rgb(std::size_t(w_) * std::size_t(h_) * 3);
    for (int y = 0; y < h_; ++y) {
        const std::uint8_t* src = buffer_.data() + std::size_t(h_ - 1 - y) * std::size_t(w_) * 4;
        std::uint8_t* dst = rgb.data() + std::size_t(y) * std::size_t(w_) * 3;
        for (int x = 0; x < w_; ++x) {
            dst[3 * x] = src[4 * x];
            dst[3 * x + 1] = src[4 * x + 1];
            dst[3 * x + 2] = src[4 * x + 2];
        }
    }
    return rgb;
}

} // namespace skysim

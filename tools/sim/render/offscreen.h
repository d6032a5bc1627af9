// An off-screen OpenGL context (Mesa's OSMesa) with an RGBA colour buffer and a 24-bit depth buffer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct osmesa_context;

namespace skysim {

class Offscreen {
public:
    Offscreen() = default;
    ~Offscreen();
    Offscreen(const Offscreen&) = delete;
    Offscreen& operator=(const Offscreen&) = delete;

    // Creates the context and makes it current with a buffer of w x h pixels. Returns false with a
    // reason in `err` when Mesa cannot give one. May be called again to change the size.
    bool open(int w, int h, std::string& err);

    int width() const { return w_; }
    int height() const { return h_; }

    // The finished picture as RGB bytes, top row first (GL's rows are bottom-up). Call glFinish
    // implicitly; the context must be open.
    std::vector<std::uint8_t> readRGB() const;

private:
    osmesa_context* ctx_ = nullptr;
    std::vector<std::uint8_t> buffer_;
    int w_ = 0, h_ = 0;
};

} // namespace skysim

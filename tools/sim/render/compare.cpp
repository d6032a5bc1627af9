#include "compare.h"

#include "font.h"
#include "scenerender.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

namespace skysim {

namespace {

const int barHeight = 44;

} // namespace

std::vector<std::uint8_t> halfSize(const std::vector<std::uint8_t>& rgb, int w, int h)
{
    const int hw = w / 2, hh = h / 2;
    std::vector<std::uint8_t> out(std::size_t(hw) * std::size_t(hh) * 3);
    for (int y = 0; y < hh; ++y) {
        for (int x = 0; x < hw; ++x) {
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < 2; ++dy) {
                    for (int dx = 0; dx < 2; ++dx)
                        sum += rgb[(std::size_t(2 * y + dy) * std::size_t(w) + std::size_t(2 * x + dx)) * 3 + c];
                }
                out[(std::size_t(y) * std::size_t(hw) + std::size_t(x)) * 3 + c] = std::uint8_t((sum + 2) / 4);
            }
        }
    }
    return out;
}

Comparison renderComparison(Offscreen& gl, const SceneView& view, const std::string& caption)
{
    const int w = gl.width(), h = gl.height();
    SceneView bare = view;
    bare.groups.erase(
        std::remove_if(bare.groups.begin(), bare.groups.end(), [](const SceneGroup& g) { return g.carrier; }),
        bare.groups.end());
    const std::vector<std::uint8_t> with = halfSize(renderScene(gl, view), w, h);
    const std::vector<std::uint8_t> without = halfSize(renderScene(gl, bare), w, h);

    // The title bar, drawn by GL at the top of the buffer and read back with it.
    glClearColor(0.1f, 0.1f, 0.12f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    beginPixelView(w, h);
    glColor3f(0.95f, 0.95f, 0.95f);
    drawText(8, 6, 2, caption);
    glColor3f(0.7f, 0.85f, 1.0f);
    drawText(8, 26, 2, "WITH THE CARRIER");
    glColor3f(0.85f, 0.85f, 0.85f);
    drawText(w / 2 + 8, 26, 2, "WITHOUT THE CARRIER");
    const std::vector<std::uint8_t> bar = gl.readRGB();
    glClearColor(0, 0, 0, 1);

    Comparison out;
    const int hw = w / 2, hh = h / 2, bh = std::min(barHeight, h);
    out.width = w;
    out.height = bh + hh;
    out.rgb.assign(std::size_t(out.width) * std::size_t(out.height) * 3, 0);
    std::memcpy(out.rgb.data(), bar.data(), std::size_t(w) * std::size_t(bh) * 3);
    for (int y = 0; y < hh; ++y) {
        std::uint8_t* row = out.rgb.data() + std::size_t(bh + y) * std::size_t(w) * 3;
        std::memcpy(row, with.data() + std::size_t(y) * std::size_t(hw) * 3, std::size_t(hw) * 3);
        std::memcpy(
            row + std::size_t(hw) * 3, without.data() + std::size_t(y) * std::size_t(hw) * 3, std::size_t(hw) * 3);
        // A thin divider, so the two skies do not run into one another.
        for (int x = std::max(0, hw - 1); x <= std::min(w - 1, hw); ++x)
            std::memset(row + std::size_t(x) * 3, 90, 3);
    }
    return out;
}

} // namespace skysim

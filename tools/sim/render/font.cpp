#include "font.h"

#include <GL/gl.h>

#include <cctype>

namespace skysim {

namespace {

#include "glyphs.inc"

const Glyph* findGlyph(char c)
{
    const char up = char(std::toupper(static_cast<unsigned char>(c)));
    for (const Glyph& g : glyphs) {
        if (g.ch == up)
            return &g;
    }
    return nullptr;
}

} // namespace

void beginPixelView(int w, int h)
{
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

int textWidth(const std::string& text, int scale)
{
    return int(text.size()) * 6 * scale;
}

int drawText(double x, double y, int scale, const std::string& text)
{
    glBegin(GL_QUADS);
    double cx = x;
    for (char c : text) {
        if (const Glyph* g = findGlyph(c)) {
            for (int row = 0; row < 7; ++row) {
                for (int col = 0; col < 5; ++col) {
                    if (!(g->rows[row] & (0x10 >> col)))
                        continue;
                    const double px = cx + col * scale, py = y + row * scale;
                    glVertex2d(px, py);
                    glVertex2d(px + scale, py);
                    glVertex2d(px + scale, py + scale);
                    glVertex2d(px, py + scale);
                }
            }
        }
        cx += 6 * scale;
    }
    glEnd();
    return textWidth(text, scale);
}

} // namespace skysim

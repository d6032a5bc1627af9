#include "planet.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace skysim {

namespace {

// Fine enough that the coloured ground keeps its coastlines from orbit: a ring is a few pixels.
const int rings = 128;
const int sectors = 256;

} // namespace

void drawPlanetCap(const EyeFrame& eye, const VECTOR3& centre, double radius, const PlanetSurface* surface)
{
    const VECTOR3 rel = eye.origin - centre;
    const double d = length(rel);
    if (!(radius > 0) || d <= radius)
        return;
    const VECTOR3 c = rel * (1.0 / d); // towards the point under the camera
    const VECTOR3 e1 = unit(crossp(c, std::fabs(c.y) < 0.9 ? _V(0, 1, 0) : _V(1, 0, 0)));
    const VECTOR3 e2 = crossp(c, e1);
    const double horizon = std::acos(std::clamp(radius / d, -1.0, 1.0)) * 1.002;
    const VECTOR3 toCentre = centre - eye.origin;

    double mv[16];
    viewRotation(eye, mv);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(mv);

    // Ring by ring, as strips between ring i and ring i + 1; positions relative to the camera.
    std::vector<float> verts, norms, colours;
    verts.reserve(std::size_t(sectors + 1) * 6);
    norms.reserve(std::size_t(sectors + 1) * 6);
    colours.reserve(std::size_t(sectors + 1) * 6);
    if (surface) {
        glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
    }
    for (int i = 0; i < rings; ++i) {
        verts.clear();
        norms.clear();
        colours.clear();
        for (int j = 0; j <= sectors; ++j) {
            const double phi = 2.0 * 3.14159265358979323846 * j / sectors;
            for (int k = 0; k < 2; ++k) {
                const double th = horizon * double(i + k) / rings;
                const VECTOR3 n = c * std::cos(th) + (e1 * std::cos(phi) + e2 * std::sin(phi)) * std::sin(th);
                const VECTOR3 p = toCentre + n * radius;
                verts.insert(verts.end(), {float(p.x), float(p.y), float(p.z)});
                norms.insert(norms.end(), {float(n.x), float(n.y), float(n.z)});
                if (surface) {
                    float rgb[3];
                    surfaceColour(surface->body, tmul(surface->rot, n), rgb);
                    colours.insert(colours.end(), {rgb[0], rgb[1], rgb[2]});
                }
            }
        }
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, verts.data());
        glNormalPointer(GL_FLOAT, 0, norms.data());
        if (surface) {
            glEnableClientState(GL_COLOR_ARRAY);
            glColorPointer(3, GL_FLOAT, 0, colours.data());
        }
        glDrawArrays(GL_TRIANGLE_STRIP, 0, GLsizei(verts.size() / 3));
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    glDisable(GL_COLOR_MATERIAL);
}

void bodyColour(const std::string& name, float rgb[3])
{
    float r = 0.5f, g = 0.5f, b = 0.5f;
    std::string n;
    for (char ch : name)
        n += char(std::tolower(static_cast<unsigned char>(ch)));
    if (n == "earth")
        r = 0.16f, g = 0.32f, b = 0.62f;
    else if (n == "moon")
        r = 0.55f, g = 0.54f, b = 0.52f;
    else if (n == "mars")
        r = 0.72f, g = 0.38f, b = 0.22f;
    rgb[0] = r;
    rgb[1] = g;
    rgb[2] = b;
}

void capDepthRange(
    const EyeFrame& eye, const VECTOR3& centre, double radius, double margin, double& zNear, double& zFar)
{
    const double d = length(eye.origin - centre);
    const double alt = std::max(1.0, d - radius);
    const double horizonDist = std::sqrt(std::max(0.0, d * d - radius * radius));
    zNear = std::max(0.5, 0.5 * (alt - margin));
    zFar = std::max(zNear * 10.0, horizonDist + 2.0 * margin + radius * 0.1);
}

} // namespace skysim

#include "scenerender.h"

#include "blockgroup.h"
#include "blocklevel.h"
#include "font.h"
#include "planet.h"
#include "sunlight.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace skysim {

namespace {

const double pi = 3.14159265358979323846;

// Light from over the camera's shoulder for the wireframe: it shows the blocks around the vessel,
// which should be lit wherever the Sun stands. Set with the identity modelview, so the direction is
// in eye coordinates.
void setShoulderLight(float ambient)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    setDirectionalLight(_V(-0.35, 0.55, 0.75), ambient, 0.2f); // 0.2: GL's default global ambient
}

void planetMaterial(const std::string& body, float dim)
{
    float c[3];
    bodyColour(body, c);
    const GLfloat diffuse[4] = {c[0] * dim, c[1] * dim, c[2] * dim, 1};
    const GLfloat ambient[4] = {c[0] * dim, c[1] * dim, c[2] * dim, 1};
    const GLfloat black[4] = {0, 0, 0, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, black);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 0);
}

bool samePlace(const VECTOR3& a, const VECTOR3& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// Whether the host could draw the group without reading outside its arrays.
bool drawable(const MESHGROUP& g)
{
    if (!g.Vtx || !g.Idx || g.nVtx == 0 || g.nIdx < 3)
        return false;
    for (DWORD i = 0; i < g.nIdx; ++i) {
        if (g.Idx[i] >= g.nVtx)
            return false;
    }
    return true;
}

VECTOR3 vertexGlobal(const SceneGroup& sg, const NTVERTEX& v)
{
    return placedVertex(sg.pos, sg.rot, v);
}

// The built-in graphics draw vessel meshes within the camera's frustum, whose far plane stands this far
// ahead of the camera; the planets have passes of their own. From high up the shell is cut off there,
// short of the limb.
const double hostFarPlane = 5e6; // [m]

// A near clip plane for the vessels' pass that cuts nothing drawn: no point of a triangle lies nearer the
// camera than its nearest vertex less its longest edge. Set as far out as that allows, it keeps the
// far plane where the host has it: a projection from a 1 m near plane places a far plane 5e6 m out only
// to a quarter or so in single precision, while from high up, where the far plane cuts the shell, the
// nearest triangle lies a thousand kilometres or more away.
double nearestDrawnBound(const EyeFrame& eye, const SceneView& view)
{
    double nearest = hostFarPlane;
    for (const SceneGroup& sg : view.groups) {
        const MESHGROUP& g = sg.group;
        if (!drawable(g))
            continue;
        double closest = hostFarPlane * 10.0, longest = 0;
        for (DWORD t = 0; t + 2 < g.nIdx; t += 3) {
            const VECTOR3 a = vertexGlobal(sg, g.Vtx[g.Idx[t]]), b = vertexGlobal(sg, g.Vtx[g.Idx[t + 1]]),
                          c = vertexGlobal(sg, g.Vtx[g.Idx[t + 2]]);
            longest = std::max({longest, length(b - a), length(c - b), length(a - c)});
            closest = std::min({closest, length(a - eye.origin), length(b - eye.origin), length(c - eye.origin)});
        }
        nearest = std::min(nearest, closest - longest);
    }
    return std::max(1.0, 0.9 * nearest);
}

std::vector<std::uint8_t> finish(Offscreen& gl)
{
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    return gl.readRGB();
}

// A group's material: the diffuse alpha is the opacity, the ambient colour answers the ambient light.
// A specular power of 0 is taken as no highlight: raised to the power 0, GL's specular term would be
// the full specular colour at every lit point, a flat white wash rather than a highlight.
void applyMaterial(const MATERIAL& m)
{
    const GLfloat black[4] = {0, 0, 0, m.specular.a};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, &m.diffuse.r);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, &m.ambient.r);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, m.power > 0 ? &m.specular.r : black);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, &m.emissive.r);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(m.power, 0.0f, 128.0f));
}

} // namespace

std::vector<std::uint8_t> renderScene(Offscreen& gl, const SceneView& view, SceneStats* stats)
{
    SceneStats st;
    const double aspect = double(gl.width()) / double(gl.height());
    const EyeFrame eye = makeEyeFrame(view.camPos, view.camDir, view.camUp);
    const VECTOR3 sun = sunDirection(view);

    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);

    // The body first, as its own pass, with the stand-in's own ground.
    double zNear = 1, zFar = 10;
    capDepthRange(eye, view.bodyPos, view.bodyRadius, 0.0, zNear, zFar);
    loadPerspective(view.aperture, aspect, zNear, zFar);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    setSunLight(eye, sun, ambientLight);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    planetMaterial(view.bodyName, 1.0f);
    PlanetSurface ground;
    ground.body = view.bodyName;
    ground.rot = view.bodyRot;
    drawPlanetCap(eye, view.bodyPos, view.bodyRadius, &ground);

    // Then the vessels' pass on a cleared depth buffer, in the order the view lists them (the order
    // their visuals were created), each group as it stands. As the host does, every vessel is lit
    // by one Sun colour taken at its origin, through its normals, and every group writes depth,
    // translucent or not: a vessel drawn later that lies behind a drawn group is hidden by it. Only
    // the clockwise side of a triangle is drawn, as the host draws meshes (the pictures are not
    // mirrored, so clockwise on screen is clockwise in GL's window too).
    glClear(GL_DEPTH_BUFFER_BIT);
    loadPerspective(view.aperture, aspect, nearestDrawnBound(eye, view), hostFarPlane);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_TRUE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    const VECTOR3 sunPos = sunPosition(view);
    const LightingBody lighting = lightingBody(view);
    const VECTOR3* litVessel = nullptr;
    for (const SceneGroup& sg : view.groups) {
        const MESHGROUP& g = sg.group;
        if (!drawable(g)) {
            ++st.groupsSkipped;
            continue;
        }
        if (!litVessel || !samePlace(*litVessel, sg.vesselPos)) {
            setVesselLight(eye, sun, vesselLight(sg.vesselPos, sunPos, lighting), ambientLight);
            litVessel = &sg.vesselPos;
        }
        applyMaterial(sg.material);
        double mv[16];
        modelView(eye, sg.pos, sg.rot, mv);
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixd(mv);
        glVertexPointer(3, GL_FLOAT, sizeof(NTVERTEX), &g.Vtx[0].x);
        glNormalPointer(GL_FLOAT, sizeof(NTVERTEX), &g.Vtx[0].nx);
        const GLsizei n = GLsizei(g.nIdx - g.nIdx % 3);
        glDrawElements(GL_TRIANGLES, n, GL_UNSIGNED_SHORT, g.Idx);
        ++st.groupsDrawn;
        st.triangles += n / 3;
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_CULL_FACE);
    if (stats)
        *stats = st;
    return finish(gl);
}

std::vector<int> blockLevels(const SceneView& view, int* underObserver)
{
    std::vector<int> levels;
    int under = -1;
    double best = -2;
    const VECTOR3 obsDir = unit(view.observerPos - view.bodyPos);
    for (std::size_t gi = 0; gi < view.groups.size(); ++gi) {
        const SceneGroup& sg = view.groups[gi];
        if (!isBlock(sg.group)) {
            levels.push_back(0);
            continue;
        }
        double pos[blockVertexCount][3];
        for (DWORD i = 0; i < blockVertexCount; ++i) {
            const VECTOR3 local = tmul(view.bodyRot, vertexGlobal(sg, sg.group.Vtx[i]) - view.bodyPos);
            pos[i][0] = local.x;
            pos[i][1] = local.y;
            pos[i][2] = local.z;
        }
        levels.push_back(blockLevel(pos));
        // The block under the observer: its centre vertex is the nearest in angle. Blocks are small
        // squares, so the nearest centre lies in the block that holds the point except at corners.
        const VECTOR3 c = unit(vertexGlobal(sg, sg.group.Vtx[blockCentreVertex]) - view.bodyPos);
        const double cosang = dotp(c, obsDir);
        if (cosang > best) {
            best = cosang;
            under = int(gi);
        }
    }
    if (underObserver)
        *underObserver = under;
    return levels;
}

namespace {

// Where the wireframe is seen from: high enough above the observer to see the hemisphere around it,
// the finest blocks under the observer and their coarser neighbours; looking straight down, north up.
struct WireCamera {
    EyeFrame eye;
    VECTOR3 up; // the observer's vertical
    double height = 0; // above the ground [m]
};

WireCamera wireCamera(const SceneView& view, double r)
{
    WireCamera c;
    c.up = unit(view.observerPos - view.bodyPos);
    const double alt = std::max(0.0, length(view.observerPos - view.bodyPos) - r);
    c.height = std::min(3.0 * r, 3.0 * alt + 1.2 * r);
    const VECTOR3 camPos = view.bodyPos + c.up * (r + c.height);
    const VECTOR3 north = mul(view.bodyRot, _V(0, 1, 0));
    c.eye = makeEyeFrame(camPos, c.up * -1.0, north);
    return c;
}

// The outline of one block's 9 x 9 grid, clockwise from its first vertex.
void outlineBlock(const EyeFrame& eye, const SceneGroup& sg)
{
    glBegin(GL_LINE_LOOP);
    auto put = [&](int i) {
        const VECTOR3 p = vertexGlobal(sg, sg.group.Vtx[i]) - eye.origin;
        glVertex3d(p.x, p.y, p.z);
    };
    for (int i = 0; i < 9; ++i)
        put(i);
    for (int i = 1; i < 9; ++i)
        put(9 * i + 8);
    for (int i = 7; i >= 0; --i)
        put(72 + i);
    for (int i = 7; i >= 1; --i)
        put(9 * i);
    glEnd();
}

// Every block on the near side of the body, outlined in its level's colour whatever the depth;
// counts blocks and levels into st.
void outlineBlocks(const EyeFrame& eye, const SceneView& view, double r, WireStats& st)
{
    int under = -1;
    const std::vector<int> levels = blockLevels(view, &under);
    glLineWidth(1.0f);
    for (std::size_t gi = 0; gi < view.groups.size(); ++gi) {
        const SceneGroup& sg = view.groups[gi];
        if (!isBlock(sg.group))
            continue;
        ++st.blocks;
        const int level = levels[gi];
        const VECTOR3 centre = vertexGlobal(sg, sg.group.Vtx[blockCentreVertex]) - view.bodyPos;
        if (dotp(centre, eye.origin - view.bodyPos) < r * r * 0.95)
            continue;
        if (level <= 0)
            ++st.unknownLevel;
        else
            ++st.levelCount[std::min(level, 40)];
        float rgb[3];
        levelColour(level, rgb);
        glColor3fv(rgb);
        outlineBlock(eye, sg);
    }
    if (under >= 0)
        st.levelUnderObserver = levels[std::size_t(under)];
}

// A white cross on the ground under the observer.
void markObserver(const WireCamera& c, const SceneView& view, double r)
{
    const VECTOR3 mark = view.bodyPos + c.up * r - c.eye.origin;
    const double s = c.height * 0.01;
    const VECTOR3 a = c.eye.right * s, b = c.eye.up * s;
    glColor3f(1, 1, 1);
    glLineWidth(2.0f);
    glBegin(GL_LINES);
    glVertex3d(mark.x - a.x, mark.y - a.y, mark.z - a.z);
    glVertex3d(mark.x + a.x, mark.y + a.y, mark.z + a.z);
    glVertex3d(mark.x - b.x, mark.y - b.y, mark.z - b.z);
    glVertex3d(mark.x + b.x, mark.y + b.y, mark.z + b.z);
    glEnd();
    glLineWidth(1.0f);
}

// The legend: the levels present with their counts, and the level under the vessel.
void levelLegend(Offscreen& gl, const WireStats& st)
{
    beginPixelView(gl.width(), gl.height());
    int y = 8;
    glColor3f(0.9f, 0.9f, 0.9f);
    drawText(8, y, 2, "BLOCK LEVELS");
    y += 20;
    for (int level = 1; level <= 40; ++level) {
        if (!st.levelCount[level])
            continue;
        float rgb[3];
        levelColour(level, rgb);
        glColor3fv(rgb);
        glBegin(GL_QUADS);
        glVertex2d(8, y);
        glVertex2d(20, y);
        glVertex2d(20, y + 12);
        glVertex2d(8, y + 12);
        glEnd();
        glColor3f(0.9f, 0.9f, 0.9f);
        drawText(26, y, 2, std::to_string(level) + ": " + std::to_string(st.levelCount[level]));
        y += 18;
    }
    if (st.levelUnderObserver > 0) {
        glColor3f(1, 1, 1);
        drawText(8, gl.height() - 22, 2, "+ UNDER THE VESSEL: LEVEL " + std::to_string(st.levelUnderObserver));
    }
}

} // namespace

std::vector<std::uint8_t> renderWireframe(Offscreen& gl, const SceneView& view, WireStats* stats)
{
    WireStats st;
    const double aspect = double(gl.width()) / double(gl.height());
    const double r = view.bodyRadius > 0 ? view.bodyRadius : 1.0;
    const WireCamera cam = wireCamera(view, r);
    const double aperture = 30.0 * pi / 180.0;

    // The body, dimly lit from over the camera's shoulder.
    glClearColor(0.02f, 0.02f, 0.04f, 1);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    double zNear = 1, zFar = 10;
    capDepthRange(cam.eye, view.bodyPos, r, 20000.0, zNear, zFar);
    loadPerspective(aperture, aspect, zNear, zFar);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    setShoulderLight(0.2f);
    planetMaterial(view.bodyName, 0.45f);
    drawPlanetCap(cam.eye, view.bodyPos, r);

    // The blocks over it, unlit and undimmed by the ground; those beyond the horizon are left out.
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    double mv[16];
    viewRotation(cam.eye, mv);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(mv);
    outlineBlocks(cam.eye, view, r, st);
    markObserver(cam, view, r);
    levelLegend(gl, st);
    if (stats)
        *stats = st;
    return finish(gl);
}

} // namespace skysim

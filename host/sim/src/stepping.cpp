#include "stepping.h"

#include "addontime.h"
#include "camera.h"
#include "lifecycle.h"
#include "mesh.h"

#include <algorithm>
#include <cmath>

namespace hostsim {

void setWarp(double warp)
{
    World& w = world();
    if (!(warp == warp))
        return; // NaN
    const double old = w.warp;
    w.warp = std::max(1.0, std::min(100000.0, warp));
    if (w.warp != old)
        for (const Plugin& p : w.plugins)
            if (p.timeAccChanged) {
                AddonScope addon;
                p.timeAccChanged(w.warp, old);
            }
}

void runStep()
{
    World& w = world();
    if (w.inStep)
        return; // a step never nests
    w.inStep = true;
    const std::int64_t addonBefore = addonNanoseconds();

    // 1. Advance time: the step about to be taken.
    w.simdt = w.realStep * w.warp;
    const double t0 = w.simt, dt = w.simdt, mjd0 = simMJDNow();

    // 2. Plug-ins first, then every vessel (vessels created meanwhile included).
    for (std::size_t i = 0; i < w.plugins.size(); ++i)
        if (w.plugins[i].preStep) {
            AddonScope addon;
            w.plugins[i].preStep(t0, dt, mjd0);
        }
    for (std::size_t i = 0; i < w.vessels.size(); ++i)
        if (VESSEL2* cb = w.vessels[i]->callbacks()) {
            AddonScope addon(w.vessels[i]->fromModule);
            cb->clbkPreStep(t0, dt, mjd0);
        }

    // 3. Move: landed vessels follow their body through the clock, free ones integrate.
    w.simt = t0 + dt;
    for (Vessel* v : w.vessels) {
        v->integrate(dt);
        for (int k = 0; k < 6; ++k)
            v->ctrlLevel[k] = v->ctrlTarget[k];
    }

    // 4. Post-step: vessels first, then plug-ins, with the new time.
    const double mjd1 = simMJDNow();
    for (std::size_t i = 0; i < w.vessels.size(); ++i)
        if (VESSEL2* cb = w.vessels[i]->callbacks()) {
            AddonScope addon(w.vessels[i]->fromModule);
            cb->clbkPostStep(w.simt, dt, mjd1);
        }
    for (std::size_t i = 0; i < w.plugins.size(); ++i)
        if (w.plugins[i].postStep) {
            AddonScope addon;
            w.plugins[i].postStep(w.simt, dt, mjd1);
        }

    // 5. Deletions requested during the step take effect now.
    flushDeletions();

    // 6. Draw.
    drawingPhase();
    flushDeletions();

    ++w.steps;
    w.stepAddonUs = double(addonNanoseconds() - addonBefore) / 1000.0;
    w.inStep = false;
}

bool inVisualRange(const Vessel& v)
{
    const World& w = world();
    const double d = dist(cameraState().pos, v.globalPos());
    if (d <= v.size)
        return true;
    // Apparent radius as a fraction of the viewport's half height.
    const double apparent = v.size / (d * std::tan(w.aperture));
    return apparent >= v.visLimit;
}

void drawingPhase()
{
    World& w = world();
    for (std::size_t i = 0; i < w.vessels.size(); ++i) {
        Vessel& v = *w.vessels[i];
        if (v.pendingDelete)
            continue;
        const bool visible = inVisualRange(v);
        if (visible && !v.visual && !v.suppressVisual)
            createVisualFor(v);
        else if (!visible && v.visual)
            destroyVisualOf(v);
    }
    for (Vessel* v : w.vessels)
        drawVisual(*v);
}

bool meshVisible(const Vessel& v, WORD mode)
{
    const World& w = world();
    const bool cockpitOfThis = w.camMode == CamMode::Cockpit && w.focus == &v;
    return cockpitOfThis ? (mode & (MESHVIS_COCKPIT | MESHVIS_VC)) != 0 : (mode & MESHVIS_EXTERNAL) != 0;
}

namespace {

void drawGroup(const Mesh& mesh, const MESHGROUP& g, DrawStats& d, bool& firstAlpha)
{
    if ((g.UsrFlag & 0x2) || g.nIdx == 0 || g.nVtx == 0)
        return;
    if (!g.Vtx || !g.Idx) {
        ++d.nullArrays;
        return;
    }
    ++d.groups;
    if (!(g.UsrFlag & 0x1))
        ++d.shadowGroups; // no "no shadow" flag: projected onto the ground near it
    // Read every index and the vertices it names, as a renderer would.
    for (DWORD i = 0; i + 2 < g.nIdx; i += 3) {
        bool ok = true;
        for (DWORD k = 0; k < 3; ++k) {
            const WORD ix = g.Idx[i + k];
            if (ix >= g.nVtx) {
                ++d.badIndices;
                ok = false;
                continue;
            }
            const NTVERTEX& p = g.Vtx[ix];
            const double r = std::sqrt(double(p.x) * p.x + double(p.y) * p.y + double(p.z) * p.z);
            d.extent = std::max(d.extent, r);
        }
        if (ok)
            ++d.triangles;
    }
    const float a = groupMaterial(mesh, g).diffuse.a;
    if (firstAlpha) {
        d.alphaMin = d.alphaMax = a;
        firstAlpha = false;
    } else {
        d.alphaMin = std::min(d.alphaMin, a);
        d.alphaMax = std::max(d.alphaMax, a);
    }
}

} // namespace

void drawVisual(Vessel& v)
{
    v.draw = DrawStats {};
    if (!v.visual)
        return;
    bool firstAlpha = true;
    for (std::size_t m = 0; m < v.visual->meshes.size() && m < v.meshes.size(); ++m) {
        const Mesh* mesh = v.visual->meshes[m].get();
        if (!mesh || !meshVisible(v, v.meshes[m].visMode))
            continue;
        ++v.draw.meshes;
        v.draw.modulateAlpha = mesh->modulateMatAlpha != 0;
        for (const MESHGROUP& g : mesh->groups)
            drawGroup(*mesh, g, v.draw, firstAlpha);
    }
}

} // namespace hostsim

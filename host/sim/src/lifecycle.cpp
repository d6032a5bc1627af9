#include "lifecycle.h"

#include "addontime.h"
#include "classfile.h"
#include "generation.h"
#include "geometry.h"
#include "mesh.h"
#include "modules.h"
#include "stepping.h"

#include <algorithm>
#include <fstream>

namespace hostsim {
namespace {

// The core's own interface object for vessels without a module.
class CoreVessel final : public VESSEL2 {
public:
    using VESSEL2::VESSEL2;
};

typedef VESSEL* (*OvcInitFn)(OBJHANDLE, int);
typedef void (*OvcExitFn)(VESSEL*);

void bindModule(Vessel& v, const std::string& moduleName)
{
    v.module = acquireModule("modules\\" + moduleName + ".dll");
    if (!v.module)
        return;
    OvcInitFn init = moduleProc<OvcInitFn>(v.module, "ovcInit");
    v.ovcExit = moduleProc<OvcExitFn>(v.module, "ovcExit");
    if (init) {
        AddonScope addon;
        v.iface = init(&v, 1);
    }
    v.fromModule = v.iface != nullptr;
}

// Generic caps from the class file; they override what clbkSetClassCaps set.
void readGenericCaps(Vessel& v, std::istream& cfg)
{
    bool b;
    double d;
    std::string s;
    VECTOR3 p;
    if (scanBool(cfg, "EnableFocus", b))
        v.enableFocus = b;
    if (scanDouble(cfg, "Size", d) && d > 0)
        v.size = d;
    if (scanDouble(cfg, "ClipRadius", d))
        v.clipRadius = d;
    if (scanDouble(cfg, "Mass", d) && d > 0)
        v.emptyMass = d;
    if (scanVector(cfg, "CameraOffset", p))
        v.cameraOffset = p;
    if (scanString(cfg, "TouchdownPoints", s)) {
        double c[9];
        int n = 0;
        const char* q = s.c_str();
        for (; n < 9; ++n) {
            char* end = nullptr;
            c[n] = std::strtod(q, &end);
            if (end == q)
                break;
            q = end;
        }
        if (n == 9) {
            v.touchdown.assign(3, TOUCHDOWNVTX {});
            for (int i = 0; i < 3; ++i) {
                v.touchdown[i].pos = _V(c[3 * i], c[3 * i + 1], c[3 * i + 2]);
                v.touchdown[i].stiffness = v.emptyMass == 1000 ? 1e6 : v.emptyMass * 20;
                v.touchdown[i].damping = 0.1 * v.touchdown[i].stiffness;
            }
        }
    }
    if (scanString(cfg, "MeshName", s) && !s.empty()) {
        if (Mesh* m = loadGlobalMesh(s)) {
            MeshSlot slot;
            slot.tmpl = m;
            v.meshes.push_back(slot);
        }
    }
}

void defaultTouchdown(Vessel& v)
{
    const VECTOR3 pts[3] = {_V(0, -1, 1), _V(-1, -1, -1), _V(1, -1, -1)};
    v.touchdown.assign(3, TOUCHDOWNVTX {});
    for (int i = 0; i < 3; ++i) {
        v.touchdown[i].pos = pts[i];
        v.touchdown[i].stiffness = 1e6;
        v.touchdown[i].damping = 1e5;
        v.touchdown[i].mu = 3;
        v.touchdown[i].mu_lng = 0.2;
    }
}

} // namespace

void applyStatus2(Vessel& v, const VESSELSTATUS2& st)
{
    Body* b = findBody(st.rbody);
    if (!b)
        b = v.surfaceRef();
    if (st.status == 1 && b) {
        v.landedRecords.push_back(st);
        // "Extended information": arot the rotation against the planet frame, vrot.x the height over the
        // ground; surf_hdg is only kept.
        if (generation().extendedLandedRecords && st.arot.x <= 4)
            v.setLandedAt(b, st.surf_lng, st.surf_lat, st.surf_hdg, eulerToMatrix(st.arot), st.vrot.x);
        else
            v.setLanded(b, st.surf_lng, st.surf_lat, st.surf_hdg);
    } else if (st.status == 0) {
        const VECTOR3 origin = b ? b->pos : _V(0, 0, 0);
        const VECTOR3 ovel = b ? b->vel : _V(0, 0, 0);
        v.setFree(origin + st.rpos, ovel + st.rvel, eulerToMatrix(st.arot), st.vrot);
    }
}

void applyStatus1(Vessel& v, const VESSELSTATUS& st)
{
    Body* b = findBody(st.rbody);
    if (!b)
        b = v.surfaceRef();
    if (st.status == 1 && b) {
        v.setLanded(b, st.vdata[0].x, st.vdata[0].y, st.vdata[0].z);
    } else {
        const VECTOR3 origin = b ? b->pos : _V(0, 0, 0);
        const VECTOR3 ovel = b ? b->vel : _V(0, 0, 0);
        v.setFree(origin + st.rpos, ovel + st.rvel, eulerToMatrix(st.arot), st.vrot);
    }
}

namespace {

// A new vessel up to its class caps: class file, module (ovcInit), clbkSetClassCaps, the class file's
// generic caps. Null when the class file is missing.
Vessel* buildVessel(const char* name, const char* className, bool plainClass)
{
    if (!name)
        return nullptr;
    World& w = world();
    const std::string cls = className ? className : "";
    std::string cfgPath;
    if (!cls.empty() && !plainClass) {
        cfgPath = findClassFile(cls);
        if (cfgPath.empty()) {
            reportError("vessel class file for " + cls + " not found (vessel " + name + " not created)");
            return nullptr;
        }
    }
    auto* v = new Vessel;
    v->name = name;
    v->className = cls;
    v->hasClassName = !cls.empty();
    defaultTouchdown(*v);
    w.vessels.push_back(v);

    std::ifstream cfg;
    if (!cfgPath.empty()) {
        cfg.open(cfgPath);
        std::string moduleName;
        if (scanString(cfg, "Module", moduleName) && !moduleName.empty())
            bindModule(*v, moduleName);
    }
    if (!v->iface)
        v->iface = new CoreVessel(v, 1);
    if (VESSEL2* cb = v->callbacks()) {
        AddonScope addon(v->fromModule);
        cb->clbkSetClassCaps(cfg.is_open() ? static_cast<FILEHANDLE>(&cfg) : nullptr);
    }
    if (cfg.is_open())
        readGenericCaps(*v, cfg);
    return v;
}

void postCreation(Vessel& v)
{
    if (VESSEL2* cb = v.callbacks()) {
        AddonScope addon(v.fromModule);
        cb->clbkPostCreation();
    }
}

} // namespace

Vessel* createVessel(const char* name, const char* className, bool plainClass, const VESSELSTATUS2* st2,
    const VESSELSTATUS* st1, bool visualInside)
{
    Vessel* v = buildVessel(name, className, plainClass);
    if (!v)
        return nullptr;
    if (st2) {
        if (VESSEL2* cb = v->callbacks()) {
            AddonScope addon(v->fromModule);
            cb->clbkSetStateEx(st2);
        } else
            applyStatus2(*v, *st2);
    } else if (st1) {
        applyStatus1(*v, *st1);
    }
    // Inserting the vessel into the scene makes its visual at once where the host does that.
    if (visualInside && generation().visualInsideCreate && liveVessel(v) && !v->pendingDelete && inVisualRange(*v))
        createVisualFor(*v);
    if (!liveVessel(v))
        return nullptr;
    postCreation(*v);
    World& w = world();
    if (!w.focus && v->enableFocus && !v->pendingDelete)
        changeFocus(v);
    return v;
}

Vessel* createScenarioVessel(const char* name, const char* className, std::istream& lines)
{
    Vessel* v = buildVessel(name, className, false);
    if (!v)
        return nullptr;
    VESSELSTATUS2 st {};
    st.version = 2;
    if (VESSEL2* cb = v->callbacks()) {
        AddonScope addon(v->fromModule);
        cb->clbkLoadStateEx(static_cast<FILEHANDLE>(&lines), &st);
    } else {
        char* line = nullptr;
        while (oapiReadScenario_nextline(&lines, line))
            v->iface->ParseScenarioLineEx(line, &st);
    }
    if (!liveVessel(v))
        return nullptr; // it deleted itself while reading its state
    // The core places the vessel from the record itself, by its own rules.
    applyStatus2(*v, st);
    postCreation(*v);
    return v;
}

bool changeFocus(Vessel* to)
{
    World& w = world();
    if (!to || !to->enableFocus || to->pendingDelete)
        return false;
    Vessel* from = w.focus;
    if (from == to)
        return true;
    w.focus = to;
    if (from)
        if (VESSEL2* cb = from->callbacks()) {
            AddonScope addon(from->fromModule);
            cb->clbkFocusChanged(false, to, from);
        }
    if (VESSEL2* cb = to->callbacks()) {
        AddonScope addon(to->fromModule);
        cb->clbkFocusChanged(true, to, from);
    }
    for (const Plugin& p : w.plugins)
        if (p.focusChanged) {
            AddonScope addon;
            p.focusChanged(to, from);
        }
    return true;
}

void requestDelete(Vessel* v, OBJHANDLE alternativeFocus)
{
    if (!v)
        return;
    World& w = world();
    if (w.focus == v) {
        Vessel* alt = findVessel(alternativeFocus);
        if (!alt || alt == v || !changeFocus(alt)) {
            for (Vessel* other : w.vessels)
                if (other != v && changeFocus(other))
                    break;
        }
        if (w.focus == v)
            w.focus = nullptr;
    }
    v->pendingDelete = true;
    if (!w.inStep)
        deleteVesselNow(v);
}

void flushDeletions()
{
    World& w = world();
    for (;;) {
        auto it = std::find_if(w.vessels.begin(), w.vessels.end(), [](Vessel* v) { return v->pendingDelete; });
        if (it == w.vessels.end())
            return;
        deleteVesselNow(*it);
    }
}

void deleteVesselNow(Vessel* v)
{
    World& w = world();
    if (!liveVessel(v))
        return;
    if (v->visual)
        destroyVisualOf(*v);
    for (const Plugin& p : w.plugins)
        if (p.deleteVessel) {
            AddonScope addon;
            p.deleteVessel(v);
        }
    if (w.focus == v)
        w.focus = nullptr;
    if (v->fromModule) {
        if (v->ovcExit) {
            AddonScope addon;
            v->ovcExit(v->iface);
        } else
            reportError("vessel module of " + v->name + " has no ovcExit; its interface object is left alone");
    } else {
        delete static_cast<CoreVessel*>(v->callbacks());
    }
    v->iface = nullptr;
    w.vessels.erase(std::remove(w.vessels.begin(), w.vessels.end(), v), w.vessels.end());
    if (v->module)
        releaseModule(v->module);
    delete v;
}

void createVisualFor(Vessel& v)
{
    if (v.visual)
        return;
    v.visual = std::make_unique<Visual>();
    v.visual->vessel = &v;
    for (const MeshSlot& slot : v.meshes)
        v.visual->meshes.push_back(slot.tmpl ? copyMesh(*slot.tmpl) : nullptr);
    if (VESSEL2* cb = v.callbacks()) {
        AddonScope addon(v.fromModule);
        cb->clbkVisualCreated(v.visual.get(), 1);
    }
}

void destroyVisualOf(Vessel& v)
{
    if (!v.visual)
        return;
    if (VESSEL2* cb = v.callbacks()) {
        AddonScope addon(v.fromModule);
        cb->clbkVisualDestroyed(v.visual.get(), 1);
    }
    // Only now, as the host, free each mesh instance through what its groups point at.
    for (std::size_t m = 0; m < v.visual->meshes.size(); ++m)
        freeInstance(v.visual->meshes[m], v.name, m);
    v.visual.reset();
    v.draw = DrawStats {};
}

void destroyAllVisuals()
{
    // A callback may delete vessels: walk a copy and skip those already gone.
    const std::vector<Vessel*> all = world().vessels;
    for (Vessel* v : all)
        if (liveVessel(v))
            destroyVisualOf(*v);
}

} // namespace hostsim

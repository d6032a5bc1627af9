// hostsim API: visuals, meshes, drawing and observation.
#include "hostsim/hostsim.h"

#include "lifecycle.h"
#include "mesh.h"
#include "meshfile.h"
#include "stepping.h"

#include <algorithm>
#include <cstring>

namespace hostsim {

VISHANDLE visualOf(OBJHANDLE vessel)
{
    Vessel* v = findVessel(vessel);
    return v ? v->visual.get() : nullptr;
}

void destroyVisual(OBJHANDLE vessel)
{
    if (Vessel* v = findVessel(vessel))
        destroyVisualOf(*v);
}

void createVisual(OBJHANDLE vessel)
{
    if (Vessel* v = findVessel(vessel)) {
        createVisualFor(*v);
        drawVisual(*v);
    }
}

void suppressVisual(OBJHANDLE vessel, bool suppress)
{
    if (Vessel* v = findVessel(vessel))
        v->suppressVisual = suppress;
}

MESHHANDLE visualMesh(OBJHANDLE vessel, unsigned idx)
{
    Vessel* v = findVessel(vessel);
    if (!v || !v->visual || idx >= v->visual->meshes.size())
        return nullptr;
    return v->visual->meshes[idx].get();
}

MESHHANDLE meshTemplate(OBJHANDLE vessel, unsigned idx)
{
    Vessel* v = findVessel(vessel);
    return v && idx < v->meshes.size() ? v->meshes[idx].tmpl : nullptr;
}

MESHHANDLE loadMesh(const std::string& name)
{
    return loadGlobalMesh(name);
}

MESHHANDLE parseMeshFile(const std::string& path)
{
    std::string error;
    std::unique_ptr<Mesh> m = parseMeshPath(path, error);
    if (!m) {
        reportError(error);
        return nullptr;
    }
    m->name = path;
    world().looseMeshes.push_back(std::move(m));
    return world().looseMeshes.back().get();
}

void freeMesh(MESHHANDLE mesh)
{
    freeLooseMesh(findMesh(mesh));
}

unsigned groupCount(MESHHANDLE mesh)
{
    Mesh* m = findMesh(mesh);
    return m ? unsigned(m->groups.size()) : 0;
}

const MESHGROUP* group(MESHHANDLE mesh, unsigned idx)
{
    Mesh* m = findMesh(mesh);
    return m && idx < m->groups.size() ? &m->groups[idx] : nullptr;
}

unsigned materialCount(MESHHANDLE mesh)
{
    Mesh* m = findMesh(mesh);
    return m ? unsigned(m->materials.size()) : 0;
}

const MATERIAL* material(MESHHANDLE mesh, unsigned idx)
{
    Mesh* m = findMesh(mesh);
    return m && idx < m->materials.size() ? &m->materials[idx] : nullptr;
}

std::vector<std::string> textureNames(MESHHANDLE mesh)
{
    std::vector<std::string> out;
    if (Mesh* m = findMesh(mesh))
        for (const auto& t : m->textures)
            out.push_back(t->file);
    return out;
}

DWORD meshProperty(MESHHANDLE mesh, DWORD property)
{
    Mesh* m = findMesh(mesh);
    return m && property == MESHPROPERTY_MODULATEMATALPHA ? m->modulateMatAlpha : 0;
}

bool groupUsesOwnArrays(MESHHANDLE mesh, unsigned idx)
{
    Mesh* m = findMesh(mesh);
    if (!m || idx >= m->groups.size())
        return false;
    return m->groups[idx].Vtx == m->origVtx[idx] && m->groups[idx].Idx == m->origIdx[idx];
}

DrawStats drawStats(OBJHANDLE vessel)
{
    const Vessel* v = findVessel(vessel);
    return v ? v->draw : DrawStats {};
}

std::vector<DrawItem> drawList()
{
    std::vector<DrawItem> out;
    std::vector<Vessel*> drawn;
    for (Vessel* v : world().vessels) {
        if (v->visual)
            drawn.push_back(v);
    }
    std::stable_sort(drawn.begin(), drawn.end(),
        [](const Vessel* a, const Vessel* b) { return a->visual->serial < b->visual->serial; });
    for (Vessel* v : drawn) {
        const VECTOR3 pos = v->globalPos();
        const MATRIX3 rot = v->rotation();
        for (std::size_t m = 0; m < v->visual->meshes.size() && m < v->meshes.size(); ++m) {
            Mesh* mesh = v->visual->meshes[m].get();
            if (!mesh || !meshVisible(*v, v->meshes[m].visMode))
                continue;
            for (std::size_t g = 0; g < mesh->groups.size(); ++g) {
                const MESHGROUP& grp = mesh->groups[g];
                if ((grp.UsrFlag & 0x2) || !grp.nIdx || !grp.nVtx || !grp.Vtx || !grp.Idx)
                    continue;
                DrawItem item;
                item.vessel = v;
                item.mesh = mesh;
                item.groupIndex = unsigned(g);
                item.group = grp;
                item.material = groupMaterial(*mesh, grp);
                item.modulateAlpha = mesh->modulateMatAlpha != 0;
                item.pos = pos + mul(rot, v->meshes[m].ofs);
                item.rot = rot;
                item.vesselPos = pos;
                out.push_back(item);
            }
        }
    }
    return out;
}

const std::vector<Message>& messages()
{
    return world().messages;
}

void clearMessages()
{
    world().messages.clear();
}

long callCount(const std::string& function)
{
    const auto& c = world().counts;
    const auto it = c.find(function);
    return it == c.end() ? 0 : it->second;
}

std::map<std::string, long> callCounts()
{
    std::map<std::string, long> out;
    for (const auto& c : world().counts)
        if (c.second)
            out.insert(c);
    return out;
}

void resetCallCounts()
{
    // Zeroed, not erased: every counting site keeps a reference to its counter.
    for (auto& c : world().counts)
        c.second = 0;
}

std::string debugString()
{
    const char* d = world().debug;
    return std::string(d, strnlen(d, sizeof world().debug));
}

std::string lastError()
{
    return world().lastError;
}

void clearLastError()
{
    world().lastError.clear();
}

const std::vector<std::string>& logLines()
{
    return world().log;
}

} // namespace hostsim

#include "mesh.h"

#include "meshfile.h"

#include <cstring>

namespace hostsim {

std::unique_ptr<Mesh> copyMesh(const Mesh& src)
{
    auto m = std::make_unique<Mesh>();
    const std::size_t n = src.groups.size();
    m->name = src.name;
    m->groups = src.groups;
    m->materials = src.materials;
    m->modulateMatAlpha = src.modulateMatAlpha;
    m->ownVtx.resize(n);
    m->ownIdx.resize(n);
    m->origVtx.assign(n, nullptr);
    m->origIdx.assign(n, nullptr);
    for (const auto& t : src.textures)
        m->textures.push_back(std::make_unique<Texture>(*t));
    for (std::size_t g = 0; g < n; ++g) {
        MESHGROUP& grp = m->groups[g];
        const MESHGROUP& from = src.groups[g];
        grp.Vtx = nullptr;
        grp.Idx = nullptr;
        if (from.Vtx && from.nVtx) {
            m->ownVtx[g].reset(new NTVERTEX[from.nVtx]);
            std::memcpy(m->ownVtx[g].get(), from.Vtx, sizeof(NTVERTEX) * from.nVtx);
            grp.Vtx = m->origVtx[g] = m->ownVtx[g].get();
        } else {
            grp.nVtx = 0;
        }
        if (from.Idx && from.nIdx) {
            m->ownIdx[g].reset(new WORD[from.nIdx]);
            std::memcpy(m->ownIdx[g].get(), from.Idx, sizeof(WORD) * from.nIdx);
            grp.Idx = m->origIdx[g] = m->ownIdx[g].get();
        } else {
            grp.nIdx = 0;
        }
    }
    return m;
}

void freeInstance(std::unique_ptr<Mesh>& instance, const std::string& vesselName, std::size_t meshIndex)
{
    if (!instance)
        return;
    const Mesh& m = *instance;
    for (std::size_t g = 0; g < m.groups.size(); ++g) {
        const MESHGROUP& grp = m.groups[g];
        const bool vtxOwn = grp.Vtx == m.origVtx[g];
        if (vtxOwn && grp.Idx == m.origIdx[g])
            continue;
        const void* stray = vtxOwn ? static_cast<const void*>(grp.Idx) : static_cast<const void*>(grp.Vtx);
        const void* own = vtxOwn ? static_cast<const void*>(m.origIdx[g]) : static_cast<const void*>(m.origVtx[g]);
        fatal("vessel " + vesselName + ": group " + std::to_string(g) + " of mesh " + std::to_string(meshIndex)
            + " of its visual points at " + (vtxOwn ? "index" : "vertex") + " array " + pointerText(stray)
            + " when the visual is destroyed, not at the one the host allocated for it (" + pointerText(own)
            + "); the host would free that memory with its own allocator (heap corruption or a crash)");
    }
    // The checks passed: the group records name exactly the arrays the instance owns.
    instance.reset();
}

Mesh* loadGlobalMesh(const std::string& name, bool* firstLoad)
{
    World& w = world();
    const std::string key = lowerCase(name);
    if (firstLoad)
        *firstLoad = false;
    auto it = w.globalMeshes.find(key);
    if (it != w.globalMeshes.end())
        return it->second.get();
    std::string path = "meshes\\" + name + ".msh";
    for (char& c : path)
        if (c == '\\')
            c = '/';
    std::string error;
    std::unique_ptr<Mesh> mesh = parseMeshPath(path, error);
    if (!mesh) {
        // A failed load is not remembered: the file may be written later.
        reportError(error);
        return nullptr;
    }
    mesh->name = name;
    mesh->global = true;
    Mesh* out = mesh.get();
    w.globalMeshes[key] = std::move(mesh);
    if (firstLoad)
        *firstLoad = true;
    return out;
}

MATERIAL defaultMaterial()
{
    MATERIAL m {};
    m.diffuse = {1, 1, 1, 1};
    m.ambient = {1, 1, 1, 1};
    m.specular = {0, 0, 0, 1};
    m.emissive = {0, 0, 0, 1};
    m.power = 0;
    return m;
}

MATERIAL groupMaterial(const Mesh& mesh, const MESHGROUP& grp)
{
    if (grp.MtrlIdx < mesh.materials.size())
        return mesh.materials[grp.MtrlIdx];
    return defaultMaterial();
}

bool freeLooseMesh(Mesh* mesh)
{
    auto& loose = world().looseMeshes;
    for (auto it = loose.begin(); it != loose.end(); ++it)
        if (it->get() == mesh) {
            loose.erase(it);
            return true;
        }
    return false;
}

} // namespace hostsim

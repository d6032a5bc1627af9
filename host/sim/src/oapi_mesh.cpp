// oapi functions on meshes: global templates, groups, materials, properties and textures. A non-null
// mesh handle that names no live mesh is fatal here (usedMesh): the host would use it unchecked. A null
// one the host checks in the group functions (logging it once) and dereferences in the others.
#include "mesh.h"

using namespace hostsim;

namespace {

// The mesh behind a handle for the group functions, which log a null handle the first time.
Mesh* checkedMesh(MESHHANDLE h, const char* function, bool& logged)
{
    if (!h && !logged) {
        logged = true;
        logLine(std::string(function) + ": Invalid mesh handle");
    }
    return usedMesh(h, function);
}

// The mesh behind a handle the host dereferences: null is fatal too.
Mesh* dereferencedMesh(MESHHANDLE h, const char* function)
{
    if (!h)
        fatal(std::string(function) + ": null mesh handle; the host would dereference it");
    return usedMesh(h, function);
}

} // namespace

OAPIFUNC const MESHHANDLE oapiLoadMeshGlobal(const char* fname)
{
    HOSTSIM_COUNT("oapiLoadMeshGlobal");
    return fname ? loadGlobalMesh(fname) : nullptr;
}

OAPIFUNC const MESHHANDLE oapiLoadMeshGlobal(const char* fname, LoadMeshClbkFunc fClbk)
{
    HOSTSIM_COUNT("oapiLoadMeshGlobal");
    if (!fname)
        return nullptr;
    bool first = false;
    Mesh* m = loadGlobalMesh(fname, &first);
    if (m && fClbk)
        fClbk(m, first);
    return m;
}

OAPIFUNC void oapiDeleteMesh(MESHHANDLE hMesh)
{
    HOSTSIM_COUNT("oapiDeleteMesh");
    Mesh* m = usedMesh(hMesh, "oapiDeleteMesh");
    if (!m)
        return;
    // Templates are shared and visual instances belong to their visual: refusing keeps every
    // other holder's pointers valid.
    if (!freeLooseMesh(m))
        reportError("oapiDeleteMesh: mesh " + m->name + " is not the caller's to delete; ignored");
}

OAPIFUNC DWORD oapiMeshGroupCount(MESHHANDLE hMesh)
{
    HOSTSIM_COUNT("oapiMeshGroupCount");
    Mesh* m = checkedMesh(hMesh, "oapiMeshGroupCount", world().nullMeshLogged[0]);
    return m ? DWORD(m->groups.size()) : 0;
}

OAPIFUNC MESHGROUP* oapiMeshGroup(MESHHANDLE hMesh, DWORD idx)
{
    HOSTSIM_COUNT("oapiMeshGroup");
    Mesh* m = checkedMesh(hMesh, "oapiMeshGroup", world().nullMeshLogged[1]);
    return m && idx < m->groups.size() ? &m->groups[idx] : nullptr;
}

OAPIFUNC MESHGROUP* oapiMeshGroup(DEVMESHHANDLE hMesh, DWORD idx)
{
    HOSTSIM_COUNT("oapiMeshGroup");
    (void)hMesh, (void)idx;
    return nullptr; // the core never hands out a graphics client's groups
}

OAPIFUNC DWORD oapiMeshMaterialCount(MESHHANDLE hMesh)
{
    HOSTSIM_COUNT("oapiMeshMaterialCount");
    Mesh* m = usedMesh(hMesh, "oapiMeshMaterialCount");
    return m ? DWORD(m->materials.size()) : 0;
}

OAPIFUNC MATERIAL* oapiMeshMaterial(MESHHANDLE hMesh, DWORD idx)
{
    HOSTSIM_COUNT("oapiMeshMaterial");
    Mesh* m = dereferencedMesh(hMesh, "oapiMeshMaterial");
    return m && idx < m->materials.size() ? &m->materials[idx] : nullptr;
}

// The stand-in has no graphics client, so no device mesh exists: these report failure.
OAPIFUNC int oapiMeshMaterial(DEVMESHHANDLE hMesh, DWORD idx, MATERIAL* mat)
{
    HOSTSIM_COUNT("oapiMeshMaterial");
    (void)hMesh, (void)idx, (void)mat;
    return 1;
}

OAPIFUNC bool oapiSetMeshProperty(MESHHANDLE hMesh, DWORD property, DWORD value)
{
    HOSTSIM_COUNT("oapiSetMeshProperty");
    Mesh* m = dereferencedMesh(hMesh, "oapiSetMeshProperty");
    if (!m || property != MESHPROPERTY_MODULATEMATALPHA)
        return false;
    m->modulateMatAlpha = value;
    return true;
}

OAPIFUNC bool oapiSetMeshProperty(DEVMESHHANDLE hMesh, DWORD property, DWORD value)
{
    HOSTSIM_COUNT("oapiSetMeshProperty");
    (void)hMesh, (void)property, (void)value;
    return false;
}

OAPIFUNC SURFHANDLE oapiGetTextureHandle(MESHHANDLE hMesh, DWORD texidx)
{
    HOSTSIM_COUNT("oapiGetTextureHandle");
    Mesh* m = usedMesh(hMesh, "oapiGetTextureHandle");
    // 1-based, as in the mesh file; texture files are not loaded, the handle names the entry.
    if (!m || texidx == 0 || texidx > m->textures.size())
        return nullptr;
    return m->textures[texidx - 1].get();
}

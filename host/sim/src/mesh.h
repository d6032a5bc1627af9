// Meshes of the stand-in: shared templates loaded from the root tree, deep copies for visuals, and
// the material the host uses for groups without one.
#pragma once

#include "world.h"

#include <memory>
#include <string>

namespace hostsim {

// Deep copy: group records as they stand, their vertex and index arrays (copied from whatever the
// source records point at now; the copy owns its arrays), materials, textures and properties.
std::unique_ptr<Mesh> copyMesh(const Mesh& src);

// Frees a visual's mesh instance as the host does, whatever its groups point at: first every group
// must still point at the vertex and index arrays copyMesh allocated for it, else the simulator
// stops (fatal), naming the vessel, the group and the pointer. `instance` is null afterwards.
void freeInstance(std::unique_ptr<Mesh>& instance, const std::string& vesselName, std::size_t meshIndex);

// Loads meshes/<name>.msh once and keeps it as a shared template (null on failure, with the error
// reported). firstLoad tells whether this call loaded it.
Mesh* loadGlobalMesh(const std::string& name, bool* firstLoad = nullptr);

// White, diffuse, opaque: what a group with MATERIAL 0 is drawn with.
MATERIAL defaultMaterial();

// The material a group is drawn with.
MATERIAL groupMaterial(const Mesh& mesh, const MESHGROUP& grp);

// Frees a mesh the world owns outside the template registry (oapiLoadMesh, parseMeshFile).
bool freeLooseMesh(Mesh* mesh);

} // namespace hostsim

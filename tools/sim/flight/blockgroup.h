// Groups of the carrier's mesh that show a block of the shell, and where their vertices lie.
#pragma once

#include <Orbitersdk.h>

namespace skysim {

// A block is a 9 x 9 grid of vertices; the 41st is its centre.
constexpr DWORD blockVertexCount = 81;
constexpr DWORD blockCentreVertex = 40;

// True for a group holding a block (every other group holds the engine's placeholder triangle).
inline bool isBlock(const MESHGROUP& g)
{
    return g.nVtx == blockVertexCount && g.Vtx;
}

// A vertex of a mesh placed at `pos` with rotation `rot` (local to global), in global coordinates.
inline VECTOR3 placedVertex(const VECTOR3& pos, const MATRIX3& rot, const NTVERTEX& v)
{
    return pos + mul(rot, _V(v.x, v.y, v.z));
}

} // namespace skysim

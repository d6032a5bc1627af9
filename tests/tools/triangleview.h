// A scene with one bright triangle 10 m in front of a camera at the origin (looking along +z, up +y),
// far from any body: the smallest picture in which a drawn group shows.
#pragma once

#include "sceneview.h"

inline skysim::SceneView triangleView(NTVERTEX* vtx, WORD* idx)
{
    skysim::SceneView v;
    v.bodyRadius = 1;
    v.bodyPos = _V(0, 0, -1e6);
    v.camDir = _V(0, 0, 1);
    skysim::SceneGroup g;
    g.group.Vtx = vtx;
    g.group.nVtx = 3;
    g.group.Idx = idx;
    g.group.nIdx = 3;
    g.material.diffuse = {1, 1, 1, 1};
    g.material.emissive = {1, 1, 1, 1}; // bright whatever the light
    g.carrier = true; // left out of the picture "without the carrier"
    v.groups.push_back(g);
    return v;
}

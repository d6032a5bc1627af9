// The engine front's state: the sphere engine record, the host's mesh groups and material as the
// plug-in last delivered them, the placeholder triangle, and the anchoring of the carrier vessel.
//
// One instance lives in static storage from load to unload (`front`); procedures take it first.
#pragma once

#include "FrameRecord.h"
#include "HostRecords.h"
#include "roam.h"

#include <cstdint>

// The front's record ("front planet"): everything of maincall's that lives from one step to the next.
struct frontpl {
    roampl engine; // the sphere engine
    HostMeshGroup* grouptab[frameGroupCount]; // the carrier mesh's groups, written every step
    HostMaterial* groupmat; // the carrier mesh's material 0
    std::uint8_t groupsknown; // grouptab and groupmat came from the plug-in
    HostVertex phvert[3]; // placeholder vertices: the tiny triangle shown by groups without a block
    std::uint16_t phidx[3]; // placeholder indices 0, 1, 2
    std::uint8_t startpend; // start pending: no engine restart has happened yet
    std::uint8_t reorient; // every block must be re-expressed this step
    double anchorcolat; // observer colatitude at the last re-anchoring [rad]
    double anchorlon; // observer longitude + pi/2 there [rad]
};

extern frontpl front;

// Mesh-group geometry of a drawn block and of the placeholder.
constexpr std::uint32_t blockgroupverts = 81;
constexpr std::uint32_t blockgroupindices = 384;
constexpr std::uint32_t placeholdercount = 3;
// Groups that may show blocks: the last group always shows the placeholder.
constexpr int drawngroupmax = frameGroupCount - 1;

// What initint sets after copying the host table: the placeholder triangle and its indices, a
// pending restart and a pending re-orientation.
void frontdefaults(frontpl* f);

// Unit end at library unload: frees the tessellation and releases the body name text, so that a
// host which drops the library keeps no orphaned blocks. Groups still pointing at blocks must not
// be drawn afterwards (they would point into the unloaded library's placeholder as well).
void frontrelease(frontpl* f);

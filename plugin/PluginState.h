// Module globals of the plug-in, shared by its two roles (plug-in module and vessel module of
// HazeCarrier): the host loads one instance and both roles see the same values. All start at zero;
// their storage is in ModuleEntryPoints.cpp, beside the entry points that use them first.
#pragma once

#include "EngineEntries.h"

#include <windows.h>

// The loaded engine library, or null.
extern HMODULE engineLib;

// The engine's maincall, resolved by name; null until binding succeeded that far.
extern MaincallEntry maincallEntry;

// 1 once the engine library is loaded, initint has run and maincall is resolved; never reset.
extern int engineBound;

// 1 once the host showed that it cannot carry the haze (it placed the carrier wrong with both
// placement records, or it gives no mesh to edit): the add-on stays inert for the rest of the process.
extern int addonRefused;

// engineBound as of the start of the latest opcPreStep, 0 once the add-on was refused; the carrier
// deletes itself while it is 0.
extern int carrierActive;

// The carrier whose visual's groups the engine writes, or null. The engine keeps only the last group
// set it was handed, so a second carrier must never drive it: that carrier's groups would go on
// pointing at blocks the engine frees. Taken by a carrier right before it hands the engine its
// groups, given back when that carrier's visual or the carrier itself goes.
class HazeCarrier;
extern HazeCarrier* engineDriver;

// The alpha flag: the engine writes it through the frame record during maincall, the carrier applies
// it to its mesh around the call (0 or 1; any other value leaves the mesh as it is).
extern int alphaModFlag;

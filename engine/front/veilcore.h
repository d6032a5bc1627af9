// The engine library's two entry points, bound by name by the plug-in (their calling convention and
// pointer types: shared/EngineEntries.h).
#pragma once

#include "EngineEntries.h"

#include <cstdint>

#if defined(_WIN32)
#define VEILEXPORT __declspec(dllexport)
#else
#define VEILEXPORT __attribute__((visibility("default")))
#endif

extern "C" {

// Takes the host service table: copies all 109 entries (reserved nulls included) before anything
// else, then sets the engine's defaults (placeholder triangle, restart pending). The table is never
// read again and may change or go away afterwards. A null table leaves every host entry null, which
// the engine then treats as a host answering zero.
VEILEXPORT void VEILCALL initint(const HostServiceTable* table);

// One simulation step: restarts the engine when the body name changes (ASCII case ignored), places
// the observer, refines the tessellation and rewrites the carrier's mesh groups, material and alpha
// flag. Returns 1 when the carrier must be re-anchored under the focus vessel, else 0 (and 0 for a
// null record). The record is read only during the call. Groups and material are written only once a
// record with groupsFetched = 1 has delivered their addresses. Call initint first.
VEILEXPORT std::int32_t VEILCALL maincall(FrameRecord* frame);
}

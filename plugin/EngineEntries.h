// The engine library's two entry points as the plug-in binds them by name.
//
// Both have C linkage; on 32-bit Windows they use __stdcall, elsewhere the platform's default.
#pragma once

#include "FrameRecord.h"
#include "HostServiceTable.h"

#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define ENGINECALL __stdcall
#else
#define ENGINECALL
#endif

// initint: takes the host service table's address once; copies it before returning.
typedef void(ENGINECALL* InitintEntry)(const HostServiceTable* table);

// maincall: one engine step on the carrier's frame record; non-zero asks for a re-anchoring.
typedef std::int32_t(ENGINECALL* MaincallEntry)(FrameRecord* frame);

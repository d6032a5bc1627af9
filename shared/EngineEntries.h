// The engine library's two entry points: their calling convention and the types of the pointers
// through which the plug-in (and every test that binds the library by name) calls them.
//
// Both have C linkage and leave the library under exactly the names "initint" and "maincall". On
// 32-bit Windows they use __stdcall (the callee removes the one stack argument); elsewhere the
// platform's default.
#pragma once

#include "FrameRecord.h"
#include "HostServiceTable.h"

#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VEILCALL __stdcall
#else
#define VEILCALL
#endif

// initint: takes the host service table's address once; copies it before returning.
typedef void(VEILCALL* InitintEntry)(const HostServiceTable* table);

// maincall: one engine step on the carrier's frame record; non-zero asks for a re-anchoring.
typedef std::int32_t(VEILCALL* MaincallEntry)(FrameRecord* frame);

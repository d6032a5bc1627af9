// A stand-in engine library for the plug-in's tests, loaded by the plug-in in place of veilcore.
//
// It exports initint and maincall as the engine does (either can be left out at build time to make
// a broken library) and a few probe entries through which a test reads what the plug-in handed over
// and steers what maincall answers. Tests reach the probe entries with dlsym on the loaded library.
#pragma once

#include "FrameRecord.h"
#include "HostServiceTable.h"

#include <cstdint>

// What one maincall saw.
struct ProbeCall {
    std::int32_t groupsFetched;
    void* body; // frame.body
    void* carrierBody; // the carrier's surface reference at call time (through the table)
    double carrierLng, carrierLat; // the carrier's position at call time (through the table)
    HostVector cameraRel;
    HostVector bodyPos;
    HostVector bodyAxisX, bodyAxisZ, bodyAxisY;
    double bodyRot[9]; // the body's rotation matrix at call time (through the table)
    char bodyName[frameBodyNameSize];
    HostMeshGroup* group0;
    HostMeshGroup* group1023;
    HostMaterial* material;
    std::int32_t* alphaModPtr;
};

const int probeMaxCalls = 64;

struct ProbeLog {
    int initCalls;
    const HostServiceTable* tableAddress; // the address initint was given
    HostServiceTable table; // its contents at the first initint
    int calls; // maincall calls (only the first probeMaxCalls are kept)
    ProbeCall call[probeMaxCalls];
    std::int32_t result; // what the next maincall returns (reset to 0 after use)
    std::int32_t alpha; // what maincall writes through alphaModPtr
};

extern "C" {
typedef ProbeLog* (*ProbeLogEntry)();
}

// What the SimProbe test module records (shared between the module and the tests).
#pragma once

#include <Orbitersdk.h>

struct ProbeState {
    int initModule = 0, exitModule = 0;
    int pluginPreSteps = 0, vesselPreSteps = 0;
    int ovcInit = 0, ovcExit = 0, setClassCaps = 0;
    int visualsCreated = 0, visualsDestroyed = 0, lastRefcount = 0;
    double lastPluginSimt = -1, lastVesselSimt = -1;
    bool visualAtPreStep = false, visualAtPostCreation = false;
    MESHHANDLE lastVisualMesh = nullptr;
    char note[256] = {0};
    // P plug-in step, V vessel step, C visual created, D visual destroyed, O post-creation
    char events[256] = {0};
    // Requests from the tests
    int deleteSelfAtStep = 0; // the vessel deletes itself in this pre-step (1-based) and later ones
    bool repointOnVisual = false; // group 0 of the visual's mesh points at the module's static arrays
    bool handBackOnDestroy = false; // ...and gets the host's arrays back in clbkVisualDestroyed
    char spinIn = 0; // busy-wait spinMicros on the steady clock in this callback (an events letter)
    int spinMicros = 0;
};

typedef ProbeState* (*ProbeStateFn)();

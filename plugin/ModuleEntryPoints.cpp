// The plug-in's entry points as the host calls them, and the storage of the module globals.
//
// One library serves the host in two roles: as a plug-in (InitModule, ExitModule, opcPreStep) and
// as the vessel module of class HazeCarrier (ovcInit, ovcExit). The SDK's own glue (library attach
// and detach, GetModuleVersion) comes with the SDK's static library. Nothing thrown leaves an entry point.
#include "Adapters.h"
#include "CarrierControl.h"
#include "EngineBinding.h"
#include "HazeCarrier.h"
#include "PluginState.h"

#include "Orbitersdk.h"

// ===================================================================================================
// Module globals (see PluginState.h)
// ===================================================================================================

HMODULE engineLib = nullptr;
MaincallEntry maincallEntry = nullptr;
int engineBound = 0;
int addonRefused = 0;
int carrierActive = 0;
int alphaModFlag = 0;
HazeCarrier* engineDriver = nullptr;

// ===================================================================================================
// Plug-in module
// ===================================================================================================

DLLCLBK void InitModule(HINSTANCE)
{
    bindEngine();
}

DLLCLBK void ExitModule(HINSTANCE)
{
    releaseEngine();
}

DLLCLBK void opcPreStep(double, double, double)
{
    try {
        updateCarrier();
    } catch (...) {
        // Out of memory while collecting carriers: try again next step rather than take the host down.
    }
}

// ===================================================================================================
// Vessel module of HazeCarrier
// ===================================================================================================

DLLCLBK VESSEL* ovcInit(OBJHANDLE hvessel, int flightmodel)
{
    try {
        return new HazeCarrier(hvessel, flightmodel);
    } catch (...) {
        // The host then runs the vessel without a module of its own.
        return nullptr;
    }
}

DLLCLBK void ovcExit(VESSEL* vessel)
{
    if (!vessel)
        return;
    debugText("");
    // VESSEL has no virtual destructor: delete through the concrete type.
    delete static_cast<HazeCarrier*>(vessel);
}

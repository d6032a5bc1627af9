// VESSEL2: construction and the host's default callbacks.
#include "lifecycle.h"
#include "vesselstatus.h"

#include <fstream>
#include <istream>
#include <ostream>

using namespace hostsim;

VESSEL2::VESSEL2(OBJHANDLE hVessel, int fmodel)
    : VESSEL(hVessel, fmodel)
{
    HOSTSIM_COUNT("VESSEL2::VESSEL2");
    version = 1;
}

void VESSEL2::clbkSetClassCaps(FILEHANDLE)
{
    HOSTSIM_COUNT("VESSEL2::clbkSetClassCaps");
}

void VESSEL2::clbkSaveState(FILEHANDLE scn)
{
    HOSTSIM_COUNT("VESSEL2::clbkSaveState");
    const Vessel* v = liveVessel(vessel);
    if (v && scn)
        writeDefaultState(*v, *static_cast<std::ostream*>(scn));
}

void VESSEL2::clbkLoadStateEx(FILEHANDLE scn, void* status)
{
    HOSTSIM_COUNT("VESSEL2::clbkLoadStateEx");
    if (!scn || !status)
        return;
    char* line = nullptr;
    while (oapiReadScenario_nextline(scn, line))
        ParseScenarioLineEx(line, status);
}

void VESSEL2::clbkSetStateEx(const void* status)
{
    HOSTSIM_COUNT("VESSEL2::clbkSetStateEx");
    Vessel* v = liveVessel(vessel);
    if (v && status && static_cast<const VESSELSTATUS2*>(status)->version == 2)
        applyStatus2(*v, *static_cast<const VESSELSTATUS2*>(status));
}

void VESSEL2::clbkPostCreation()
{
    HOSTSIM_COUNT("VESSEL2::clbkPostCreation");
}

void VESSEL2::clbkFocusChanged(bool, OBJHANDLE, OBJHANDLE)
{
    HOSTSIM_COUNT("VESSEL2::clbkFocusChanged");
}

void VESSEL2::clbkPreStep(double, double, double)
{
    HOSTSIM_COUNT("VESSEL2::clbkPreStep");
}

void VESSEL2::clbkPostStep(double, double, double)
{
    HOSTSIM_COUNT("VESSEL2::clbkPostStep");
}

bool VESSEL2::clbkPlaybackEvent(double, double, const char*, const char*)
{
    HOSTSIM_COUNT("VESSEL2::clbkPlaybackEvent");
    return false;
}

void VESSEL2::clbkVisualCreated(VISHANDLE, int)
{
    HOSTSIM_COUNT("VESSEL2::clbkVisualCreated");
}

void VESSEL2::clbkVisualDestroyed(VISHANDLE, int)
{
    HOSTSIM_COUNT("VESSEL2::clbkVisualDestroyed");
}

void VESSEL2::clbkDrawHUD(int, const HUDPAINTSPEC*, HDC)
{
    // Nothing is displayed headless, so the default HUD has nothing to paint on.
    HOSTSIM_COUNT("VESSEL2::clbkDrawHUD");
}

void VESSEL2::clbkRCSMode(int)
{
    HOSTSIM_COUNT("VESSEL2::clbkRCSMode");
}

void VESSEL2::clbkADCtrlMode(DWORD)
{
    HOSTSIM_COUNT("VESSEL2::clbkADCtrlMode");
}

void VESSEL2::clbkHUDMode(int)
{
    HOSTSIM_COUNT("VESSEL2::clbkHUDMode");
}

void VESSEL2::clbkMFDMode(int, int)
{
    HOSTSIM_COUNT("VESSEL2::clbkMFDMode");
}

void VESSEL2::clbkNavMode(int, bool)
{
    HOSTSIM_COUNT("VESSEL2::clbkNavMode");
}

void VESSEL2::clbkDockEvent(int, OBJHANDLE)
{
    HOSTSIM_COUNT("VESSEL2::clbkDockEvent");
}

void VESSEL2::clbkAnimate(double)
{
    HOSTSIM_COUNT("VESSEL2::clbkAnimate");
}

int VESSEL2::clbkConsumeDirectKey(char*)
{
    HOSTSIM_COUNT("VESSEL2::clbkConsumeDirectKey");
    return 0;
}

int VESSEL2::clbkConsumeBufferedKey(DWORD, bool, char*)
{
    HOSTSIM_COUNT("VESSEL2::clbkConsumeBufferedKey");
    return 0;
}

bool VESSEL2::clbkLoadGenericCockpit()
{
    HOSTSIM_COUNT("VESSEL2::clbkLoadGenericCockpit");
    return true; // the generic cockpit looks along +z, where the stand-in's cockpit camera looks
}

bool VESSEL2::clbkLoadPanel(int)
{
    HOSTSIM_COUNT("VESSEL2::clbkLoadPanel");
    return false;
}

bool VESSEL2::clbkPanelMouseEvent(int, int, int, int)
{
    HOSTSIM_COUNT("VESSEL2::clbkPanelMouseEvent");
    return false;
}

bool VESSEL2::clbkPanelRedrawEvent(int, int, SURFHANDLE)
{
    HOSTSIM_COUNT("VESSEL2::clbkPanelRedrawEvent");
    return false;
}

bool VESSEL2::clbkLoadVC(int)
{
    HOSTSIM_COUNT("VESSEL2::clbkLoadVC");
    return false;
}

bool VESSEL2::clbkVCMouseEvent(int, int, VECTOR3&)
{
    HOSTSIM_COUNT("VESSEL2::clbkVCMouseEvent");
    return false;
}

bool VESSEL2::clbkVCRedrawEvent(int, int, SURFHANDLE)
{
    HOSTSIM_COUNT("VESSEL2::clbkVCRedrawEvent");
    return false;
}

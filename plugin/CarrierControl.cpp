// Creation and deletion of the carrier vessel, and the step hook's decision between them.
#include "CarrierControl.h"

#include "CarrierPlacement.h"
#include "PluginState.h"

#include "Orbitersdk.h"

#include <cstring>
#include <vector>

const char carrierClassName[] = "HazeCarrier";
const char carrierVesselName[] = "TheHazeCarrier";

namespace {

// The carrier exists while the focus vessel is below this many radii of its body (strictly).
const double activeRadii = 2.0;

bool isCarrier(OBJHANDLE handle)
{
    const VESSEL* vessel = oapiGetVesselInterface(handle);
    return vessel && isCarrierClass(vessel->GetClassName());
}

bool focusBelowThreshold(const VESSEL* focus)
{
    return focus && focus->GetAltitude() < activeRadii * oapiGetSize(focus->GetSurfaceRef());
}

} // namespace

bool isCarrierClass(const char* className)
{
    return className && std::strcmp(className, carrierClassName) == 0;
}

bool carrierExists()
{
    const DWORD n = oapiGetVesselCount();
    for (DWORD i = 0; i < n; ++i)
        if (isCarrier(oapiGetVesselByIndex(static_cast<int>(i))))
            return true;
    return false;
}

void createCarrier()
{
    const VESSEL* focus = oapiGetVesselInterface(oapiGetFocusObject());
    if (!focus)
        return;
    createPlacedCarrier(focus);
}

void deleteCarriers()
{
    const DWORD n = oapiGetVesselCount();
    std::vector<OBJHANDLE> doomed;
    for (DWORD i = 0; i < n; ++i) {
        const OBJHANDLE handle = oapiGetVesselByIndex(static_cast<int>(i));
        if (isCarrier(handle))
            doomed.push_back(handle);
    }
    for (OBJHANDLE handle : doomed)
        oapiDeleteVessel(handle, nullptr);
}

void updateCarrier()
{
    carrierActive = addonRefused ? 0 : engineBound;
    const VESSEL* focus = oapiGetFocusInterface();
    if (carrierActive == 1 && focusBelowThreshold(focus)) {
        if (!carrierExists())
            createCarrier();
    } else if (carrierExists()) {
        deleteCarriers();
    }
}

// Creation and deletion of vessels: class file, vessel module (ovcInit/ovcExit), class caps, state,
// focus; deletion deferred to the end of a step as the host does.
#pragma once

#include "vessel.h"

namespace hostsim {

// Creates a vessel. A non-empty className is read from its class file unless plainClass is set;
// a missing class file fails the creation (null). Exactly one of st2 / st1 gives the state.
Vessel* createVessel(
    const char* name, const char* className, bool plainClass, const VESSELSTATUS2* st2, const VESSELSTATUS* st1);

// Marks a vessel for deletion; inside a step it goes at the end of the step, outside at once.
void requestDelete(Vessel* v, OBJHANDLE alternativeFocus);

// Deletes every vessel marked for deletion.
void flushDeletions();

// Deletes a vessel now: visual, plug-in notification, focus hand-over, ovcExit, module release.
void deleteVesselNow(Vessel* v);

// Changes the focus (callbacks included); false if the vessel does not accept focus.
bool changeFocus(Vessel* to);

// Applies a VESSELSTATUS2 or VESSELSTATUS to a vessel (the host's default state setting).
void applyStatus2(Vessel& v, const VESSELSTATUS2& st);
void applyStatus1(Vessel& v, const VESSELSTATUS& st);

// Visual creation and destruction with the vessel's callbacks. Destruction calls
// clbkVisualDestroyed, then frees the mesh instances (freeInstance: fatal for a group that no longer
// points at its own arrays).
void createVisualFor(Vessel& v);
void destroyVisualOf(Vessel& v);

// Closes the scene as the host does at the end of a session: destroys every vessel's visual.
void destroyAllVisuals();

} // namespace hostsim

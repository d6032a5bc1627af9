// Creation and deletion of vessels: class file, vessel module (ovcInit/ovcExit), class caps, state,
// focus; deletion deferred to the end of a step as the host does.
#pragma once

#include "vessel.h"

#include <iosfwd>

namespace hostsim {

// Creates a vessel. A non-empty className is read from its class file unless plainClass is set;
// a missing class file fails the creation (null). Exactly one of st2 / st1 gives the state (through
// clbkSetStateEx for st2). visualInside: the host's oapiCreateVesselEx, which in the generations that do
// so creates the visual (within visual range) before clbkPostCreation. The first vessel that accepts
// the focus gets it.
Vessel* createVessel(const char* name, const char* className, bool plainClass, const VESSELSTATUS2* st2,
    const VESSELSTATUS* st1, bool visualInside = false);

// Creates a vessel as the host creates a scenario's: class file and module as above, clbkLoadStateEx
// reading `lines` (the vessel's scenario lines, up to END) into a zeroed VESSELSTATUS2 (the default
// parser for a vessel without callbacks), then the core's own placement from that record (applyStatus2),
// then clbkPostCreation. Takes no focus. Null when the class file is missing.
Vessel* createScenarioVessel(const char* name, const char* className, std::istream& lines);

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

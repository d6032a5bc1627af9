// The step hook's side of the carrier: finding, creating and deleting vessels of class HazeCarrier.
#pragma once

// Class and vessel name of the carrier.
extern const char carrierClassName[]; // "HazeCarrier"
extern const char carrierVesselName[]; // "TheHazeCarrier"

// True if a vessel's class name is byte for byte "HazeCarrier" (case-sensitive). A null name (a
// vessel without a class) never matches.
bool isCarrierClass(const char* className);

// True if any vessel of the simulation is of class HazeCarrier. Takes the vessel count once and stops
// at the first match.
bool carrierExists();

// Creates "TheHazeCarrier", landed (heading 0) on the focus vessel's reference body at the focus
// vessel's longitude and latitude, and checks where the host put it (CarrierPlacement.h).
void createCarrier();

// Deletes every vessel of class HazeCarrier: collects them over one scan with the count taken once,
// then deletes each with no new focus object.
void deleteCarriers();

// The step hook's work: carrierActive takes engineBound (0 once the add-on was refused); while the engine is bound and
// the focus vessel is below two radii of its body (strictly), a carrier exists (one is created if none does); otherwise
// every carrier is deleted. Throws std::bad_alloc when the carriers cannot be collected.
void updateCarrier();

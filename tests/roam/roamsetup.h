// Engine records set up as a restart leaves them, for the ROAM tests (the static library roam_setup).
#pragma once

#include "roam.h"

#include <memory>

// An engine record, zeroed, with the per-body values of a restart for a body of the given radius,
// enabled but not yet started.
std::unique_ptr<roampl> roamfresh(double radius = 6371000.0);

// The same, then roamstart with the observer snapshot at `observer`.
std::unique_ptr<roampl> roamstarted(vectyp observer, double radius = 6371000.0);

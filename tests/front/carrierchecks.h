// GoogleTest checks on a carrierkit after the engine wrote a frame.
#pragma once

#include "scriptedhost.h"

// Checks that no group lost a marker and the material's untouched fields kept theirs.
void expectmarkers(const carrierkit& kit);
// Checks that groups first..1023 show the placeholder triangle.
void expectplaceholders(const carrierkit& kit, int first);

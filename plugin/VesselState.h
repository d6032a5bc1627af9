// Reading a vessel's state record the way the plug-in always asks for it.
#pragma once

#include "Orbitersdk.h"

// A VESSELSTATUS2 with every byte zero but version = 2 (flag 0: no fuel, thruster or dock lists).
VESSELSTATUS2 blankStatus2();

// The vessel's VESSELSTATUS2 (version 2, flag 0) through VESSEL::GetStatusEx. vessel must not be null.
VESSELSTATUS2 readStatus2(const VESSEL* vessel);

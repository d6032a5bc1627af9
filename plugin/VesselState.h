// Reading a vessel's state record the way the plug-in always asks for it, and the landed record the
// carrier is placed with.
#pragma once

#include "Orbitersdk.h"

// A VESSELSTATUS2 with every byte zero but version = 2 (flag 0: no fuel, thruster or dock lists).
VESSELSTATUS2 blankStatus2();

// The vessel's VESSELSTATUS2 (version 2, flag 0) through VESSEL::GetStatusEx. vessel must not be null.
VESSELSTATUS2 readStatus2(const VESSEL* vessel);

// Makes status a landed record under the focus vessel: status 1 on the focus vessel's reference body,
// at its longitude and latitude (oapiGetEquPos), heading 0; the other fields stay as they are. focus
// must not be null.
void landUnderFocus(VESSELSTATUS2& status, const VESSEL* focus);

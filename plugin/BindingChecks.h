// What the plug-in checks around loading the engine, before it binds: a host it was written for, and
// the carrier's two files in place.
#pragma once

// Asks the host's version (oapiGetOrbiterVersion). Below 160000 (the 2006 generation) returns true;
// at 160000 or above, whose cores place a landed vessel otherwise and would put the shell in the wrong
// place, shows one message box naming the version and returns false.
bool hostSupported();

// Whether "meshes\hazeves.msh" and "config\vessels\HazeCarrier.cfg" exist as files (the engine's
// installer writes them when it loads). For the first one missing, shows one message box naming it
// and returns false: without them the host cannot create a carrier.
bool carrierFilesPresent();

// What the plug-in checks after loading the engine, before it binds: the carrier's two files in place.
#pragma once

// Whether "meshes\hazeves.msh" and "config\vessels\HazeCarrier.cfg" exist as files (the engine's
// installer writes them when it loads). For the first one missing, shows one message box naming it
// and returns false: without them the host cannot create a carrier.
bool carrierFilesPresent();

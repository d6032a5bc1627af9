// Storage of the module globals (see PluginState.h).
#include "PluginState.h"

HMODULE engineLib = nullptr;
MaincallEntry maincallEntry = nullptr;
int engineBound = 0;
int carrierActive = 0;
int alphaModFlag = 0;
HazeCarrier* engineDriver = nullptr;

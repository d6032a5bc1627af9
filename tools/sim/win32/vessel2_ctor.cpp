// The VESSEL2 constructor as an MSVC-built module calls it: __thiscall, returning `this` in EAX,
// which the module's code may go on using. The MinGW constructor returns nothing, so the export
// goes through this function instead.
#include <Orbitersdk.h>

#include <new>

extern "C" __attribute__((thiscall)) VESSEL2* vessel2ConstructForMsvc(VESSEL2* self, OBJHANDLE hVessel, int fmodel)
{
    return new (self) VESSEL2(hVessel, fmodel);
}

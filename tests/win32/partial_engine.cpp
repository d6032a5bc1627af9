// An engine library that lacks one of its two entry points, for the binding failures the plug-in
// must report: built once without initint and once without maincall.
#include "EngineEntries.h"

#ifndef WITHOUT_INITINT
extern "C" __declspec(dllexport) void VEILCALL initint(const HostServiceTable*) { }
#endif

#ifndef WITHOUT_MAINCALL
extern "C" __declspec(dllexport) std::int32_t VEILCALL maincall(FrameRecord*)
{
    return 0;
}
#endif

// Smoke test of the Windows build of veilcore, run under Wine: the real DLL loads, its installer
// writes both files in Windows paths, and initint/maincall (__stdcall, undecorated) work on the
// host-facing record layouts. Exit code 0 on success; every failure is printed.
#include "FrameRecord.h"
#include "HostServiceTable.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <direct.h>

namespace {

// Written out here rather than taken from EngineEntries.h: the convention as a host-side caller sees it.
typedef void(__stdcall* InitIntFn)(const HostServiceTable*);
typedef std::int32_t(__stdcall* MainCallFn)(FrameRecord*);

int failures = 0;

void check(bool ok, const char* what)
{
    if (!ok) {
        std::printf("FAILED: %s\n", what);
        ++failures;
    }
}

long fileSize(const char* path)
{
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return -1;
    std::fseek(f, 0, SEEK_END);
    const long n = std::ftell(f);
    std::fclose(f);
    return n;
}

// A host that keeps the focus vessel over latitude 0, longitude 0 with no airspeed.
double getSize(void*)
{
    return 6371000.0;
}
double timeAcceleration()
{
    return 1.0;
}
std::int32_t focusEquPos(double* lng, double* lat, double* rad)
{
    *lng = 0.0;
    *lat = 0.0;
    *rad = 6371000.0 * 1.3;
    return 1;
}
void* focusObject()
{
    return reinterpret_cast<void*>(1);
}
void* vesselInterface(void*)
{
    return reinterpret_cast<void*>(2);
}
void globalAxes(void*, HostVector* ex, HostVector* ey, HostVector* ez)
{
    *ex = HostVector {1, 0, 0};
    *ey = HostVector {0, 1, 0};
    *ez = HostVector {0, 0, 1};
}
std::int32_t focusAirspeed(double* v)
{
    *v = 0.0;
    return 1;
}
std::int32_t focusAirspeedVector(HostVector* v)
{
    *v = HostVector {0, 0, 0};
    return 1;
}

template <class F> HostEntry entry(F f)
{
    return reinterpret_cast<HostEntry>(reinterpret_cast<void (*)()>(f));
}

template <class F> F proc(HMODULE lib, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(lib, name)));
}

HostMeshGroup groups[frameGroupCount];
HostMaterial material;
FrameRecord frame;

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::printf("usage: veilcore_smoke VEILCORE_DLL WORK_DIR\n");
        return 2;
    }
    _mkdir(argv[2]);
    check(SetCurrentDirectoryA(argv[2]) != 0, "enter the work directory");
    _mkdir("config");
    _mkdir("config\\vessels");
    std::remove("meshes\\hazeves.msh");
    std::remove("config\\vessels\\HazeCarrier.cfg");

    HMODULE lib = LoadLibraryA(argv[1]);
    check(lib != nullptr, "LoadLibraryA of veilcore.dll");
    if (!lib)
        return 1;
    check(fileSize("meshes\\hazeves.msh") == 741542, "installer wrote meshes\\hazeves.msh (741 542 bytes)");
    check(fileSize("config\\vessels\\HazeCarrier.cfg") == 137,
        "installer wrote config\\vessels\\HazeCarrier.cfg (137 bytes)");

    const InitIntFn initint = proc<InitIntFn>(lib, "initint");
    const MainCallFn maincall = proc<MainCallFn>(lib, "maincall");
    check(initint && maincall, "initint and maincall exported undecorated");
    if (!initint || !maincall)
        return 1;

    HostServiceTable table {};
    table.entry[slotGetSize] = entry(&getSize);
    table.entry[slotGetTimeAcceleration] = entry(&timeAcceleration);
    table.entry[slotGetFocusEquPos] = entry(&focusEquPos);
    table.entry[slotGetFocusObject] = entry(&focusObject);
    table.entry[slotGetVesselInterface] = entry(&vesselInterface);
    table.entry[slotVesselGlobalAxes] = entry(&globalAxes);
    table.entry[slotGetFocusAirspeed] = entry(&focusAirspeed);
    table.entry[slotGetFocusShipAirspeedVector] = entry(&focusAirspeedVector);
    initint(&table);

    std::int32_t alpha = -1;
    for (int i = 0; i < frameGroupCount; ++i)
        frame.groups[i] = &groups[i];
    frame.material = &material;
    frame.cameraRel = HostVector {6371000.0 * 1.3, 0, 0};
    frame.bodyAxisX = HostVector {1, 0, 0};
    frame.bodyAxisZ = HostVector {0, 0, 1};
    frame.bodyAxisY = HostVector {0, 1, 0};
    std::strcpy(frame.bodyName, "Earth");
    frame.alphaModPtr = &alpha;
    frame.groupsFetched = 1;
    const std::int32_t restart = maincall(&frame);
    frame.groupsFetched = 0;
    const std::int32_t anchor = maincall(&frame);
    const std::int32_t settled = maincall(&frame);

    // The restart step returns 0; the next one anchors at the observer (the restart left the anchor at
    // 0, 0); after that, standing still re-anchors no more.
    check(restart == 0 && anchor == 1 && settled == 0, "re-anchoring results 0, 1, 0");
    check(groups[0].nVtx == 81 && groups[0].nIdx == 384 && groups[0].UsrFlag == 1, "group 0 is a block");
    check(groups[1023].nVtx == 3 && groups[1023].nIdx == 3, "group 1023 is the placeholder");
    check(material.diffuse.r == 0.61f && material.diffuse.b == 1.0f, "haze colour written");
    check(alpha == 0 || alpha == 1, "alpha flag written");
    int blocks = 0;
    for (const HostMeshGroup& g : groups)
        blocks += g.nVtx == 81 ? 1 : 0;
    check(blocks >= 6 && blocks <= 65, "between 6 and 65 blocks drawn");
    std::printf("veilcore.dll: %d blocks drawn, alpha flag %d, diffuse alpha %.3f\n", blocks, alpha,
        static_cast<double>(material.diffuse.a));

    check(FreeLibrary(lib) != 0, "FreeLibrary");
    std::printf(failures ? "%d check(s) failed\n" : "all checks passed\n", failures);
    return failures ? 1 : 0;
}

#include "modules.h"

#include "addontime.h"

#include <algorithm>
#include <cstdio>
#include <strings.h>

namespace hostsim {
typedef void (*ModuleInitFn)(HINSTANCE);

namespace {

// Calls the module's entry point under its current name or, failing that, its older name; a module
// with neither is left alone.
void callEntry(HMODULE h, const char* name, const char* olderName)
{
    ModuleInitFn entry = moduleProc<ModuleInitFn>(h, name);
    if (!entry)
        entry = moduleProc<ModuleInitFn>(h, olderName);
    if (entry) {
        AddonScope addon;
        entry(h);
    }
}

} // namespace

void callModuleInit(HMODULE h)
{
    callEntry(h, "InitModule", "opcDLLInit");
}

int dateToInt(const char* date)
{
    if (!date)
        return 0;
    static const char* const months[12]
        = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char month[16] = {0};
    int day = 0, year = 0;
    if (std::sscanf(date, "%15s%d%d", month, &day, &year) != 3)
        return 0;
    for (int m = 0; m < 12; ++m)
        if (strncasecmp(month, months[m], 3) == 0)
            return (year % 100) * 10000 + (m + 1) * 100 + day;
    return 0;
}

void callModuleExit(HMODULE h)
{
    callEntry(h, "ExitModule", "opcDLLExit");
}

HMODULE acquireModule(const std::string& path)
{
    World& w = world();
    const std::size_t mark = w.initLibHandles.size();
    HMODULE h = nullptr;
    {
        // The module's attach glue runs inside the load.
        AddonScope addon;
        h = LoadLibraryA(path.c_str());
    }
    if (!h) {
        reportError("cannot load module " + path);
        return nullptr;
    }
    auto it = w.modules.find(h);
    if (it != w.modules.end()) {
        ++it->second.refs;
        return h;
    }
    ModuleRecord rec;
    rec.path = path;
    rec.refs = 1;
    const auto begin = w.initLibHandles.begin() + static_cast<std::ptrdiff_t>(mark);
    rec.selfInit = std::find(begin, w.initLibHandles.end(), h) == w.initLibHandles.end();
    w.initLibHandles.erase(begin, w.initLibHandles.end());
    w.modules[h] = rec;
    logLine("Module " + path + (rec.selfInit ? " (no attach glue)" : ""));
    if (rec.selfInit)
        callModuleInit(h);
    return h;
}

void releaseModule(HMODULE h)
{
    World& w = world();
    auto it = w.modules.find(h);
    if (it == w.modules.end())
        return;
    // The module's detach glue runs inside the last FreeLibrary.
    AddonScope addon;
    if (--it->second.refs > 0) {
        FreeLibrary(h);
        return;
    }
    const bool selfInit = it->second.selfInit;
    w.modules.erase(it);
    if (selfInit)
        callModuleExit(h);
    FreeLibrary(h);
}

} // namespace hostsim

DLLEXPORT void InitLib(HINSTANCE hModule)
{
    HOSTSIM_COUNT("InitLib");
    if (!hModule)
        return;
    hostsim::World& w = hostsim::world();
    w.initLibHandles.push_back(hModule);
    if (w.simt < 1) {
        typedef char* (*DateFn)();
        typedef int (*VersionFn)();
        DateFn date = hostsim::moduleProc<DateFn>(hModule, "ModuleDate");
        VersionFn version = hostsim::moduleProc<VersionFn>(hModule, "GetModuleVersion");
        char line[128];
        std::snprintf(line, sizeof line, "Module init [Build %06d, API %06d]", date ? hostsim::dateToInt(date()) : 0,
            version ? version() : 0);
        hostsim::logLine(line);
    }
    hostsim::callModuleInit(hModule);
}

DLLEXPORT int Date2Int(char* date)
{
    HOSTSIM_COUNT("Date2Int");
    return hostsim::dateToInt(date);
}

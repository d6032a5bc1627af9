// Wall time spent in the add-ons' own code: every plug-in hook, every callback of a vessel whose
// interface came from a module, and every module entry point (library attach and detach, InitModule,
// ExitModule, ovcInit, ovcExit) runs inside an AddonScope. Host functions the add-on calls from there
// count as its time; the simulator's own stepping and drawing do not.
#pragma once

#include <cstdint>

namespace hostsim {

// Scopes nest (a plug-in creating a vessel runs that vessel's ovcInit inside its opcPreStep): only
// the outermost one reads the steady clock, so nothing is counted twice. A scope made with
// addon = false (a core vessel's callbacks) counts nothing.
class AddonScope {
public:
    explicit AddonScope(bool addon = true);
    ~AddonScope();
    AddonScope(const AddonScope&) = delete;
    AddonScope& operator=(const AddonScope&) = delete;

private:
    bool counts;
};

// Nanoseconds spent in add-on scopes since the world was last reset.
std::int64_t addonNanoseconds();

} // namespace hostsim

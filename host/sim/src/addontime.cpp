#include "addontime.h"

#include "world.h"

namespace hostsim {

AddonScope::AddonScope(bool addon)
    : counts(addon)
{
    if (counts && world().addonDepth++ == 0)
        world().addonSince = std::chrono::steady_clock::now();
}

AddonScope::~AddonScope()
{
    if (!counts)
        return;
    World& w = world();
    if (--w.addonDepth == 0)
        w.addonNs
            += std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - w.addonSince)
                   .count();
}

std::int64_t addonNanoseconds()
{
    return world().addonNs;
}

} // namespace hostsim

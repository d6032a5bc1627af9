#include "restart.h"

#include "hostcalls.h"

#include <cstdint>
#include <cstring>

namespace {

// The engine's tuning, set afresh at every restart (in this order, after the name and the warm-up).
struct restarttuning {
    std::int32_t loadlimit; // leaf load at which splitting stops and merging starts (128 per leaf)
    std::int64_t budgetprio; // default budget of the re-prioritisation pass [us]
    std::int64_t budgettess; // default budget of the split and merge pass [us]
    std::int32_t maxlevel; // deepest level a block may be split to
    double yshift; // output y lowered by radius + yshift: the carrier stands this high over the ground [m]
    double splitfactor; // distance factor of the split test
    double shellheight; // height of the shell above the surface [m]
};

constexpr restarttuning tuning = {
    8000, // loadlimit
    2000, // budgetprio [us]
    2000, // budgettess [us]
    10, // maxlevel
    10000.0, // yshift [m]
    2.2, // splitfactor
    10000.0, // shellheight [m]
};

char foldascii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

vectyp hostvec(const HostVector& v)
{
    return mkvec(v.x, v.y, v.z);
}

} // namespace

int takebodyname(const FrameRecord* frame, char* out)
{
    const void* nul = std::memchr(frame->bodyName, '\0', bodynamemax);
    const int n = nul ? static_cast<int>(static_cast<const char*>(nul) - frame->bodyName) : bodynamemax;
    std::memcpy(out, frame->bodyName, static_cast<std::size_t>(n));
    out[n] = '\0';
    return n;
}

bool bodynamesame(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (foldascii(*a) != foldascii(*b))
            return false;
    return *a == *b;
}

void resetbody(frontpl* f, const char* name, const FrameRecord* frame)
{
    roampl* e = &f->engine;
    f->startpend = 0;
    e->active = 1;
    e->enabled = 1;
    std::strncpy(e->planetname, name, sizeof e->planetname - 1);
    e->planetname[sizeof e->planetname - 1] = '\0';
    e->warmup = 1;
    e->loadlimit = tuning.loadlimit;
    e->budgetprio = tuning.budgetprio;
    e->budgettess = tuning.budgettess;
    e->radius = hostgetsize(frame->body);
    e->maxlevel = tuning.maxlevel;
    e->yshift = tuning.yshift;
    e->splitfactor = tuning.splitfactor;
    e->shellheight = tuning.shellheight;
    e->rhalf = e->radius / 2.0;
    e->rquarter = e->rhalf / 2.0;
    f->anchorcolat = 0.0;
    f->anchorlon = 0.0;
    e->axes[0] = vecnorm(hostvec(frame->bodyAxisX));
    e->axes[1] = vecnorm(hostvec(frame->bodyAxisZ));
    e->axes[2] = vecnorm(hostvec(frame->bodyAxisY));
}

void changebody(frontpl* f, const char* name, const FrameRecord* frame)
{
    roampl* e = &f->engine;
    roamstop(e);
    if (std::strcmp(name, e->planetname) == 0) {
        e->enabled = 0;
        return;
    }
    resetbody(f, name, frame);
    roamstart(e);
}

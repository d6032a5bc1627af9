#include "restart.h"

#include "hostcalls.h"
#include "roamtuning.h"

#include <cstdint>
#include <cstring>

namespace {

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
    e->loadlimit = restarttuning.loadlimit;
    e->budgetprio = restarttuning.budgetprio;
    e->budgettess = restarttuning.budgettess;
    e->radius = hostgetsize(frame->body);
    e->maxlevel = restarttuning.maxlevel;
    e->yshift = restarttuning.yshift;
    e->splitfactor = restarttuning.splitfactor;
    e->shellheight = restarttuning.shellheight;
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

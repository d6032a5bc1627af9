#include "frontstate.h"

frontpl front;

void frontdefaults(frontpl* f)
{
    const HostVertex corner[3] = {
        {0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f},
        {0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f},
        {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f},
    };
    for (int i = 0; i < 3; ++i) {
        f->phvert[i] = corner[i];
        f->phidx[i] = static_cast<std::uint16_t>(i);
    }
    f->reorient = 1;
    f->startpend = 1;
}

void frontrelease(frontpl* f)
{
    roamstop(&f->engine);
    f->engine.planetname[0] = '\0';
    f->groupsknown = 0;
}

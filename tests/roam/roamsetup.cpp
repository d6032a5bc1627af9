#include "roamsetup.h"

#include "roamtuning.h"

std::unique_ptr<roampl> roamfresh(double radius)
{
    std::unique_ptr<roampl> e(new roampl());
    e->active = 1;
    e->enabled = 1;
    e->radius = radius;
    e->rhalf = radius / 2;
    e->rquarter = radius / 4;
    e->warmup = 1;
    roamtune(e.get());
    e->axes[0] = mkvec(1, 0, 0);
    e->axes[1] = mkvec(0, 1, 0);
    e->axes[2] = mkvec(0, 0, 1);
    return e;
}

std::unique_ptr<roampl> roamstarted(vectyp observer, double radius)
{
    std::unique_ptr<roampl> e = roamfresh(radius);
    e->observer = observer;
    e->obsnap = observer;
    roamstart(e.get());
    return e;
}

// Test kit of the ROAM engine tests: engine records set up as a restart leaves them (roamsetup.h), a
// counter source that advances by a fixed step per reading, and the invariant walk over the trees.
#pragma once

#include "roam.h"
#include "roamsetup.h"

#include <cstdint>
#include <memory>
#include <string>

// Counter source for timer slot reads: every reading advances the clock by `ticksperread` ticks of
// 1 us each (frequency 1 000 000 per second). 0 freezes time, so no budget is ever reached.
void fakeclock(std::int64_t ticksperread);
// Puts the platform counter back.
void realclock();

// Walks the trees from roots and checks every invariant the engine keeps. Returns an empty string
// when all hold, else a description of the first violation.
std::string roamcheck(const roampl* e);

// The list and queue part of the walk, for blocks made outside any tree: the blocks are those of
// the all-blocks list.
std::string roamcheckloose(const roampl* e);

// Number of blocks reachable from the roots, and of those without children.
int roamblockcount(const roampl* e);
int roamleafcount(const roampl* e);

// The blocks along a list from its head, as their records name them.
int listlength(const linktyp* head);

// The bucketed split and merge priority queues and their cached candidates.
//
// Each queue has 4000 buckets, each an intrusive doubly linked list with its head in splitq/mergeq;
// entries always enter at the head. After every change the queue's candidate is refreshed so the
// refinement loop reads it without searching: splittop is the head of the highest non-empty split
// bucket; mergebottom lies in the lowest non-empty merge bucket, at its tail after a put and at its
// head after a remove (the two rules differ on purpose and are observable).
//
// The extreme non-empty bucket is found through an occupancy bitmap (one bit per bucket, one
// summary bit per word) that mirrors "head is not null" exactly, so the result equals a walk over
// the heads.
#include "roaminternal.h"

namespace {

// One of the two queues of a record, seen through the same fields.
struct queueview {
    qentrytyp** heads;
    std::uint64_t* occ;
    std::uint64_t* sum;
    qentrytyp* blocktyp::*entry;
};

queueview splitview(roampl* e)
{
    return queueview {e->splitq, e->splitocc, &e->splitoccsum, &blocktyp::splitentry};
}
queueview mergeview(roampl* e)
{
    return queueview {e->mergeq, e->mergeocc, &e->mergeoccsum, &blocktyp::mergeentry};
}

void markfilled(const queueview& q, std::int32_t bucket)
{
    const int word = bucket >> 6;
    q.occ[word] |= std::uint64_t {1} << (bucket & 63);
    *q.sum |= std::uint64_t {1} << word;
}

void markempty(const queueview& q, std::int32_t bucket)
{
    const int word = bucket >> 6;
    q.occ[word] &= ~(std::uint64_t {1} << (bucket & 63));
    if (q.occ[word] == 0)
        *q.sum &= ~(std::uint64_t {1} << word);
}

// Unlinks an entry from its bucket, moving the bucket's head on when the entry is the head.
void entryunlink(const queueview& q, qentrytyp* entry)
{
    if (entry->prev)
        entry->prev->next = entry->next;
    if (entry->next)
        entry->next->prev = entry->prev;
    if (q.heads[entry->bucket] == entry) {
        q.heads[entry->bucket] = entry->next;
        if (!entry->next)
            markempty(q, entry->bucket);
    }
}

void entryinsert(const queueview& q, qentrytyp* entry)
{
    qentrytyp* old = q.heads[entry->bucket];
    if (old)
        old->prev = entry;
    entry->next = old;
    entry->prev = nullptr;
    q.heads[entry->bucket] = entry;
    markfilled(q, entry->bucket);
}

int highestbit(std::uint64_t w)
{
    return 63 - __builtin_clzll(w);
}
int lowestbit(std::uint64_t w)
{
    return __builtin_ctzll(w);
}

// Highest non-empty bucket, or -1.
std::int32_t highestfilled(const queueview& q)
{
    if (*q.sum == 0)
        return -1;
    const int word = highestbit(*q.sum);
    return word * 64 + highestbit(q.occ[word]);
}

// Lowest non-empty bucket, or -1.
std::int32_t lowestfilled(const queueview& q)
{
    if (*q.sum == 0)
        return -1;
    const int word = lowestbit(*q.sum);
    return word * 64 + lowestbit(q.occ[word]);
}

void splitrefresh(roampl* e)
{
    const std::int32_t top = highestfilled(splitview(e));
    e->splittop = top < 0 ? nullptr : e->splitq[top];
}

// After a put the merge candidate is the earliest arrival of the lowest bucket, after a remove its
// latest.
void mergerefresh(roampl* e, bool totail)
{
    const std::int32_t bottom = lowestfilled(mergeview(e));
    qentrytyp* cand = bottom < 0 ? nullptr : e->mergeq[bottom];
    if (cand && totail)
        while (cand->next)
            cand = cand->next;
    e->mergebottom = cand;
}

// Moves (or, allowed, creates) b's entry into the head of bucket. False when nothing changed, in
// which case the candidate is not refreshed.
bool queueput(const queueview& q, blocktyp* b, std::int32_t bucket, bool onlyifqueued, roamreserve* r)
{
    if (!b || !b->alive)
        return false;
    // A bucket outside the queue would index past the heads.
    if (bucket < 0 || bucket >= roambuckets)
        return false;
    qentrytyp* entry = b->*q.entry;
    if (onlyifqueued && !entry)
        return false;
    if (entry) {
        if (entry->bucket == bucket)
            return false;
        entryunlink(q, entry);
        entry->bucket = bucket;
    } else {
        entry = newentry(r);
        if (!entry)
            return false;
        entry->block = b;
        entry->bucket = bucket;
        entry->next = nullptr;
        entry->prev = nullptr;
        b->*q.entry = entry;
    }
    entryinsert(q, entry);
    return true;
}

bool queueremove(const queueview& q, qentrytyp** var)
{
    if (!var || !*var)
        return false;
    entryunlink(q, *var);
    return true;
}

} // namespace

void splitqputfrom(roampl* e, blocktyp* b, std::int32_t bucket, bool onlyifqueued, roamreserve* r)
{
    if (queueput(splitview(e), b, bucket, onlyifqueued, r))
        splitrefresh(e);
}

void mergeqputfrom(roampl* e, blocktyp* b, std::int32_t bucket, bool onlyifqueued, roamreserve* r)
{
    if (queueput(mergeview(e), b, bucket, onlyifqueued, r))
        mergerefresh(e, true);
}

void splitqput(roampl* e, blocktyp* b, std::int32_t bucket, bool onlyifqueued)
{
    splitqputfrom(e, b, bucket, onlyifqueued, nullptr);
}

void mergeqput(roampl* e, blocktyp* b, std::int32_t bucket, bool onlyifqueued)
{
    mergeqputfrom(e, b, bucket, onlyifqueued, nullptr);
}

void splitqremove(roampl* e, qentrytyp** var)
{
    if (!queueremove(splitview(e), var))
        return;
    splitrefresh(e);
    delete *var;
    *var = nullptr;
}

void mergeqremove(roampl* e, qentrytyp** var)
{
    if (!queueremove(mergeview(e), var))
        return;
    mergerefresh(e, false);
    delete *var;
    *var = nullptr;
}

void queuesclear(roampl* e)
{
    for (std::int32_t i = 0; i < roambuckets; ++i) {
        e->splitq[i] = nullptr;
        e->mergeq[i] = nullptr;
    }
    for (int w = 0; w < roamoccwords; ++w) {
        e->splitocc[w] = 0;
        e->mergeocc[w] = 0;
    }
    e->splitoccsum = 0;
    e->mergeoccsum = 0;
    e->splittop = nullptr;
    e->mergebottom = nullptr;
}

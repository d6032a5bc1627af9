// Split and merge queues, candidate rules, the two lists, disposal and priorities.
#include "roamtestkit.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

class RoamQueues : public ::testing::Test {
protected:
    void SetUp() override { e = roamfresh(); }
    void TearDown() override
    {
        roamstop(e.get());
        EXPECT_EQ(e->allblocks, nullptr);
    }

    // A block of face 0 on the all-blocks list only, so that teardown frees it.
    blocktyp* loose(std::int32_t level = 5)
    {
        blocktyp* b = nullptr;
        blockmake(e.get(), nullptr, &b, level, 0, mkvec(0, 0, 1), mkvec(0, e->radius, 0));
        alladd(e.get(), b);
        return b;
    }

    std::unique_ptr<roampl> e;
};

TEST_F(RoamQueues, PutCreatesAnEntryOnlyWhenAllowed)
{
    blocktyp* b = loose();
    splitqput(e.get(), b, 7, true);
    EXPECT_EQ(b->splitentry, nullptr);
    EXPECT_EQ(e->splitq[7], nullptr);
    EXPECT_EQ(e->splittop, nullptr);

    splitqput(e.get(), b, 7, false);
    ASSERT_NE(b->splitentry, nullptr);
    EXPECT_EQ(b->splitentry->block, b);
    EXPECT_EQ(b->splitentry->bucket, 7);
    EXPECT_EQ(e->splitq[7], b->splitentry);
    EXPECT_EQ(e->splittop, b->splitentry);
    EXPECT_EQ(roamcheckloose(e.get()), "");
}

TEST_F(RoamQueues, PutIntoTheOccupiedBucketMovesNothingAndSkipsTheRefresh)
{
    blocktyp* a = loose();
    blocktyp* b = loose();
    splitqput(e.get(), a, 5, false);
    splitqput(e.get(), b, 5, false);
    ASSERT_EQ(e->splitq[5], b->splitentry);
    e->splittop = nullptr; // a refresh would set it again
    splitqput(e.get(), a, 5, false);
    EXPECT_EQ(e->splitq[5], b->splitentry);
    EXPECT_EQ(b->splitentry->next, a->splitentry);
    EXPECT_EQ(e->splittop, nullptr);
}

TEST_F(RoamQueues, SplitTopIsTheLatestArrivalOfTheHighestBucket)
{
    blocktyp* a = loose();
    blocktyp* b = loose();
    blocktyp* c = loose();
    splitqput(e.get(), a, 3600, false);
    splitqput(e.get(), b, 3600, false);
    EXPECT_EQ(e->splittop, b->splitentry);
    splitqput(e.get(), c, 100, false);
    EXPECT_EQ(e->splittop, b->splitentry);
    splitqput(e.get(), b, 50, false); // moved down: a heads 3600 alone
    EXPECT_EQ(e->splittop, a->splitentry);
    EXPECT_EQ(e->splitq[3600], a->splitentry);
    EXPECT_EQ(a->splitentry->next, nullptr);
    EXPECT_EQ(a->splitentry->prev, nullptr);
    splitqput(e.get(), c, 3999, false);
    EXPECT_EQ(e->splittop, c->splitentry);
    EXPECT_EQ(roamcheckloose(e.get()), "");
}

TEST_F(RoamQueues, MergeBottomIsTheTailAfterAPutAndTheHeadAfterARemove)
{
    blocktyp* first = loose();
    blocktyp* second = loose();
    blocktyp* third = loose();
    mergeqput(e.get(), first, 0, false);
    mergeqput(e.get(), second, 0, false);
    EXPECT_EQ(e->mergebottom, first->mergeentry);
    mergeqput(e.get(), third, 9, false);
    EXPECT_EQ(e->mergebottom, first->mergeentry);
    mergeqremove(e.get(), &third->mergeentry);
    EXPECT_EQ(third->mergeentry, nullptr);
    EXPECT_EQ(e->mergebottom, second->mergeentry);
    EXPECT_EQ(roamcheckloose(e.get()), "");
}

TEST_F(RoamQueues, RemovingTheLastEntryLeavesNoCandidate)
{
    blocktyp* a = loose();
    splitqput(e.get(), a, 3600, false);
    mergeqput(e.get(), a, 3999, false);
    splitqremove(e.get(), &a->splitentry);
    mergeqremove(e.get(), &a->mergeentry);
    EXPECT_EQ(a->splitentry, nullptr);
    EXPECT_EQ(a->mergeentry, nullptr);
    EXPECT_EQ(e->splittop, nullptr);
    EXPECT_EQ(e->mergebottom, nullptr);
    EXPECT_EQ(e->splitq[3600], nullptr);
    EXPECT_EQ(e->mergeq[3999], nullptr);
    qentrytyp* none = nullptr;
    splitqremove(e.get(), &none); // a null variable is left alone
    EXPECT_EQ(roamcheckloose(e.get()), "");
}

TEST_F(RoamQueues, UnlinkingKeepsTheBucketOrderOfTheOthers)
{
    std::vector<blocktyp*> b;
    for (int i = 0; i < 4; ++i) {
        b.push_back(loose());
        splitqput(e.get(), b.back(), 10, false);
    }
    splitqremove(e.get(), &b[3]->splitentry); // the head
    splitqput(e.get(), b[1], 11, false); // a middle one
    mergeqput(e.get(), b[0], 10, false);
    ASSERT_EQ(e->splitq[10], b[2]->splitentry);
    EXPECT_EQ(b[2]->splitentry->next, b[0]->splitentry);
    EXPECT_EQ(b[0]->splitentry->prev, b[2]->splitentry);
    EXPECT_EQ(b[0]->splitentry->next, nullptr);
    EXPECT_EQ(e->splittop, b[1]->splitentry);
    EXPECT_EQ(roamcheckloose(e.get()), "");
}

TEST_F(RoamQueues, BucketsOutsideTheQueueAreRefused)
{
    blocktyp* a = loose();
    splitqput(e.get(), a, roambuckets, false);
    splitqput(e.get(), a, -1, false);
    mergeqput(e.get(), a, 5000, false);
    EXPECT_EQ(a->splitentry, nullptr);
    EXPECT_EQ(a->mergeentry, nullptr);
    splitqput(e.get(), a, 3, false);
    splitqput(e.get(), a, -7, false);
    EXPECT_EQ(a->splitentry->bucket, 3);
    EXPECT_EQ(roamcheckloose(e.get()), "");
}

TEST_F(RoamQueues, DeadOrNullBlocksAreLeftAlone)
{
    blocktyp* a = loose();
    a->alive = 0;
    splitqput(e.get(), a, 3, false);
    mergeqput(e.get(), a, 3, false);
    leafadd(e.get(), a);
    splitqput(e.get(), nullptr, 3, false);
    EXPECT_EQ(a->splitentry, nullptr);
    EXPECT_EQ(a->mergeentry, nullptr);
    EXPECT_EQ(a->leaflink, nullptr);
    EXPECT_EQ(e->leafload, 0);
    a->alive = 1;
}

// The candidates found through the occupancy bitmaps must be those of a walk over the 4000 heads:
// the head of the highest non-empty split bucket, and in the lowest non-empty merge bucket its
// tail after the last put that moved an entry, its head after a remove, through any sequence of puts
// and removes.
TEST_F(RoamQueues, BitmapCandidatesEqualAWalkOverTheHeads)
{
    std::vector<blocktyp*> ours(40);
    for (blocktyp*& b : ours)
        b = loose();
    const auto highest = [&]() -> qentrytyp* {
        for (int i = roambuckets - 1; i >= 0; --i)
            if (e->splitq[i])
                return e->splitq[i];
        return nullptr;
    };
    const auto lowest = [&](bool totail) -> qentrytyp* {
        for (int i = 0; i < roambuckets; ++i) {
            qentrytyp* q = e->mergeq[i];
            while (q && totail && q->next)
                q = q->next;
            if (q)
                return q;
        }
        return nullptr;
    };
    std::mt19937 rng(7);
    const int buckets[] = {0, 1, 63, 64, 65, 127, 128, 2000, 3599, 3600, 3935, 3936, 3998, 3999};
    bool mergetotail = false;
    for (int step = 0; step < 3000; ++step) {
        blocktyp* b = ours[rng() % ours.size()];
        const int bucket = buckets[rng() % (sizeof buckets / sizeof buckets[0])];
        const bool flag = rng() % 4 == 0;
        switch (rng() % 4) {
        case 0:
            splitqput(e.get(), b, bucket, flag);
            break;
        case 1: {
            // A put that changes nothing leaves the candidate unrefreshed.
            const bool moves = b->mergeentry ? b->mergeentry->bucket != bucket : !flag;
            mergeqput(e.get(), b, bucket, flag);
            if (moves)
                mergetotail = true;
            break;
        }
        case 2:
            splitqremove(e.get(), &b->splitentry);
            break;
        default:
            if (b->mergeentry)
                mergetotail = false;
            mergeqremove(e.get(), &b->mergeentry);
            break;
        }
        ASSERT_EQ(e->splittop, highest()) << "step " << step;
        ASSERT_EQ(e->mergebottom, lowest(mergetotail)) << "step " << step;
        if (step % 50 == 0) {
            ASSERT_EQ(roamcheckloose(e.get()), "") << "step " << step;
        }
    }
}

TEST_F(RoamQueues, ListsTakeNewRecordsAtTheHeadAndOneRecordPerBlock)
{
    blocktyp* a = loose();
    blocktyp* b = loose();
    leafadd(e.get(), a);
    leafadd(e.get(), b);
    leafadd(e.get(), a); // already listed
    EXPECT_EQ(e->leafload, 2 * roamleafload);
    ASSERT_EQ(e->leaves, b->leaflink);
    EXPECT_EQ(b->leaflink->next, a->leaflink);
    EXPECT_EQ(a->leaflink->prev, b->leaflink);
    EXPECT_EQ(listlength(e->leaves), 2);
    EXPECT_EQ(e->allblocks, b->alllink);
    alladd(e.get(), a);
    EXPECT_EQ(listlength(e->allblocks), 2);
}

TEST_F(RoamQueues, DisposalUnlinksEverythingAndMovesTheCursorOn)
{
    blocktyp* a = loose();
    blocktyp* b = loose();
    blocktyp* c = loose(); // all-blocks list: c, b, a
    for (blocktyp* x : {a, b, c})
        leafadd(e.get(), x);
    splitqput(e.get(), b, 3600, false);
    mergeqput(e.get(), b, 0, false);
    e->cursor = b->alllink;
    blocktyp* var = b;
    blockdispose(e.get(), &var);
    EXPECT_EQ(var, nullptr);
    EXPECT_EQ(e->cursor, a->alllink);
    EXPECT_EQ(e->splittop, nullptr);
    EXPECT_EQ(e->mergebottom, nullptr);
    EXPECT_EQ(e->leafload, 2 * roamleafload);
    EXPECT_EQ(c->alllink->next, a->alllink);
    EXPECT_EQ(a->alllink->prev, c->alllink);

    e->cursor = a->alllink; // the tail: the cursor runs off the end
    var = a;
    blockdispose(e.get(), &var);
    EXPECT_EQ(e->cursor, nullptr);
    var = c; // the head
    blockdispose(e.get(), &var);
    EXPECT_EQ(e->allblocks, nullptr);
    EXPECT_EQ(e->leaves, nullptr);
    EXPECT_EQ(e->leafload, 0);
}

class RoamPriorities : public RoamQueues {
protected:
    // A block at the origin with half-diagonal 1.5 and split factor 2: split reach 3.
    blocktyp* placed(std::int32_t level)
    {
        blocktyp* b = loose(level);
        b->centre = mkvec(0, 0, 0);
        b->size = 1.5;
        e->splitfactor = 2;
        return b;
    }
    void fakechildren(blocktyp* b) { b->child[0] = b; } // only child 0 is looked at
};

TEST_F(RoamPriorities, SplitWantedOnlyStrictlyInsideTheReach)
{
    blocktyp* b = placed(5);
    e->obsnap = mkvec(3, 0, 0);
    blockprioritise(e.get(), b);
    EXPECT_EQ(b->splitprio, 0);
    e->obsnap = mkvec(0, 2.999, 0);
    blockprioritise(e.get(), b);
    EXPECT_EQ(b->splitprio, 3600);
    e->obsnap = mkvec(1.5, 1.5, 1.5); // d^2 = 6.75 summed as (x^2 + y^2) + z^2
    blockprioritise(e.get(), b);
    EXPECT_EQ(b->splitprio, 3600);
}

TEST_F(RoamPriorities, MergePriorityFollowsLeafAndNearness)
{
    blocktyp* b = placed(5);
    e->obsnap = mkvec(100, 0, 0);
    blockprioritise(e.get(), b); // a far leaf
    EXPECT_EQ(b->mergeprio, 3999);
    fakechildren(b);
    blockprioritise(e.get(), b); // a far inner block
    EXPECT_EQ(b->mergeprio, 0);
    EXPECT_EQ(b->splitprio, 0);
    e->obsnap = mkvec(1, 0, 0);
    blockprioritise(e.get(), b); // a near inner block
    EXPECT_EQ(b->mergeprio, 3999);
    EXPECT_EQ(b->splitprio, 3600);
    b->child[0] = nullptr;
}

TEST_F(RoamPriorities, TheDeepestLevelNeverWantsASplitButStaysUnmergeableWhenNear)
{
    blocktyp* b = placed(e->maxlevel);
    fakechildren(b);
    e->obsnap = mkvec(1, 0, 0);
    blockprioritise(e.get(), b);
    EXPECT_EQ(b->splitprio, 0);
    EXPECT_EQ(b->mergeprio, 3999);
    b->child[0] = nullptr;
}

TEST_F(RoamPriorities, ExistingEntriesMoveAndNoneAreCreated)
{
    blocktyp* queued = placed(5);
    blocktyp* unqueued = placed(5);
    splitqput(e.get(), queued, 0, false);
    mergeqput(e.get(), queued, 0, false);
    e->obsnap = mkvec(1, 0, 0);
    blockprioritise(e.get(), queued);
    blockprioritise(e.get(), unqueued);
    EXPECT_EQ(queued->splitentry->bucket, 3600);
    EXPECT_EQ(queued->mergeentry->bucket, 3999);
    EXPECT_EQ(unqueued->splitentry, nullptr);
    EXPECT_EQ(unqueued->mergeentry, nullptr);
    EXPECT_EQ(e->splittop, queued->splitentry);
    EXPECT_EQ(roamcheckloose(e.get()), "");
}

} // namespace

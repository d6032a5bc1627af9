// Start and teardown, split and merge, and the budgeted refinement run.
#include "allocspy.h"
#include "roamtestkit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

std::vector<int> faces(const linktyp* head)
{
    std::vector<int> out;
    for (; head; head = head->next)
        out.push_back(head->block->face);
    return out;
}

std::vector<const blocktyp*> blocks(const linktyp* head)
{
    std::vector<const blocktyp*> out;
    for (; head; head = head->next)
        out.push_back(head->block);
    return out;
}

class RoamEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakeclock(0);
        e = roamstarted(mkvec(0, 0, 0));
    }
    void TearDown() override
    {
        roamstop(e.get());
        realclock();
    }
    // Splits along child `which` down to `level`, returning the deepest block split.
    blocktyp* chain(blocktyp* b, int level, int which = 0)
    {
        for (;;) {
            blocksplit(e.get(), b);
            if (b->level + 1 >= level)
                return b;
            b = b->child[which];
        }
    }
    std::unique_ptr<roampl> e;
};

TEST_F(RoamEngine, StartBuildsSixQueuedRootLeavesWithFaceFiveAtTheHeads)
{
    EXPECT_EQ(e->active, 1);
    EXPECT_EQ(e->leafload, 768);
    EXPECT_EQ(faces(e->leaves), (std::vector<int> {5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(faces(e->allblocks), (std::vector<int> {5, 4, 3, 2, 1, 0}));
    for (const blocktyp* r : e->roots) {
        ASSERT_NE(r->splitentry, nullptr);
        EXPECT_EQ(r->mergeentry, nullptr);
        EXPECT_EQ(r->splitentry->bucket, 3600); // the observer at the centre is near every root
    }
    EXPECT_EQ(e->splittop, e->roots[5]->splitentry);
    EXPECT_EQ(e->mergebottom, nullptr);
    EXPECT_EQ(roamcheck(e.get()), "");
}

TEST_F(RoamEngine, GridIndicesAreTwoTrianglesPerCellRowByRow)
{
    const std::uint16_t head[] = {0, 1, 10, 0, 10, 9, 1, 2, 11, 1, 11, 10};
    const std::uint16_t tail[] = {70, 71, 80, 70, 80, 79};
    EXPECT_EQ(std::memcmp(gridindices, head, sizeof head), 0);
    EXPECT_EQ(std::memcmp(gridindices + 378, tail, sizeof tail), 0);
    for (std::uint16_t i : gridindices)
        EXPECT_LE(i, 80);
}

TEST_F(RoamEngine, OnlyRootsNearTheObserverWantSplitting)
{
    roamstop(e.get());
    e = roamstarted(mkvec(3 * 6371000.0, 0, 0)); // near face 2 only
    EXPECT_EQ(e->roots[2]->splitprio, 3600);
    for (int f : {0, 1, 3, 4, 5})
        EXPECT_EQ(e->roots[f]->splitprio, 0) << "face " << f;
    EXPECT_EQ(e->splittop, e->roots[2]->splitentry);
    EXPECT_EQ(e->splitq[0], e->roots[5]->splitentry);
}

TEST_F(RoamEngine, StopFreesEveryRecordAndClearsTheBody)
{
    for (blocktyp* r : e->roots)
        blocksplit(e.get(), r);
    chain(e->roots[0], 6);
    std::strcpy(e->planetname, "Earth");
    e->cursor = e->allblocks->next;
    const long live = allocspy::allocations() - allocspy::frees();
    // Each block, its all-blocks record, each leaf's leaf record, and every queue entry.
    const long records = 2 * roamblockcount(e.get()) + roamleafcount(e.get());
    int entries = 0;
    for (const linktyp* l = e->allblocks; l; l = l->next)
        entries += (l->block->splitentry != nullptr) + (l->block->mergeentry != nullptr);
    roamstop(e.get());
    EXPECT_EQ(live - (allocspy::allocations() - allocspy::frees()), records + entries);
    EXPECT_EQ(e->active, 0);
    EXPECT_EQ(e->enabled, 0);
    EXPECT_EQ(e->allblocks, nullptr);
    EXPECT_EQ(e->leaves, nullptr);
    EXPECT_EQ(e->cursor, nullptr);
    EXPECT_EQ(e->splittop, nullptr);
    EXPECT_EQ(e->mergebottom, nullptr);
    EXPECT_EQ(e->leafload, 0);
    EXPECT_EQ(e->planetname[0], '\0');
    EXPECT_EQ(e->radius, 0.0);
    EXPECT_EQ(e->loadlimit, 0);
    EXPECT_EQ(e->shellheight, 10000.0); // kept until the next restart
    for (const blocktyp* r : e->roots)
        EXPECT_EQ(r, nullptr);

    // A second stop, like a stop of a record never started, changes nothing.
    std::unique_ptr<roampl> copy(new roampl(*e));
    roamstop(e.get());
    // The record byte for byte, padding included: both come from one zeroed allocation.
    EXPECT_EQ(std::memcmp(copy.get(), e.get(), sizeof(roampl)), 0); // NOLINT(bugprone-suspicious-memory-comparison)
}

TEST_F(RoamEngine, SplitListsChildrenInOrderAndQueuesThemAtZero)
{
    blocktyp* b = e->roots[1];
    blocksplit(e.get(), b);
    EXPECT_EQ(e->leafload, 768 + 384);
    EXPECT_EQ(b->leaflink, nullptr);
    EXPECT_EQ(b->splitentry, nullptr);
    EXPECT_EQ(b->mergeentry, nullptr); // level 1 never merges
    const std::vector<const blocktyp*> leaves = blocks(e->leaves);
    ASSERT_EQ(leaves.size(), 9u);
    EXPECT_EQ(leaves[0], b->child[3]);
    EXPECT_EQ(leaves[1], b->child[2]);
    EXPECT_EQ(leaves[2], b->child[1]);
    EXPECT_EQ(leaves[3], b->child[0]);
    EXPECT_EQ(faces(e->leaves), (std::vector<int> {1, 1, 1, 1, 5, 4, 3, 2, 0}));
    const std::vector<const blocktyp*> all = blocks(e->allblocks);
    EXPECT_EQ(all[0], b->child[3]);
    EXPECT_EQ(all[3], b->child[0]);
    EXPECT_EQ(faces(e->allblocks), (std::vector<int> {1, 1, 1, 1, 5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(e->splitq[0], b->child[3]->splitentry);
    EXPECT_EQ(b->child[3]->splitentry->next, b->child[2]->splitentry);
    EXPECT_EQ(b->child[0]->splitentry->next, nullptr);
    for (const blocktyp* c : b->child) {
        EXPECT_EQ(c->level, 2);
        EXPECT_EQ(c->splitprio, 0);
        EXPECT_EQ(c->mergeprio, 0);
    }
    EXPECT_EQ(e->splittop, e->roots[5]->splitentry);
    EXPECT_EQ(roamcheck(e.get()), "");
}

TEST_F(RoamEngine, OnlyBlocksBelowLevelFourEnterTheMergeQueueNever)
{
    blocktyp* third = chain(e->roots[0], 4);
    ASSERT_EQ(third->level, 3);
    EXPECT_EQ(third->mergeentry, nullptr);
    blocktyp* fourth = third->child[0];
    fourth->mergeprio = 3999;
    blocksplit(e.get(), fourth);
    ASSERT_NE(fourth->mergeentry, nullptr);
    EXPECT_EQ(fourth->mergeentry->bucket, 3999);
    EXPECT_EQ(e->mergebottom, fourth->mergeentry);
    EXPECT_EQ(roamcheck(e.get()), "");
}

TEST_F(RoamEngine, SplittingAnInnerBlockOnlyMovesItBetweenQueues)
{
    blocktyp* b = chain(e->roots[2], 5);
    ASSERT_EQ(b->level, 4);
    mergeqremove(e.get(), &b->mergeentry);
    splitqput(e.get(), b, 3600, false);
    const int count = roamblockcount(e.get());
    blocksplit(e.get(), b);
    EXPECT_EQ(roamblockcount(e.get()), count);
    EXPECT_EQ(b->splitentry, nullptr);
    ASSERT_NE(b->mergeentry, nullptr);
    EXPECT_EQ(roamcheck(e.get()), "");
}

TEST_F(RoamEngine, ChildrenOfTheDeepestLevelAreNotQueued)
{
    e->maxlevel = 4;
    blocktyp* b = chain(e->roots[4], 4); // splits a level-3 block: children at 4, queued
    ASSERT_EQ(b->level, 3);
    for (const blocktyp* c : b->child)
        EXPECT_NE(c->splitentry, nullptr);
    blocktyp* deepest = b->child[2];
    blocksplit(e.get(), deepest);
    for (const blocktyp* c : deepest->child)
        EXPECT_EQ(c->splitentry, nullptr);
    EXPECT_EQ(roamcheck(e.get()), "");
}

TEST_F(RoamEngine, MergeCollapsesTheSubtreeDepthFirst)
{
    blocktyp* b = chain(e->roots[0], 7, 1); // splits levels 1 .. 6 along child 1
    blocktyp* top = e->roots[0]->child[1]->child[1]->child[1]; // level 4
    ASSERT_EQ(top->level, 4);
    ASSERT_NE(b->mergeentry, nullptr);
    blocksplit(e.get(), top->child[3]); // a second branch under top
    top->splitprio = 3600;
    const int leaves = roamleafcount(e.get());
    const long live = allocspy::allocations() - allocspy::frees();
    blockmerge(e.get(), top);
    // Below top: 16 blocks on levels 5 to 7, 13 of them leaves; top alone takes their place.
    EXPECT_EQ(roamleafcount(e.get()), leaves - 13 + 1);
    EXPECT_EQ(e->leafload, roamleafload * roamleafcount(e.get()));
    EXPECT_EQ(top->child[0], nullptr);
    EXPECT_EQ(top->mergeentry, nullptr);
    ASSERT_NE(top->splitentry, nullptr);
    EXPECT_EQ(top->splitentry->bucket, 3600);
    EXPECT_EQ(e->leaves, top->leaflink);
    EXPECT_EQ(e->mergebottom, nullptr);
    EXPECT_LT(allocspy::allocations() - allocspy::frees(), live);
    EXPECT_EQ(roamcheck(e.get()), "");
}

TEST_F(RoamEngine, RefinementChangesNothingWhileDisabled)
{
    e->enabled = 0;
    e->observer = mkvec(1, 2, 3);
    std::unique_ptr<roampl> copy(new roampl(*e));
    roamrefine(e.get(), 0, 0);
    // The record byte for byte, padding included: both come from one zeroed allocation.
    EXPECT_EQ(std::memcmp(copy.get(), e.get(), sizeof(roampl)), 0); // NOLINT(bugprone-suspicious-memory-comparison)
}

TEST_F(RoamEngine, CutShortPassResumesAtTheNextRecordAndAFullOneRestartsAtTheHead)
{
    fakeclock(1); // one microsecond per reading
    e->observer = mkvec(100 * e->radius, 0, 0); // nothing wants splitting any more
    roamrefine(e.get(), 3, 1); // three blocks re-prioritised; no time for a split
    EXPECT_EQ(e->obsnap.x, e->observer.x);
    EXPECT_EQ(e->cursor, e->roots[2]->alllink);
    for (int f : {5, 4, 3})
        EXPECT_EQ(e->roots[f]->splitentry->bucket, 0) << "face " << f;
    for (int f : {2, 1, 0})
        EXPECT_EQ(e->roots[f]->splitentry->bucket, 3600) << "face " << f;
    EXPECT_EQ(e->splittop, e->roots[2]->splitentry);
    EXPECT_EQ(roamblockcount(e.get()), 6);

    roamrefine(e.get(), 3, 1); // the rest, ending at the tail
    EXPECT_EQ(e->roots[0]->splitentry->bucket, 0);
    EXPECT_EQ(e->cursor, nullptr);
    EXPECT_EQ(e->splittop, e->roots[0]->splitentry); // the latest arrival in bucket 0

    e->observer = mkvec(0, 0, 0);
    roamrefine(e.get(), 100, 1); // not cut short: the next run starts at the head again
    EXPECT_EQ(e->cursor, nullptr);
    EXPECT_EQ(e->splittop, e->roots[0]->splitentry); // moved up last, from the tail of the list
    EXPECT_EQ(e->splittop->bucket, 3600);
    EXPECT_EQ(roamblockcount(e.get()), 6);
}

TEST_F(RoamEngine, SplitPassChecksTheBudgetBeforeEveryStep)
{
    fakeclock(1);
    roamrefine(e.get(), 1000, 1);
    EXPECT_EQ(roamblockcount(e.get()), 6);
    roamrefine(e.get(), 1000, 3); // readings at 1 and 2 us allow two splits
    EXPECT_EQ(roamblockcount(e.get()), 14);
    EXPECT_EQ(e->roots[5]->child[0] != nullptr, true);
    EXPECT_EQ(e->roots[4]->child[0] != nullptr, true);
    EXPECT_EQ(roamcheck(e.get()), "");
}

TEST_F(RoamEngine, ZeroBudgetsMeanTheRecordsDefaults)
{
    fakeclock(1);
    e->budgettess = 4;
    roamrefine(e.get(), 0, 0); // 6 blocks re-prioritised well within 2000; three splits in 4
    EXPECT_EQ(roamblockcount(e.get()), 6 + 3 * 4);
    EXPECT_EQ(e->cursor, nullptr);
}

TEST_F(RoamEngine, SplittingStopsAtTheLoadLimitNearTheSurface)
{
    e->observer = mkvec(0, e->radius + 1000, 0);
    for (int run = 0; run < 200; ++run) {
        roamrefine(e.get(), 0, 0); // the clock stands still: no budget ever runs out
        ASSERT_EQ(roamcheck(e.get()), "") << "run " << run;
        ASSERT_LE(roamleafcount(e.get()), 65) << "run " << run;
    }
    EXPECT_EQ(roamleafcount(e.get()), 63); // 6 + 3 per split: 60 still splits, 63 does not
    EXPECT_EQ(e->leafload, 63 * 128);
    int deepest = 0;
    for (const linktyp* l = e->leaves; l; l = l->next)
        deepest = std::max(deepest, l->block->level);
    EXPECT_GE(deepest, 3);
    EXPECT_LE(deepest, e->maxlevel);
}

// Leaves of a face deeper than a level.
int deepleaves(const roampl* e, int face, int level)
{
    int n = 0;
    for (const linktyp* l = e->leaves; l; l = l->next)
        n += l->block->face == face && l->block->level > level;
    return n;
}

TEST_F(RoamEngine, MergesHappenOnlyAtTheLoadLimit)
{
    e->loadlimit = 16000; // room for detail below level 4, which alone can merge
    e->observer = mkvec(0, e->radius + 1000, 0);
    for (int run = 0; run < 200; ++run)
        roamrefine(e.get(), 0, 0);
    ASSERT_GE(e->leafload, e->loadlimit);
    ASSERT_GT(deepleaves(e.get(), 0, 4), 0);
    EXPECT_EQ(deepleaves(e.get(), 1, 3), 0);
    // Over the south pole the northern detail is unwanted: merged while at the limit, the freed
    // load spent on splits again, and the load never passes the limit by more than one split.
    e->observer = mkvec(0, -e->radius - 1000, 0);
    for (int run = 0; run < 20; ++run) {
        roamrefine(e.get(), 0, 0);
        ASSERT_LE(roamleafcount(e.get()), 16000 / 128 + 2);
        ASSERT_EQ(roamcheck(e.get()), "") << "run " << run;
    }
    EXPECT_EQ(deepleaves(e.get(), 0, 4), 0); // levels 1 to 3 stay split, deeper detail went
    EXPECT_GE(e->leafload, e->loadlimit);
}

TEST_F(RoamEngine, ASettledRunAllocatesNothing)
{
    e->observer = mkvec(0.2 * e->radius, e->radius + 1000, 0);
    for (int run = 0; run < 200; ++run)
        roamrefine(e.get(), 0, 0);
    const int blocks = roamblockcount(e.get());
    const long before = allocspy::allocations();
    for (int run = 0; run < 10; ++run)
        roamrefine(e.get(), 0, 0);
    EXPECT_EQ(allocspy::allocations(), before);
    EXPECT_EQ(roamblockcount(e.get()), blocks);
}

TEST_F(RoamEngine, StartOverALiveTessellationDoesNothing)
{
    blocksplit(e.get(), e->roots[3]);
    blocktyp* root = e->roots[3];
    const long before = allocspy::allocations();
    roamstart(e.get());
    EXPECT_EQ(allocspy::allocations(), before);
    EXPECT_EQ(e->roots[3], root);
    EXPECT_EQ(roamblockcount(e.get()), 10);
    EXPECT_EQ(roamcheck(e.get()), "");
}

TEST_F(RoamEngine, BelowTheLimitUnwantedDetailStays)
{
    blocktyp* b = chain(e->roots[0], 6);
    ASSERT_NE(b->mergeentry, nullptr);
    e->observer = mkvec(0, -100 * e->radius, 0);
    const int count = roamblockcount(e.get());
    roamrefine(e.get(), 0, 0);
    EXPECT_EQ(b->mergeentry->bucket, 0); // a merge candidate of priority 0 ...
    ASSERT_NE(e->splittop, nullptr);
    EXPECT_EQ(e->splittop->bucket, 0);
    EXPECT_EQ(roamblockcount(e.get()), count); // ... but no merge below the limit
}

TEST_F(RoamEngine, AtTheLimitWithoutMergeCandidatesNothingSplits)
{
    e->loadlimit = 768;
    roamrefine(e.get(), 0, 0);
    EXPECT_EQ(roamblockcount(e.get()), 6);
    ASSERT_NE(e->splittop, nullptr);
    EXPECT_EQ(e->splittop->bucket, 3600);
}

TEST_F(RoamEngine, FailedAllocationsLeaveTheOperationUndone)
{
    blocktyp* b = chain(e->roots[0], 5);
    for (long allowed = 0; allowed < 17; ++allowed) {
        const int count = roamblockcount(e.get());
        allocspy::failnothrowafter(allowed);
        blocksplit(e.get(), b->child[1]);
        allocspy::failnothrowafter(-1);
        EXPECT_EQ(roamblockcount(e.get()), count) << allowed;
        EXPECT_EQ(b->child[1]->mergeentry, nullptr) << allowed;
        EXPECT_EQ(roamcheck(e.get()), "") << allowed;
    }
    blocksplit(e.get(), b->child[1]);
    allocspy::failnothrowafter(0);
    blockmerge(e.get(), e->roots[0]->child[0]->child[0]);
    allocspy::failnothrowafter(-1);
    EXPECT_NE(b->child[1]->child[0], nullptr);
    EXPECT_EQ(roamcheck(e.get()), "");

    std::unique_ptr<roampl> other = roamfresh();
    allocspy::failnothrowafter(23);
    roamstart(other.get());
    allocspy::failnothrowafter(-1);
    EXPECT_EQ(other->active, 1); // untouched: still as the restart left it
    EXPECT_EQ(other->allblocks, nullptr);
    EXPECT_EQ(other->roots[0], nullptr);
    roamstart(other.get());
    EXPECT_EQ(roamcheck(other.get()), "");
    roamstop(other.get());
}

} // namespace

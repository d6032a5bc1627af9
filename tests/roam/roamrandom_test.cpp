// Seeded random sequences of observer moves, refinement runs, direct splits and merges, queue moves
// and failed allocations, with the whole invariant walk after every operation and a leak count at
// the end.
#include "allocspy.h"
#include "roamtestkit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

class RoamRandom : public ::testing::TestWithParam<unsigned> {
protected:
    void TearDown() override { realclock(); }
};

blocktyp* pick(const roampl* e, std::mt19937& rng)
{
    const int n = listlength(e->allblocks);
    int k = static_cast<int>(rng() % static_cast<unsigned>(n));
    const linktyp* l = e->allblocks;
    while (k--)
        l = l->next;
    return l->block;
}

vectyp randomobserver(double radius, std::mt19937& rng)
{
    std::normal_distribution<double> dir(0.0, 1.0);
    std::uniform_real_distribution<double> height(0.0, 3.0);
    const vectyp d = vecnorm(mkvec(dir(rng), dir(rng), dir(rng)));
    return vecscale(d, radius * (1.0 + height(rng) * height(rng) / 3.0));
}

TEST_P(RoamRandom, InvariantsHoldAfterEveryOperation)
{
    std::mt19937 rng(GetParam());
    std::unique_ptr<roampl> e = roamfresh();
    e->maxlevel = 7 + static_cast<std::int32_t>(rng() % 4);
    const long live = allocspy::allocations() - allocspy::frees();
    fakeclock(0);
    roamstart(e.get());
    ASSERT_EQ(roamcheck(e.get()), "");
    const std::int64_t steps[] = {0, 1, 2, 5};
    int splits = 0;
    int merges = 0;
    for (int op = 0; op < 1200; ++op) {
        const unsigned kind = rng() % 16;
        if (kind < 3) {
            e->observer = randomobserver(e->radius, rng);
        } else if (kind < 7) {
            fakeclock(steps[rng() % 4]);
            roamrefine(e.get(), static_cast<double>(rng() % 40), static_cast<double>(rng() % 40));
        } else if (kind < 9) {
            blocktyp* b = pick(e.get(), rng);
            if (roamleafcount(e.get()) < 150 && b->level < 12) {
                blocksplit(e.get(), b);
                ++splits;
            }
        } else if (kind < 11) {
            blockmerge(e.get(), pick(e.get(), rng));
            ++merges;
        } else if (kind < 12) {
            blockprioritise(e.get(), pick(e.get(), rng));
        } else if (kind < 13) {
            blocktyp* b = pick(e.get(), rng);
            const std::int32_t bucket = static_cast<std::int32_t>(rng() % roambuckets);
            if (rng() % 2 || b->level <= 3)
                splitqput(e.get(), b, bucket, rng() % 2 == 0);
            else
                mergeqput(e.get(), b, bucket, rng() % 2 == 0);
        } else if (kind < 14) {
            e->rotx = std::fmod(static_cast<double>(rng() % 1000), 6.283);
            e->roty = std::fmod(static_cast<double>(rng() % 1000), 6.283);
            orientall(e.get());
        } else {
            // The heap runs dry part-way through a split or merge: all of it happens or none.
            blocktyp* b = pick(e.get(), rng);
            const int before = roamblockcount(e.get());
            allocspy::failnothrowafter(static_cast<long>(rng() % 12));
            if (kind == 14)
                blocksplit(e.get(), b);
            else
                blockmerge(e.get(), b);
            allocspy::failnothrowafter(-1);
            const int after = roamblockcount(e.get());
            ASSERT_TRUE(after == before || (kind == 14 && after == before + 4) || (kind == 15 && after <= before))
                << "op " << op;
        }
        const std::string err = roamcheck(e.get());
        ASSERT_EQ(err, "") << "seed " << GetParam() << " op " << op << " kind " << kind;
    }
    EXPECT_GT(splits, 0);
    EXPECT_GT(merges, 0);
    roamstop(e.get());
    EXPECT_EQ(e->allblocks, nullptr);
    EXPECT_EQ(allocspy::allocations() - allocspy::frees(), live) << "records leaked or freed twice";
}

INSTANTIATE_TEST_SUITE_P(Seeds, RoamRandom, ::testing::Values(1u, 2u, 3u, 4u, 5u));

} // namespace

namespace {

// The walk itself must notice the faults it is there for.
TEST(RoamCheck, NoticesBrokenRecords)
{
    fakeclock(0);
    std::unique_ptr<roampl> e = roamstarted(mkvec(0, 0, 0));
    blocksplit(e.get(), e->roots[0]);
    ASSERT_EQ(roamcheck(e.get()), "");

    e->leafload += 128;
    EXPECT_NE(roamcheck(e.get()), "");
    e->leafload -= 128;

    qentrytyp* top = e->splittop;
    e->splittop = e->roots[0]->child[0]->splitentry;
    EXPECT_NE(roamcheck(e.get()), "");
    e->splittop = top;

    e->roots[2]->splitentry->bucket = 17;
    EXPECT_NE(roamcheck(e.get()), "");
    e->roots[2]->splitentry->bucket = 3600;

    linktyp* leaf = e->roots[0]->child[1]->leaflink;
    e->roots[0]->child[1]->leaflink = nullptr;
    EXPECT_NE(roamcheck(e.get()), "");
    e->roots[0]->child[1]->leaflink = leaf;

    linktyp stray {e->roots[1], nullptr, nullptr};
    e->cursor = &stray;
    EXPECT_NE(roamcheck(e.get()), "");
    e->cursor = nullptr;

    e->roots[0]->child[2]->level = 5;
    EXPECT_NE(roamcheck(e.get()), "");
    e->roots[0]->child[2]->level = 2;

    e->allblocks->next->prev = nullptr;
    EXPECT_NE(roamcheck(e.get()), "");
    e->allblocks->next->prev = e->allblocks;

    ASSERT_EQ(roamcheck(e.get()), "");
    roamstop(e.get());
    realclock();
}

} // namespace

// The vector and matrix kit: thresholds, argument order of the products, results over inputs.
#include "veckit.h"

#include <gtest/gtest.h>

namespace {

void expectvec(const vectyp& v, double x, double y, double z)
{
    EXPECT_DOUBLE_EQ(v.x, x);
    EXPECT_DOUBLE_EQ(v.y, y);
    EXPECT_DOUBLE_EQ(v.z, z);
}

TEST(VecKit, NormalisationLeavesVectorsShorterThanTheThreshold)
{
    expectvec(vecnorm(mkvec(0, 0, 0)), 0, 0, 0);
    const vectyp tiny = vecnorm(mkvec(0.000009, 0, 0));
    EXPECT_EQ(tiny.x, 0.000009);
    EXPECT_EQ(tiny.y, 0.0);
    expectvec(vecnorm(mkvec(0.00001, 0, 0)), 1, 0, 0); // the threshold itself normalises
    expectvec(vecnorm(mkvec(0, -0.00001, 0)), 0, -1, 0);
    expectvec(vecnorm(mkvec(3, 0, 4)), 0.6, 0, 0.8);
    EXPECT_EQ(veclen(mkvec(3, 0, 4)), 5.0);
    EXPECT_EQ(veclen(mkvec(-2, 3, -6)), 7.0);
}

TEST(VecKit, CrossProductIsRightHandedAndOrderSensitive)
{
    expectvec(veccross(mkvec(1, 0, 0), mkvec(0, 1, 0)), 0, 0, 1);
    expectvec(veccross(mkvec(0, 1, 0), mkvec(1, 0, 0)), 0, 0, -1);
    expectvec(veccross(mkvec(0, 0, 1), mkvec(1, 0, 0)), 0, 1, 0);
    expectvec(veccross(mkvec(1, 2, 3), mkvec(4, 5, 6)), -3, 6, -3);
}

TEST(VecKit, ProductsTakeTheVectorFirstAndDotRowsOrColumns)
{
    const mattyp m {{1, 2, 3, 4, 5, 6, 7, 8, 9}};
    expectvec(matmul(mkvec(1, 0, 0), m), 1, 4, 7);
    expectvec(mattmul(mkvec(1, 0, 0), m), 1, 2, 3);
    expectvec(matmul(mkvec(1, 2, 3), m), 14, 32, 50);
    expectvec(mattmul(mkvec(1, 2, 3), m), 30, 36, 42);
    const mattyp t = mattransp(m);
    const double want[9] = {1, 4, 7, 2, 5, 8, 3, 6, 9};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(t.m[i], want[i]) << i;
    // With a frame's axes as rows, matmul gives coordinates in the frame and mattmul takes them back.
    const mattyp axes = matrows(mkvec(0, 0, 1), mkvec(1, 0, 0), mkvec(0, 1, 0));
    expectvec(matmul(mkvec(1, 2, 3), axes), 3, 1, 2);
    expectvec(mattmul(matmul(mkvec(1, 2, 3), axes), axes), 1, 2, 3);
}

TEST(VecKit, ResultsMayBeStoredOverTheirInputs)
{
    vectyp a = mkvec(1, 2, 3);
    vectyp b = mkvec(10, 20, 30);
    b = vecadd(a, b);
    expectvec(b, 11, 22, 33);
    a = vecadd(a, a);
    expectvec(a, 2, 4, 6);
    vectyp c = mkvec(1, 2, 3);
    c = veccross(c, mkvec(0, 0, 1));
    expectvec(c, 2, -1, 0);
    vectyp v = mkvec(1, 2, 3);
    const mattyp m {{1, 2, 3, 4, 5, 6, 7, 8, 9}};
    v = matmul(v, m);
    expectvec(v, 14, 32, 50);
    v = mkvec(1, 2, 3);
    v = mattmul(v, m);
    expectvec(v, 30, 36, 42);
    v = vecswapyz(vecswapyz(mkvec(1, 2, 3)));
    expectvec(v, 1, 2, 3);
    expectvec(vecswapyz(mkvec(1, 2, 3)), 1, 3, 2);
    expectvec(vecscale(mkvec(1, -2, 3), -2), -2, 4, -6);
}

TEST(VecKit, PowerIsOneForBasesNotAbovezero)
{
    EXPECT_NEAR(rpower(2, 3), 8, 1e-12);
    EXPECT_NEAR(rpower(2, -2), 0.25, 1e-15);
    EXPECT_EQ(rpower(5, 0), 1.0);
    EXPECT_EQ(rpower(0, 2), 1.0);
    EXPECT_EQ(rpower(-2, 2), 1.0);
    EXPECT_EQ(rpower(-2, 3), 1.0);
    EXPECT_EQ(rpower(0, -1), 1.0);
}

} // namespace

#include <gtest/gtest.h>

#include "game/progress/xpCurve.h"

// Boundaries worked out independently with B = (double)2.8f = 2.7999999523162842;
// with B exactly 2.8 rank 27 would start at 101806588.
TEST(XpCurve, RankBoundariesOnBothSides) {
    struct Cboundary {
        int rank;
        uint64_t start;
    };
    const Cboundary boundaries[] = {{2, 59644}, {3, 206740}, {10, 6299572}, {26, 91596292}, {27, 101806572},
                                    {28, 112720755}, {50, 571621208}};
    for (const auto& b : boundaries) {
        SCOPED_TRACE(b.rank);
        EXPECT_EQ(xpAtRankStart(b.rank), b.start);
        EXPECT_EQ(rankFromXP(b.start), b.rank);
        EXPECT_EQ(rankFromXP(b.start - 1), b.rank - 1);
    }
}


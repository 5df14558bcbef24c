// ROC and precision-recall curves on a case small enough to work out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tools/stats/Curves.h"

namespace {

// Scores 0.9 (interacting), 0.8 (not), 0.8 (interacting), 0.3 (not), 0.1
// (interacting): three interacting, two not, one tie across the classes.
const std::vector<ScoredPair> PAIRS{{0.1, true}, {0.8, false}, {0.9, true}, {0.3, false}, {0.8, true}};

TEST(CurvesTest, RocStepsThroughTiedScoresTogether)
{
    const Curve c = RocCurve(PAIRS);
    const std::vector<std::pair<double, double>> points{
        {0.0, 0.0}, {0.0, 1.0 / 3}, {0.5, 2.0 / 3}, {1.0, 2.0 / 3}, {1.0, 1.0}};
    ASSERT_EQ(c.points.size(), points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_DOUBLE_EQ(c.points[i].first, points[i].first) << i;
        EXPECT_DOUBLE_EQ(c.points[i].second, points[i].second) << i;
    }
    // Of the six (interacting, not) pairs: 0.9 wins two, 0.8 ties one and
    // wins one, 0.1 wins none: 3.5 / 6.
    EXPECT_DOUBLE_EQ(c.area, 3.5 / 6);
}

TEST(CurvesTest, AveragePrecisionWeighsEachThresholdByTheRecallItAdds)
{
    const Curve c = PrecisionRecallCurve(PAIRS);
    const std::vector<std::pair<double, double>> points{{1.0 / 3, 1.0}, {2.0 / 3, 2.0 / 3}, {2.0 / 3, 0.5}, {1.0, 0.6}};
    ASSERT_EQ(c.points.size(), points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_DOUBLE_EQ(c.points[i].first, points[i].first) << i;
        EXPECT_DOUBLE_EQ(c.points[i].second, points[i].second) << i;
    }
    EXPECT_DOUBLE_EQ(c.area, 1.0 / 3 + (2.0 / 3) / 3 + 0.6 / 3);
}

TEST(CurvesTest, OneClassOnlyHasNoArea)
{
    EXPECT_TRUE(std::isnan(RocCurve({{0.5, true}, {0.2, true}}).area));
    EXPECT_TRUE(std::isnan(RocCurve({}).area));
    EXPECT_TRUE(std::isnan(PrecisionRecallCurve({{0.5, false}}).area));
    // A perfect ranking.
    EXPECT_DOUBLE_EQ(RocCurve({{0.9, true}, {0.1, false}}).area, 1.0);
    EXPECT_DOUBLE_EQ(PrecisionRecallCurve({{0.9, true}, {0.1, false}}).area, 1.0);
}

TEST(CurvesTest, AScoreThatIsNotANumberHasNoPlaceInTheOrder)
{
    // Sorting with NaN among the keys has no order at all: no curve, no
    // area, rather than one that depends on where the sort put it.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<ScoredPair> pairs{{0.9, true}, {nan, false}, {0.2, false}};
    EXPECT_TRUE(std::isnan(RocCurve(pairs).area));
    EXPECT_TRUE(RocCurve(pairs).points.empty());
    EXPECT_TRUE(std::isnan(PrecisionRecallCurve(pairs).area));
    EXPECT_TRUE(PrecisionRecallCurve(pairs).points.empty());
    // Infinities are scores like any other.
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_DOUBLE_EQ(RocCurve({{inf, true}, {-inf, false}, {inf, false}}).area, 0.75);
}

} // namespace

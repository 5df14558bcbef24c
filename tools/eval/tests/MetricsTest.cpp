// The two figures of merit on cases small enough to work out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tools/stats/Curves.h"
#include "tools/stats/RankCorrelation.h"
#include "tools/stats/Ranks.h"

TEST(MetricsTest, TiedValuesShareTheMeanOfTheirRanks)
{
    EXPECT_EQ(AverageRanks({3.0, 1.0, 7.0, 3.0}), (std::vector<double>{2.5, 1.0, 4.0, 2.5}));
    // Three-way tie at the bottom: ranks 1, 2, 3 shared as 2.
    EXPECT_EQ(AverageRanks({0.5, 0.5, 0.9, 0.5}), (std::vector<double>{2.0, 2.0, 4.0, 2.0}));
    EXPECT_TRUE(AverageRanks({}).empty());
}

TEST(MetricsTest, SpearmanHandlesTiesAndDegenerateLists)
{
    // x = 1 2 2 3 ranks 1 2.5 2.5 4; y = 1 3 2 4 ranks 1 3 2 4; mean rank 2.5.
    // Deviations x: -1.5 0 0 1.5, y: -1.5 0.5 -0.5 1.5.
    // Sxy = 2.25 + 2.25 = 4.5, Sxx = 4.5, Syy = 2.25 + 0.25 + 0.25 + 2.25 = 5,
    // rho = 4.5 / sqrt(4.5 * 5) = sqrt(0.9).
    EXPECT_NEAR(SpearmanCorrelation({1, 2, 2, 3}, {1, 3, 2, 4}), std::sqrt(0.9), 1e-12);
    // Only the order matters: any increasing map gives 1, a decreasing one -1.
    EXPECT_NEAR(SpearmanCorrelation({0.001, 0.5, 0.02, 0.9}, {1, 30, 2, 400}), 1.0, 1e-12);
    EXPECT_NEAR(SpearmanCorrelation({0.001, 0.5, 0.02, 0.9}, {9, 1, 5, 0}), -1.0, 1e-12);
    // Undefined: a constant list, a single value, a value that is not a number.
    EXPECT_TRUE(std::isnan(SpearmanCorrelation({1, 2, 3}, {4, 4, 4})));
    EXPECT_TRUE(std::isnan(SpearmanCorrelation({1}, {2})));
    EXPECT_TRUE(std::isnan(SpearmanCorrelation({1, NAN, 3}, {1, 2, 3})));
}

namespace {

double AreaUnderRoc(const std::vector<double>& score, const std::vector<bool>& positive)
{
    std::vector<ScoredPair> pairs;
    for (std::size_t i = 0; i < score.size(); ++i) {
        pairs.push_back({score[i], positive[i]});
    }
    return RocCurve(pairs).area;
}

} // namespace

TEST(MetricsTest, AucCountsWinsAndHalfTiesOverAllPositiveNegativePairs)
{
    // Positives 0.9 and 0.5 against negatives 0.5, 0.1, 0.3: 0.9 beats all
    // three; 0.5 ties one (1/2) and beats two. (3 + 2.5) / (2 * 3) = 11/12.
    EXPECT_NEAR(AreaUnderRoc({0.9, 0.5, 0.5, 0.1, 0.3}, {true, true, false, false, false}), 11.0 / 12.0, 1e-12);
    EXPECT_DOUBLE_EQ(AreaUnderRoc({0.2, 0.8}, {false, true}), 1.0);
    EXPECT_DOUBLE_EQ(AreaUnderRoc({0.2, 0.8}, {true, false}), 0.0);
    EXPECT_DOUBLE_EQ(AreaUnderRoc({0.4, 0.4, 0.4}, {true, false, true}), 0.5);
    EXPECT_TRUE(std::isnan(AreaUnderRoc({0.1, 0.2}, {true, true})));
    EXPECT_TRUE(std::isnan(AreaUnderRoc({0.1, NAN}, {true, false})));
}

TEST(MetricsTest, AucIsTheExactRankSumWhateverTheOrder)
{
    // The area is the Mann-Whitney count divided once: the rank-sum formula
    // on the same scores gives the very same double, so a printed area does
    // not depend on which of the two ways counted it. 13/16 sits on a
    // rounding edge of "%.3f".
    const std::vector<double> score{0.9, 0.8, 0.8, 0.7, 0.45, 0.5, 0.5, 0.1};
    const std::vector<bool> positive{true, true, false, true, false, true, false, false};
    const std::vector<double> ranks = AverageRanks(score);
    double rankSum = 0.0;
    double pos = 0.0;
    for (std::size_t k = 0; k < score.size(); ++k) {
        rankSum += positive[k] ? ranks[k] : 0.0;
        pos += positive[k] ? 1.0 : 0.0;
    }
    const double neg = static_cast<double>(score.size()) - pos;
    EXPECT_EQ(AreaUnderRoc(score, positive), (rankSum - pos * (pos + 1.0) / 2.0) / (pos * neg));
    EXPECT_EQ(AreaUnderRoc(score, positive), 13.0 / 16.0);
    // Negated scores with the classes swapped rank the same pairs the same.
    std::vector<double> negated;
    std::vector<bool> swapped;
    for (std::size_t k = 0; k < score.size(); ++k) {
        negated.push_back(-score[k]);
        swapped.push_back(!positive[k]);
    }
    EXPECT_EQ(AreaUnderRoc(negated, swapped), AreaUnderRoc(score, positive));
}

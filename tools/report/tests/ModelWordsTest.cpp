// What the report says of a learned model, for each kind and role.
#include <gtest/gtest.h>

#include "tools/report/ModelWords.h"

TEST(ModelWordsTest, BinaryModelsStateTheirErrorRatesByRole)
{
    // OM_BINARY holds P(observed 0): for non-interacting pairs 0.98 means
    // 2% said to interact; for interacting pairs 0.3 means 30% missed.
    EXPECT_EQ(ModelWords("OM_BINARY", {0.98}, 0),
              "false-positive rate 2%: reports 2% of non-interacting pairs as interacting");
    EXPECT_EQ(ModelWords("OM_BINARY", {0.3}, 1), "false-negative rate 30%: misses 30% of interacting pairs");
    // Three significant digits as everywhere on the page; a rate too small
    // for them as a bound, not as "0.0%".
    EXPECT_EQ(ModelWords("OM_BINARY", {0.9876}, 0),
              "false-positive rate 1.24%: reports 1.24% of non-interacting pairs as interacting");
    EXPECT_EQ(ModelWords("OM_BINARY", {2.6e-25}, 1),
              "false-negative rate < 1e-4%: misses < 1e-4% of interacting pairs");
    EXPECT_EQ(ModelWords("OM_BINARY", {0.25}, -1), "observes 0 with probability 0.25 and 1 with 0.75");
}

TEST(ModelWordsTest, OtherKindsNameTheirShape)
{
    EXPECT_EQ(ModelWords("OM_GAUSSIAN", {2.0, 4.0}, 1), "normal, mean 2, standard deviation 2");
    EXPECT_EQ(ModelWords("OM_GAUSSIAN", {-0.0605, 1.2}, 0), "normal, mean -0.0605, standard deviation 1.1");
    EXPECT_EQ(ModelWords("OM_EXPONENTIAL", {2.0, 1.0, 0.5}, -1), "left-sided exponential from 2, rate 0.5");
    EXPECT_EQ(ModelWords("OM_UNIFORM", {0.0, 1.0, 3.0}, 0), "uniform between 0 and 1");
    // Too few parameters (a cut-short dump) say nothing rather than guess.
    EXPECT_EQ(ModelWords("OM_GAUSSIAN", {2.0}, 1), "");
}

// Counting the work of one EM pass and choosing perturbation candidates on a
// tiny hand-made input set whose answers can be counted by hand.
#include <gtest/gtest.h>

#include <sstream>

#include "bench/DataScan.h"
#include "bench/InputSet.h"
#include "bench/PerturbList.h"
#include "tools/toolbox/ToolError.h"

namespace {

// Proteins: 0 {1, 2}, 1 {2, 3}, 2 {} (none), 3 {1, 4}; protein 0's motif 2
// is listed twice (one motif), protein 4 carries motif 7 only.
// Active pairs: {1,2}, {2,2}, {4,1} and {2,1} again (the same unordered pair).
// Observed pairs: (0,1) twice and as (1,0), (0,0) a self pair, (2,3), (3,0),
// then a header that stops reading.
InputSet Tiny()
{
    std::istringstream obs(
        "0 1 1 0 1\n"
        "1 0 0.5 2 3\n"
        "0 0 1 0 1\n"
        "0 1 1 0 1\n"
        "2 3 0 0 1\n"
        "3 0 1 -1 -1\n"
        "prot1 prot2 value m0 m1\n"
        "4 4 1 0 1\n");
    std::istringstream motifs("0 1 30\n0 2 10\n0 2 12\n1 2 40\n1 3 20\n3 1 5\n3 4 5\n4 7 9\n");
    std::istringstream active("1 2 0.1\n2 2 0.1\n4 1 0.1\n2 1 0.1\n");
    return ReadInputSet(obs, motifs, active);
}

TEST(InputSetTest, ReadsDistinctPairsAndMotifsUpToTheFirstNonNumber)
{
    const InputSet set = Tiny();
    EXPECT_EQ(set.observations, 6);
    const std::vector<std::pair<int, int>> pairs{{0, 1}, {0, 0}, {2, 3}, {3, 0}};
    EXPECT_EQ(set.observedPairs, pairs);
    EXPECT_EQ(set.Motifs(0), (std::vector<int>{1, 2}));
    EXPECT_TRUE(set.Motifs(2).empty());
    EXPECT_TRUE(set.Motifs(99).empty());
    EXPECT_EQ(set.activePairs.size(), 3u);
}

TEST(InputSetTest, CountsCombinationsAndBindingVariablesPerPass)
{
    const WorkCounts w = CountWork(Tiny());
    EXPECT_EQ(w.observedPairs, 4);
    EXPECT_EQ(w.activePairs, 3);
    // (0,1): 2x2, (0,0): 2x2, (2,3): 0, (3,0): 2x2.
    EXPECT_EQ(w.motifCombinations, 12);
    // (0,1): (1,2) (2,2) -> 2; (0,0): (1,2) (2,1) (2,2) -> 3, the two orders
    // of motifs 1 and 2 counting twice; (2,3): 0; (3,0): (1,2) (4,1) -> 2.
    EXPECT_EQ(w.bindingVariables, 7);
}

TEST(InputSetTest, RefusesNegativeIds)
{
    std::istringstream obs("0 -1 1 0 1\n"), motifs(""), active("");
    EXPECT_THROW(ReadInputSet(obs, motifs, active), ToolError);
}

TEST(PerturbListTest, MotifAgainstProteinCountsMotifsBelowTheBoundOnBothSides)
{
    const InputSet set = Tiny();
    // No bound: (0,1) 2+2, (0,0) 2+2.
    PerturbList list = ChoosePerturbList(set, 1, 2, -1);
    EXPECT_EQ(list.entries, (std::vector<std::pair<int, int>>{{0, 1}, {0, 0}}));
    EXPECT_EQ(list.cycles, 8);
    // Bound 2 keeps motif 1 only: (0,1) 1+0, (0,0) 1+1, (2,3) 0+1.
    list = ChoosePerturbList(set, 1, 3, 2);
    EXPECT_EQ(list.entries, (std::vector<std::pair<int, int>>{{0, 1}, {0, 0}, {2, 3}}));
    EXPECT_EQ(list.cycles, 4);
    // Bound 0 leaves no motif: no pair gives a cycle, none is listed.
    list = ChoosePerturbList(set, 1, 3, 0);
    EXPECT_TRUE(list.entries.empty());
    EXPECT_EQ(list.cycles, 0);
}

TEST(PerturbListTest, SingleMotifPairsNeedAMotifBelowTheBoundOnEachProtein)
{
    const InputSet set = Tiny();
    // Bound 3: (0,1) 2x1, (0,0) 2x2, (3,0) 1x2.
    const PerturbList list = ChoosePerturbList(set, 3, 10, 3);
    EXPECT_EQ(list.entries, (std::vector<std::pair<int, int>>{{0, 1}, {0, 0}, {3, 0}}));
    EXPECT_EQ(list.cycles, 8);
    // Bound 2: (0,1) has no motif below 2 on protein 1.
    EXPECT_EQ(ChoosePerturbList(set, 3, 1, 2).entries, (std::vector<std::pair<int, int>>{{0, 0}}));
}

TEST(PerturbListTest, MotifTypePairsAreActivePairsBelowTheBound)
{
    const InputSet set = Tiny();
    PerturbList list = ChoosePerturbList(set, 2, 5, 3);
    EXPECT_EQ(list.entries, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}}));
    EXPECT_EQ(list.cycles, 2);
    list = ChoosePerturbList(set, 2, 1, -1);
    EXPECT_EQ(list.cycles, 1);
}

TEST(PerturbListTest, WithoutAnalysisListsTheFirstPairsAndRunsNoCycle)
{
    const PerturbList list = ChoosePerturbList(Tiny(), 0, 3, 2);
    EXPECT_EQ(list.entries, (std::vector<std::pair<int, int>>{{0, 1}, {0, 0}, {2, 3}}));
    EXPECT_EQ(list.cycles, 0);
}

TEST(DataScanTest, ResultsSurviveTheTripFromTheScanningProcess)
{
    const InputSet set = Tiny();
    DataScan scan;
    scan.observations = set.observations;
    scan.work = CountWork(set);
    scan.list = ChoosePerturbList(set, 3, 10, 3);
    const DataScan back = ParseScan(FormatScan(scan));
    EXPECT_EQ(back.observations, 6);
    EXPECT_EQ(back.work.observedPairs, 4);
    EXPECT_EQ(back.work.motifCombinations, 12);
    EXPECT_EQ(back.work.bindingVariables, 7);
    EXPECT_EQ(back.work.activePairs, 3);
    EXPECT_EQ(back.list.cycles, 8);
    EXPECT_EQ(back.list.entries, scan.list.entries);
    EXPECT_THROW(ParseScan("6 4 12 7 3 8 3\n0 1\n"), ToolError);
}

} // namespace

// Negatives must look like positives in everything but the interaction: no
// reported pair, no self pair, no pair twice, and, when drawn by degree, the
// same share of hubs, so that a classifier cannot tell them apart by degree
// alone.
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <set>
#include <string>

#include "tools/prep/NegativeSampling.h"
#include "tools/stats/WeightedPicker.h"
#include "tools/toolbox/ToolError.h"

namespace {

struct Network {
    std::vector<PairKey> positives;
    std::unordered_set<std::int64_t> reported;
};

Network FromPairs(const std::vector<PairKey>& pairs)
{
    Network n;
    for (const auto& [a, b] : pairs) {
        n.positives.push_back(MakePairKey(a, b));
        n.reported.insert(PairIndex64(a, b));
    }
    return n;
}

// A few hubs, many proteins with one or two partners, as in measured
// interaction networks: each protein has a weight (hubs 10 to 100, the
// rest 1 or 2), and both ends of a pair are drawn in proportion to it.
Network SkewedNetwork(std::uint64_t seed)
{
    constexpr int PROTEINS = 800;
    constexpr int HUBS = 20;
    constexpr std::size_t PAIRS = 2000;
    Rng rng(seed, 1);
    std::vector<double> weights;
    for (int p = 0; p < PROTEINS; ++p) {
        weights.push_back(p < HUBS ? rng.LogUniform(10.0, 100.0) : 1.0 + static_cast<double>(rng.Below(2)));
    }
    const WeightedPicker picker(weights);
    Network n;
    while (n.positives.size() < PAIRS) {
        const int a = static_cast<int>(picker.Pick(rng));
        const int b = static_cast<int>(picker.Pick(rng));
        if (a != b && n.reported.insert(PairIndex64(a, b)).second) {
            n.positives.push_back(MakePairKey(a, b));
        }
    }
    return n;
}

std::map<int, int> Degrees(const std::vector<PairKey>& pairs)
{
    std::map<int, int> deg;
    for (const auto& [a, b] : pairs) {
        ++deg[a];
        ++deg[b];
    }
    return deg;
}

double MeanSummedDegree(const std::vector<PairKey>& pairs, const std::map<int, int>& deg)
{
    double sum = 0.0;
    for (const auto& [a, b] : pairs) {
        sum += deg.at(a) + deg.at(b);
    }
    return sum / static_cast<double>(pairs.size());
}

void ExpectValidNegatives(const std::vector<PairKey>& drawn, const Network& n, std::size_t count,
                          const std::string& what)
{
    ASSERT_EQ(drawn.size(), count) << what;
    const std::map<int, int> deg = Degrees(n.positives);
    std::set<PairKey> seen;
    for (const PairKey& p : drawn) {
        EXPECT_GT(p.first, p.second) << what << ": a self pair or not (larger, smaller)";
        EXPECT_EQ(n.reported.count(PairIndex64(p.first, p.second)), 0u) << what << ": reported pair drawn";
        EXPECT_TRUE(seen.insert(p).second) << what << ": pair drawn twice";
        EXPECT_TRUE(deg.count(p.first) != 0 && deg.count(p.second) != 0) << what << ": unknown protein";
    }
}

} // namespace

TEST(NegativeSampling, NeverReportedSelfOrRepeatedPairsAndTheSameForASeed)
{
    Network n = SkewedNetwork(7);
    // Hub pairs of another source: reported, but not among the positives,
    // and likely to be drawn if they were not excluded.
    for (int a = 1; a < 20; ++a) {
        for (int b = 0; b < a; ++b) {
            n.reported.insert(PairIndex64(a, b));
        }
    }
    // A self interaction among the positives gives no self pair.
    n.positives.push_back({5, 5});
    n.reported.insert(PairIndex64(5, 5));
    for (const Sampling s : {Sampling::DEGREE, Sampling::UNIFORM}) {
        const std::string what = s == Sampling::DEGREE ? "degree" : "uniform";
        Rng r1(3, 0);
        Rng r2(3, 0);
        Rng r3(4, 0);
        const auto drawn = SampleNegatives(n.positives, n.reported, 3000, s, r1);
        ExpectValidNegatives(drawn, n, 3000, what);
        EXPECT_EQ(drawn, SampleNegatives(n.positives, n.reported, 3000, s, r2)) << what;
        EXPECT_NE(drawn, SampleNegatives(n.positives, n.reported, 3000, s, r3)) << what;
    }
}

TEST(NegativeSampling, EveryFreePairCanBeDrawnButNoMore)
{
    // Five proteins: ten pairs, five reported (one by another source), so
    // five free; a reported pair outside the five takes none away.
    Network n = FromPairs({{1, 0}, {2, 1}, {3, 2}, {4, 3}});
    n.reported.insert(PairIndex64(4, 0));
    n.reported.insert(PairIndex64(9, 8));
    for (const Sampling s : {Sampling::DEGREE, Sampling::UNIFORM}) {
        Rng rng(1, 0);
        ExpectValidNegatives(SampleNegatives(n.positives, n.reported, 5, s, rng), n, 5, "all but one free pair");
        Rng rng2(1, 0);
        try {
            SampleNegatives(n.positives, n.reported, 6, s, rng2);
            FAIL() << "six pairs drawn among five proteins with five free pairs";
        } catch (const ToolError& e) {
            const std::string msg = e.what();
            EXPECT_NE(msg.find("cannot find 6 non-interacting pairs among 5 proteins"), std::string::npos) << msg;
            EXPECT_NE(msg.find("expected a smaller ratio"), std::string::npos) << msg;
        }
    }
    Rng rng(1, 0);
    EXPECT_TRUE(SampleNegatives(n.positives, n.reported, 0, Sampling::DEGREE, rng).empty());
}

TEST(NegativeSampling, DegreeSamplingMatchesThePositivesSummedDegree)
{
    const Network n = SkewedNetwork(2024);
    const std::map<int, int> deg = Degrees(n.positives);
    Rng r1(9, 0);
    Rng r2(9, 0);
    const auto degree = SampleNegatives(n.positives, n.reported, n.positives.size(), Sampling::DEGREE, r1);
    const auto uniform = SampleNegatives(n.positives, n.reported, n.positives.size(), Sampling::UNIFORM, r2);
    const double pos = MeanSummedDegree(n.positives, deg);
    const double neg = MeanSummedDegree(degree, deg);
    const double uni = MeanSummedDegree(uniform, deg);
    std::cout << "mean summed degree over " << deg.size() << " proteins, " << n.positives.size() << " pairs: positives "
              << pos << ", degree-matched negatives " << neg << ", uniform negatives " << uni << "\n";
    RecordProperty("positives", std::to_string(pos));
    RecordProperty("degree_negatives", std::to_string(neg));
    RecordProperty("uniform_negatives", std::to_string(uni));
    EXPECT_NEAR(neg / pos, 1.0, 0.10);
    EXPECT_LT(uni * 2.0, pos);
}

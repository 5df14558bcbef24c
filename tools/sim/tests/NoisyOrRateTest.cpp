// The sampled truth must follow the planted parameters. The expected rates
// are recomputed here from the input files alone, so an error in the
// generator's own bookkeeping (leak counts, homodimer combinations, assay
// noise) shows up as a mismatch.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "tools/sim/tests/SimTestSupport.h"

namespace {

// Allowed distance between an observed count and its expectation, in
// standard deviations; with fixed seeds a true fault lands far beyond it.
constexpr double Z_LIMIT = 5.0;

struct Tally {
    double observed = 0.0;
    double expected = 0.0;
    double variance = 0.0;
    int n = 0;

    void Add(double outcome, double p)
    {
        observed += outcome;
        expected += p;
        variance += p * (1.0 - p);
        ++n;
    }
};

void ExpectMatches(const Tally& t, const std::string& what)
{
    ASSERT_GT(t.n, 0) << what << ": no samples";
    EXPECT_LE(std::abs(t.observed - t.expected), Z_LIMIT * std::sqrt(t.variance) + 1e-9)
        << what << ": observed " << t.observed << ", expected " << t.expected << " over " << t.n;
}

class NoisyOrRateTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        tmp_ = new TempDir();
        // Few motif families and many active pairs, so that pairs carry
        // several binding variables; homodimers included; long leak groups.
        const SimRun run = RunSim({"--out",          tmp_->File("set"),
                                   "--seed",         "20240611",
                                   "--proteins",     "400",
                                   "--motifs",       "30",
                                   "--active-pairs", "150",
                                   "--pairs",        "40000",
                                   "--self-frac",    "0.01",
                                   "--leak",         "0.003",
                                   "--leak-group",   "5000",
                                   "--enrich",       "0.5",
                                   "--control-frac", "0.05",
                                   "--ddi-cover",    "1"});
        ASSERT_EQ(run.status, 0) << run.err;
        set_ = new InputSet(LoadInputSet(tmp_->File("set")));
    }
    static void TearDownTestSuite()
    {
        delete set_;
        delete tmp_;
    }

    static TempDir* tmp_;
    static InputSet* set_;
};

TempDir* NoisyOrRateTest::tmp_ = nullptr;
InputSet* NoisyOrRateTest::set_ = nullptr;

TEST_F(NoisyOrRateTest, InteractionRateFollowsNoisyOr)
{
    const InputSet& set = *set_;
    Tally all;
    Tally self;
    Tally leakOnly;
    for (const auto& r : set.truthInteractions) {
        const int p = static_cast<int>(r[0]);
        const int q = static_cast<int>(r[1]);
        const double q0 = NonInterProb(set, p, q);
        // The truth file's probability agrees with the one read from the inputs.
        EXPECT_NEAR(r[3], q0, 1e-5 * q0 + 1e-7) << "pair " << p << "," << q;
        all.Add(r[2], 1.0 - q0);
        if (p == q) {
            self.Add(r[2], 1.0 - q0);
        }
        if (q0 == std::pow(1.0 - set.leak, LeakCount(set, p, q))) {
            leakOnly.Add(r[2], 1.0 - q0);
        }
        // A pair interacts exactly when a binding or leak variable fired.
        if (r[4] == 1.0) {
            EXPECT_EQ(r[2], 1.0);
        }
    }
    ExpectMatches(all, "all tested pairs");
    ExpectMatches(self, "proteins paired with themselves");
    ExpectMatches(leakOnly, "pairs without binding variables");
    EXPECT_GT(self.n, 300);
}

TEST_F(NoisyOrRateTest, FiredBindingVariablesFollowAffinities)
{
    const InputSet& set = *set_;
    std::map<std::pair<int, int>, std::map<std::pair<int, int>, int>> fired;
    for (const auto& r : ReadRecords(set.folder / "truth_bindings.txt", 4)) {
        ++fired[{static_cast<int>(r[0]), static_cast<int>(r[1])}][{static_cast<int>(r[2]), static_cast<int>(r[3])}];
    }
    Tally strong;
    Tally weak;
    for (const auto& r : set.truthInteractions) {
        const int p = static_cast<int>(r[0]);
        const int q = static_cast<int>(r[1]);
        const auto& pairFired = fired[{p, q}];
        int firedHere = 0;
        for (const auto& [m1, l1] : set.motifs[static_cast<std::size_t>(p)]) {
            for (const auto& [m2, l2] : set.motifs[static_cast<std::size_t>(q)]) {
                const auto it = set.truthAffinity.find({std::max(m1, m2), std::min(m1, m2)});
                if (it == set.truthAffinity.end()) {
                    continue;
                }
                const auto f = pairFired.find({m1, m2});
                const int value = f == pairFired.end() ? 0 : f->second;
                EXPECT_LE(value, 1) << "a binding variable listed twice";
                firedHere += value;
                (it->second >= 0.3 ? strong : weak).Add(value, it->second);
            }
        }
        int listed = 0;
        for (const auto& [mots, count] : pairFired) {
            listed += count;
        }
        EXPECT_EQ(listed, firedHere) << "pair " << p << "," << q << " lists a binding variable it does not carry";
        if (firedHere > 0) {
            EXPECT_EQ(r[2], 1.0);
        }
    }
    ExpectMatches(strong, "strong binding variables");
    ExpectMatches(weak, "weak binding variables");
}

TEST_F(NoisyOrRateTest, ObservationsFollowTheirNoiseModels)
{
    const InputSet& set = *set_;
    std::map<std::pair<int, int>, int> state;
    for (const auto& r : set.truthInteractions) {
        state[{static_cast<int>(r[0]), static_cast<int>(r[1])}] = static_cast<int>(r[2]);
    }
    Tally falsePositive;
    Tally falseNegative;
    double scoreSum[2] = {0.0, 0.0};
    int scoreCount[2] = {0, 0};
    int controls = 0;
    for (const auto& r : set.observations) {
        const int s = state.at({static_cast<int>(std::max(r[0], r[1])), static_cast<int>(std::min(r[0], r[1]))});
        if (r[3] == -1 && r[4] == -1) {
            EXPECT_EQ(r[2], s) << "a noise-free control must report the true state";
            ++controls;
        } else if (r[3] == 0) {
            (s == 0 ? falsePositive : falseNegative)
                .Add(s == 0 ? r[2] : 1.0 - r[2],
                     s == 0 ? set.parameters.at("binary_fpr") : set.parameters.at("binary_fnr"));
        } else {
            scoreSum[s] += r[2];
            ++scoreCount[s];
        }
    }
    ExpectMatches(falsePositive, "binary assay false positives");
    ExpectMatches(falseNegative, "binary assay false negatives");
    EXPECT_GT(controls, 1000);
    for (int s : {0, 1}) {
        ASSERT_GT(scoreCount[s], 100);
        const double mean = set.parameters.at(s == 0 ? "score_mean0" : "score_mean1");
        const double se = std::sqrt(set.parameters.at("score_var") / scoreCount[s]);
        EXPECT_NEAR(scoreSum[s] / scoreCount[s], mean, Z_LIMIT * se) << "score mean in state " << s;
    }
}

TEST_F(NoisyOrRateTest, DomainEvidenceFollowsAffinitiesAndReportRates)
{
    const InputSet& set = *set_;
    Tally binding;
    Tally reportedBinding;
    Tally reportedOther;
    std::set<std::pair<int, int>> reported;
    for (const auto& r : ReadRecords(set.folder / "ddi_observations.txt", 5)) {
        EXPECT_EQ(r[2], 1.0);
        reported.insert({static_cast<int>(r[0]), static_cast<int>(r[1])});
    }
    for (const auto& r : ReadRecords(set.folder / "truth_ddi.txt", 4)) {
        const std::pair<int, int> key{static_cast<int>(r[0]), static_cast<int>(r[1])};
        binding.Add(r[2], set.truthAffinity.at(key));
        EXPECT_EQ(reported.count(key), static_cast<std::size_t>(r[3]));
        (r[2] == 1.0 ? reportedBinding : reportedOther)
            .Add(r[3], r[2] == 1.0 ? set.parameters.at("ddi_sensitivity") : set.parameters.at("ddi_fpr"));
    }
    EXPECT_EQ(binding.n, static_cast<int>(set.truthAffinity.size())) << "--ddi-cover 1 covers every active pair";
    ExpectMatches(binding, "binding motif pairs");
    ExpectMatches(reportedBinding, "reports of binding motif pairs");
    ExpectMatches(reportedOther, "reports of non-binding motif pairs");
}

TEST(NoLeakTest, PairsWithoutBindingVariablesNeverInteract)
{
    TempDir tmp;
    const SimRun run = RunSim({"--out", tmp.File("set"), "--leak-type", "2", "--pairs", "5000", "--enrich", "0.2"});
    ASSERT_EQ(run.status, 0) << run.err;
    const InputSet set = LoadInputSet(tmp.File("set"));
    int withoutVariables = 0;
    for (const auto& r : set.truthInteractions) {
        if (NonInterProb(set, static_cast<int>(r[0]), static_cast<int>(r[1])) == 1.0) {
            ++withoutVariables;
            EXPECT_EQ(r[2], 0.0);
            EXPECT_EQ(r[4], 0.0);
        }
    }
    EXPECT_GT(withoutVariables, 1000);
}

} // namespace

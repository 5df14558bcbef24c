// The domain-domain database observes one binding state per motif pair:
// Z ~ Bernoulli(affinity), drawn apart from the binding variables of the
// protein pairs, and listed with the database's sensitivity when Z = 1 and
// its false-positive rate when Z = 0. The estimator with a shared state
// assumes exactly this, so a state copied from the protein pairs (say, "some
// variable of the pair fired") or a listing that looks past the state would
// make the simulator plant something else. Thousands of motif pairs, each on
// many protein pairs, make such a dependence visible.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

#include "tools/sim/tests/SimTestSupport.h"

namespace {

constexpr double Z_LIMIT = 5.0;

using Key = std::pair<int, int>; // (larger, smaller) motif id

// A sum of terms with known mean and variance under the model.
struct Sum {
    double observed = 0.0;
    double expected = 0.0;
    double variance = 0.0;
    int n = 0;

    void Add(double value, double mean, double var)
    {
        observed += value;
        expected += mean;
        variance += var;
        ++n;
    }
    void AddBernoulli(double outcome, double p) { Add(outcome, p, p * (1.0 - p)); }
};

void ExpectWithin(const Sum& s, const std::string& what, int minSamples)
{
    ASSERT_GE(s.n, minSamples) << what << ": too few samples";
    EXPECT_LE(std::abs(s.observed - s.expected), Z_LIMIT * std::sqrt(s.variance) + 1e-9)
        << what << ": observed " << s.observed << ", expected " << s.expected << " over " << s.n;
}

struct MotifPairTruth {
    double affinity = 0.0;
    int state = -1; // -1: not covered by the database
    int listed = -1;
    int variables = 0; // binding variables on the tested protein pairs
    int fired = 0;
};

class DdiStateTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        tmp_ = new TempDir();
        // Many active motif pairs, half of them strong so that both states
        // are common, and tested pairs drawn mostly where active pairs sit.
        const SimRun run = RunSim({"--out",          tmp_->File("set"),
                                   "--seed",         "977",
                                   "--proteins",     "3000",
                                   "--motifs",       "400",
                                   "--active-pairs", "4000",
                                   "--strong-frac",  "0.5",
                                   "--pairs",        "60000",
                                   "--enrich",       "0.9",
                                   "--ddi-cover",    "1",
                                   "--ddi-sens",     "0.6",
                                   "--ddi-fpr",      "0.05",
                                   "--self-frac",    "0.005"});
        ASSERT_EQ(run.status, 0) << run.err;
        set_ = new InputSet(LoadInputSet(tmp_->File("set")));
        truth_ = new std::map<Key, MotifPairTruth>();
        Collect(*set_, *truth_);
    }
    static void TearDownTestSuite()
    {
        delete truth_;
        delete set_;
        delete tmp_;
    }

    static void Collect(const InputSet& set, std::map<Key, MotifPairTruth>& truth)
    {
        for (const auto& [key, a] : set.truthAffinity) {
            truth[key].affinity = a;
        }
        for (const auto& r : ReadRecords(set.folder / "truth_ddi.txt", 4)) {
            MotifPairTruth& t = truth.at({static_cast<int>(r[0]), static_cast<int>(r[1])});
            t.state = static_cast<int>(r[2]);
            t.listed = static_cast<int>(r[3]);
        }
        // Variables per tested protein pair: every ordered combination of a
        // motif of one protein and a motif of the other whose pair is active.
        std::map<Key, std::map<Key, int>> fired;
        for (const auto& r : ReadRecords(set.folder / "truth_bindings.txt", 4)) {
            ++fired[{static_cast<int>(r[0]), static_cast<int>(r[1])}][{static_cast<int>(r[2]), static_cast<int>(r[3])}];
        }
        for (const auto& r : set.truthInteractions) {
            const int p = static_cast<int>(r[0]);
            const int q = static_cast<int>(r[1]);
            const auto& here = fired[{p, q}];
            for (const auto& [m1, l1] : set.motifs[static_cast<std::size_t>(p)]) {
                for (const auto& [m2, l2] : set.motifs[static_cast<std::size_t>(q)]) {
                    const auto it = truth.find({std::max(m1, m2), std::min(m1, m2)});
                    if (it == truth.end()) {
                        continue;
                    }
                    const auto f = here.find({m1, m2});
                    ++it->second.variables;
                    it->second.fired += f == here.end() ? 0 : f->second;
                }
            }
        }
    }

    static TempDir* tmp_;
    static InputSet* set_;
    static std::map<Key, MotifPairTruth>* truth_;
};

TempDir* DdiStateTest::tmp_ = nullptr;
InputSet* DdiStateTest::set_ = nullptr;
std::map<Key, MotifPairTruth>* DdiStateTest::truth_ = nullptr;

TEST_F(DdiStateTest, StatesFollowAffinitiesAndListingsFollowStates)
{
    const double sens = set_->parameters.at("ddi_sensitivity");
    const double fpr = set_->parameters.at("ddi_fpr");
    EXPECT_EQ(sens, 0.6);
    EXPECT_EQ(fpr, 0.05);
    Sum strongState;
    Sum weakState;
    Sum listedBinding;
    Sum listedOther;
    for (const auto& [key, t] : *truth_) {
        ASSERT_NE(t.state, -1) << "--ddi-cover 1 covers every active pair, not " << key.first << "," << key.second;
        ASSERT_TRUE(t.state == 0 || t.state == 1);
        (t.affinity >= 0.3 ? strongState : weakState).AddBernoulli(t.state, t.affinity);
        (t.state == 1 ? listedBinding : listedOther).AddBernoulli(t.listed, t.state == 1 ? sens : fpr);
    }
    // The share of Z = 1 is the mean affinity, for strong and weak pairs alike.
    ExpectWithin(strongState, "binding states of strong pairs", 1500);
    ExpectWithin(weakState, "binding states of weak pairs", 1500);
    // Listing rates given the state are the database's rates, within a few
    // points for these counts.
    ExpectWithin(listedBinding, "listings of binding motif pairs", 1000);
    ExpectWithin(listedOther, "listings of non-binding motif pairs", 1000);
    EXPECT_NEAR(listedBinding.observed / listedBinding.n, sens, 0.04);
    EXPECT_NEAR(listedOther.observed / listedOther.n, fpr, 0.015);
}

TEST_F(DdiStateTest, StateAndListingAreIndependentOfTheBindingVariables)
{
    // Given the affinity a and n variables, the fired count F ~ Binomial(n, a)
    // and Z ~ Bernoulli(a) are independent, so (Z - a)(F - n a) / (a(1 - a) n)
    // has mean 0 and variance 1/n. A state that copies one binding variable
    // of the motif pair has covariance a(1 - a) with F, and this weighting
    // gives that dependence its largest mean over spread: on this set it sits
    // some ten spreads away. The same for the listing L, whose expectation
    // given Z is the database's rate and which must not look at F.
    const double sens = set_->parameters.at("ddi_sensitivity");
    const double fpr = set_->parameters.at("ddi_fpr");
    Sum stateCov;
    Sum listingCov;
    Sum firedGivenBinding;
    Sum firedGivenOther;
    for (const auto& [key, t] : *truth_) {
        if (t.variables == 0) {
            continue;
        }
        const double a = t.affinity;
        const double n = t.variables;
        const double varF = n * a * (1.0 - a);
        const double spread = std::sqrt(a * (1.0 - a));
        stateCov.Add((t.state - a) * (t.fired - n * a) / (spread * spread * n), 0.0, 1.0 / n);
        const double rate = t.state == 1 ? sens : fpr;
        listingCov.Add((t.listed - rate) * (t.fired - n * a) / (std::sqrt(rate * (1.0 - rate)) * spread * n), 0.0,
                       1.0 / n);
        // Fired variables given the state still follow the affinity alone.
        (t.state == 1 ? firedGivenBinding : firedGivenOther).Add(t.fired, n * a, varF);
    }
    ExpectWithin(stateCov, "covariance of state and fired variables", 2000);
    ExpectWithin(listingCov, "covariance of listing and fired variables, given the state", 2000);
    ExpectWithin(firedGivenBinding, "fired variables of binding motif pairs", 1000);
    ExpectWithin(firedGivenOther, "fired variables of non-binding motif pairs", 1000);
}

} // namespace

// What the report calls degenerate: rates at 0 or 1 and pairs tied at
// interaction probability exactly 1, and what it says of them.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/report/Degeneracy.h"

namespace {

NoiseRate Rate(const std::string& set, int model, int state, double prob0)
{
    NoiseRate r;
    r.set = set;
    r.model = model;
    r.state = state;
    r.prob0 = LoggedNumber{std::to_string(prob0), prob0};
    return r;
}

InteractionPrediction Pair(int a, int b, double qc, std::optional<double> posterior)
{
    InteractionPrediction p;
    p.a = a;
    p.b = b;
    p.qw = LoggedNumber{"", qc};
    p.qc = LoggedNumber{"", qc};
    if (posterior) {
        p.posterior = LoggedNumber{"", *posterior};
    }
    return p;
}

} // namespace

TEST(DegeneracyTest, RatesWithinOneMillionthOfZeroOrOne)
{
    // Both ends of prob0 count, whichever rate the state makes of it.
    for (const double p0 : {0.0, 5e-7, 1.0 - 5e-7, 1.0}) {
        EXPECT_TRUE(Rate("domain-domain", 0, 0, p0).Degenerate()) << p0;
    }
    for (const double p0 : {2e-6, 0.5, 1.0 - 2e-6, std::nan("")}) {
        EXPECT_FALSE(Rate("domain-domain", 0, 0, p0).Degenerate()) << p0;
    }
    const std::vector<NoiseRate> rates{Rate("protein-protein", 0, 0, 0.98), Rate("protein-protein", 1, 1, 1e-30),
                                       Rate("domain-domain", 0, 0, 1.0), Rate("domain-domain", 3, -1, 0.5)};
    const Degeneracy d = FindDegeneracy(rates, nullptr, RunInputs());
    ASSERT_EQ(d.rates.size(), 2u);
    EXPECT_TRUE(d.Any());
    EXPECT_EQ(d.Text(),
              "learned noise rates at 0 or 1: protein-protein model 1 (interacting pairs) false-negative "
              "rate 1e-30, domain-domain model 0 (non-binding motif pairs) false-positive rate 0");
    EXPECT_EQ(RatesText(rates),
              "protein-protein model 0 false-positive rate 0.02, model 1 false-negative rate "
              "1e-30; domain-domain model 0 false-positive rate 0, model 3 chance of observing 1 "
              "0.5");
    EXPECT_EQ(RatesText({}), "none");
}

TEST(DegeneracyTest, TiedPairsAreThoseWithNonInteractionExactlyZero)
{
    // The posterior decides when there is one, the model alone otherwise; a
    // non-interaction probability of 1e-300 is no tie, though 1 minus it is
    // 1 in doubles. (3,1) is made certain by a noise-free observation.
    Predictions p;
    p.interactions = {Pair(1, 0, 0.5, 0.0), Pair(2, 0, 0.0, std::nullopt), Pair(3, 0, 0.0, 0.2),
                      Pair(4, 0, 0.5, 1e-300), Pair(3, 1, 0.4, 0.0)};
    RunInputs inputs;
    inputs.certainPairs = {{3, 1}, {4, 0}};
    const Degeneracy d = FindDegeneracy({}, &p, inputs);
    EXPECT_EQ(d.certain, 3u);
    EXPECT_EQ(d.explained, 1u);
    EXPECT_EQ(d.Text(),
              "2 listed protein pairs tied at interaction probability exactly 1 (and 1 more that a "
              "noise-free observation makes certain)");

    // Ties that observations explain, and sound rates: nothing to flag.
    p.interactions = {Pair(3, 1, 0.4, 0.0), Pair(1, 0, 0.5, 0.3)};
    const Degeneracy fine = FindDegeneracy({Rate("domain-domain", 0, 0, 0.99)}, &p, inputs);
    EXPECT_EQ(fine.certain, 1u);
    EXPECT_FALSE(fine.Any());
    p.interactions = {Pair(2, 0, 0.0, std::nullopt)};
    EXPECT_EQ(FindDegeneracy({}, &p, RunInputs()).Text(),
              "1 listed protein pair tied at interaction probability exactly 1");
}

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <limits>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "dist/Distribution.h"
#include "dist/SimpleDists.h"

namespace {

std::unique_ptr<Distribution> Read(const std::string& text)
{
    std::istringstream in(text);
    return ReadDistribution(in);
}

std::string PrintOf(const Distribution& d, int sep)
{
    std::ostringstream out;
    out.precision(15);
    d.Print(out, sep);
    return out.str();
}

} // namespace

TEST(ReadDistribution, TokensAndLayouts)
{
    // Any white space separates; the parameters are read in file order.
    auto b = Read("OM_BINARY\n\t0.3");
    auto g = Read("OM_GAUSSIAN  1.5\n\n2");
    auto e = Read("OM_EXPONENTIAL 2 1 0.5");
    auto u = Read("OM_UNIFORM\t0\t4\t2");
    ASSERT_TRUE(b && g && e && u);
    EXPECT_EQ(PrintOf(*b, 1), "OM_BINARY\t0.3\n");
    EXPECT_EQ(PrintOf(*g, 1), "OM_GAUSSIAN\t1.5\t2\n");
    EXPECT_EQ(PrintOf(*e, 1), "OM_EXPONENTIAL\t2\t1\t0.5\n");
    EXPECT_EQ(PrintOf(*u, 1), "OM_UNIFORM\t0\t4\t2\n");
    EXPECT_EQ(PrintOf(*e, 0), "OM_EXPONENTIAL\t2\t1\t0.5");
    EXPECT_EQ(PrintOf(*u, 7), "OM_UNIFORM\t0\t4\t2");
    EXPECT_EQ(PrintOf(GaussianDist(1.0 / 3, 0.1), 0), "OM_GAUSSIAN\t0.333333333333333\t0.1");

    // A printed distribution reads back as itself.
    for (const Distribution* d : {b.get(), g.get(), e.get(), u.get()}) {
        auto again = Read(PrintOf(*d, 0));
        ASSERT_TRUE(again);
        EXPECT_EQ(PrintOf(*again, 1), PrintOf(*d, 1));
    }

    // Only the parameters of the kind are consumed.
    std::istringstream in("OM_GAUSSIAN 0 1 next");
    ASSERT_TRUE(ReadDistribution(in));
    std::string rest;
    in >> rest;
    EXPECT_EQ(rest, "next");
}

TEST(ReadDistribution, UnknownWordGivesNone)
{
    for (const char* word : {"om_binary", "OM_Gaussian", "OM_BINARYX", "BINARY", "OM_POISSON"}) {
        std::istringstream in(std::string(word) + " 0.3 1");
        std::string bad;
        EXPECT_EQ(ReadDistribution(in, &bad), nullptr) << word;
        EXPECT_EQ(bad, word);
        double next = 0.0;
        in >> next; // only the word was consumed
        EXPECT_EQ(next, 0.3);
    }
}

TEST(BinaryDist, NoisePriorIsAMapEstimateThatNeverReachesTheEnds)
{
    // 10 pseudo-counts centred on 0.9: 9 zeros and 1 one.
    BinaryDist d(0.9);
    d.SetNoisePrior(10);
    EXPECT_DOUBLE_EQ(d.LogPrior(), 9 * std::log(0.9) + 1 * std::log(0.1));
    d.Learn({{0.5, 0}, {1.5, 1}}, std::cout);
    EXPECT_DOUBLE_EQ(d.GetProb0(), (0.5 + 9) / (2 + 10));
    EXPECT_DOUBLE_EQ(d.LogPrior(), 9 * std::log(9.5 / 12) + 1 * std::log(2.5 / 12));
    // Data of one kind only pull the rate towards an end, never onto it.
    d.Learn({{1e9, 1}}, std::cout);
    EXPECT_GT(d.GetProb0(), 0.0);
    EXPECT_DOUBLE_EQ(d.GetProb0(), 9 / (1e9 + 10));
    d.Learn({{1e9, 0}}, std::cout);
    EXPECT_LT(d.GetProb0(), 1.0);
    // No data: the prior alone, its centre. Weights that are not finite say
    // nothing: the rate stays.
    d.Learn({}, std::cout);
    EXPECT_DOUBLE_EQ(d.GetProb0(), 0.9);
    d.Learn({{std::numeric_limits<double>::infinity(), 0}}, std::cout);
    EXPECT_DOUBLE_EQ(d.GetProb0(), 0.9);
    // The running sums give the same estimate, and a copy keeps the prior.
    StatSums sums;
    sums.Add(0.5, 0);
    sums.Add(1.5, 1);
    const auto copy = d.Duplicate();
    copy->LearnSums(sums, {}, std::cout);
    EXPECT_DOUBLE_EQ(static_cast<const BinaryDist&>(*copy).GetProb0(), 9.5 / 12);
    // Strength 0 is the maximum-likelihood estimate again.
    d.SetNoisePrior(0);
    EXPECT_EQ(d.LogPrior(), 0.0);
    d.Learn({{2.0, 1}}, std::cout);
    EXPECT_EQ(d.GetProb0(), 0.0);
    // A prior centred on an end adds nothing on the other side, so its log
    // density at that end is finite.
    BinaryDist end(1.0);
    end.SetNoisePrior(5);
    EXPECT_EQ(end.LogPrior(), 0.0);
    // The kinds without a prior ignore it.
    GaussianDist g(0, 1);
    g.SetNoisePrior(10);
    EXPECT_EQ(g.LogPrior(), 0.0);
}

TEST(BinaryDist, ProbAssertAndLearn)
{
    auto d = Read("OM_BINARY 0.3");
    EXPECT_EQ(d->GetProb(0), 0.3);
    EXPECT_EQ(d->GetProb(-9e-06), 0.3);
    EXPECT_EQ(d->GetProb(1e-05), 1 - 0.3); // the tolerance is strict
    EXPECT_EQ(d->GetProb(1), 1 - 0.3);
    EXPECT_EQ(d->GetProb(0.5), 1 - 0.3);
    EXPECT_TRUE(d->Assert(0));
    EXPECT_TRUE(d->Assert(0.999995));
    EXPECT_FALSE(d->Assert(0.5));
    EXPECT_FALSE(d->Assert(2));

    d->Learn({{0.25, 0}, {0.75, 1}}, std::cout);
    EXPECT_EQ(PrintOf(*d, 0), "OM_BINARY\t0.25");
    // Values near 0 count as 0, everything else as 1: 0.5 / (0.5 + 1.5 + 2).
    d->Learn({{0.5, 4e-06}, {1.5, 0.3}, {2.0, 1}}, std::cout);
    EXPECT_EQ(PrintOf(*d, 0), "OM_BINARY\t0.125");

    // No weight: the data say nothing, the parameter stays.
    d->Learn({}, std::cout);
    EXPECT_EQ(PrintOf(*d, 0), "OM_BINARY\t0.125");
    d->Learn({{1.0, 0}, {-1.0, 1}}, std::cout);
    EXPECT_EQ(PrintOf(*d, 0), "OM_BINARY\t0.125");
}

TEST(GaussianDist, DensityAndLearn)
{
    auto d = Read("OM_GAUSSIAN 0 1");
    // 1/sqrt(6.28318), not 1/sqrt(2 pi) = 0.39894228.
    EXPECT_NEAR(d->GetProb(0), 0.39894245, 5e-9);
    EXPECT_DOUBLE_EQ(d->GetProb(0), 1 / std::sqrt(6.28318));
    EXPECT_TRUE(d->Assert(-1e300));
    auto w = Read("OM_GAUSSIAN 1 4");
    // d = 3, variance 4: exp(-9/8) / sqrt(4 * 6.28318).
    EXPECT_DOUBLE_EQ(w->GetProb(-2), std::exp(-1.125) / std::sqrt(25.13272));

    d->Learn({{1, 2}, {1, 4}}, std::cout);
    EXPECT_EQ(PrintOf(*d, 0), "OM_GAUSSIAN\t3\t1");
    // Weighted: mean (1*0 + 3*4)/4 = 3, variance (1*9 + 3*1)/4 = 3.
    d->Learn({{1, 0}, {3, 4}}, std::cout);
    EXPECT_EQ(PrintOf(*d, 0), "OM_GAUSSIAN\t3\t3");

    // Guards: no weight; every value equal (variance 0); an infinite value.
    d->Learn({}, std::cout);
    d->Learn({{0.0, 7}}, std::cout);
    d->Learn({{1, 5}, {2, 5}}, std::cout);
    d->Learn({{1, std::numeric_limits<double>::infinity()}, {1, 0}}, std::cout);
    EXPECT_EQ(PrintOf(*d, 0), "OM_GAUSSIAN\t3\t3");
}

TEST(ExponentialDist, BothSidesAndLearn)
{
    auto l = Read("OM_EXPONENTIAL 2 1 0.5");
    EXPECT_DOUBLE_EQ(l->GetProb(1), 0.5 * std::exp(-0.5));
    EXPECT_DOUBLE_EQ(l->GetProb(3), 0.5 * std::exp(0.5)); // no zero off the support
    EXPECT_TRUE(l->Assert(2));
    EXPECT_TRUE(l->Assert(-5));
    EXPECT_FALSE(l->Assert(2.5));
    auto r = Read("OM_EXPONENTIAL 1 0 2");
    EXPECT_DOUBLE_EQ(r->GetProb(1.5), 2 * std::exp(-1.0));
    EXPECT_DOUBLE_EQ(r->GetProb(0), 2 * std::exp(2.0));
    EXPECT_TRUE(r->Assert(1));
    EXPECT_FALSE(r->Assert(0.5));

    // Right: mean (1*2 + 3*3)/4 = 2.75, lambda = 1/(2.75 - 1) = 0.571428571428571.
    r->Learn({{1, 2}, {3, 3}}, std::cout);
    EXPECT_EQ(PrintOf(*r, 0), "OM_EXPONENTIAL\t1\t0\t0.571428571428571");
    // Left: mean (3*0 + 2*1)/5 = 0.4, lambda = 1/(2 - 0.4) = 0.625.
    l->Learn({{3, 0}, {2, 1}, {0, 9}}, std::cout);
    EXPECT_EQ(PrintOf(*l, 0), "OM_EXPONENTIAL\t2\t1\t0.625");

    // Guards: no weight; mean at the shift; mean on the wrong side.
    r->Learn({}, std::cout);
    r->Learn({{1, 0.5}, {1, 1.5}}, std::cout);
    r->Learn({{1, 0.5}}, std::cout);
    EXPECT_EQ(PrintOf(*r, 0), "OM_EXPONENTIAL\t1\t0\t0.571428571428571");
}

TEST(UniformDist, InclusivenessCodes)
{
    // {code, density at 0, density at 1}
    const double table[4][3] = {{0, 0.0, 0.0}, {1, 0.0, 1.0}, {2, 1.0, 0.0}, {3, 1.0, 1.0}};
    for (const auto& row : table) {
        auto u = Read("OM_UNIFORM 0 1 " + std::to_string(int(row[0])));
        EXPECT_EQ(u->GetProb(0), row[1]) << row[0];
        EXPECT_EQ(u->GetProb(1), row[2]) << row[0];
        EXPECT_EQ(u->GetProb(0.5), 1.0) << row[0];
        EXPECT_EQ(u->GetProb(1.0000001), 0.0);
        EXPECT_TRUE(u->Assert(7));
    }
    auto w = Read("OM_UNIFORM -1 3 3");
    EXPECT_EQ(w->GetProb(-1), 0.25);
    EXPECT_EQ(w->GetProb(2), 0.25);
    w->Learn({{1, 0}, {2, 5}}, std::cout);
    EXPECT_EQ(PrintOf(*w, 1), "OM_UNIFORM\t-1\t3\t3\n");
    auto copy = w->Duplicate(); // the density comes along
    w.reset();
    EXPECT_EQ(copy->GetProb(3), 0.25);
    EXPECT_EQ(copy->GetProb(5), 0.0);
}

// Every kind learns from the running sums of its values (and the values
// themselves where it needs them) exactly what it learns from their list,
// and evaluates many values in one pass exactly as one at a time.
TEST(Distribution, RunningSumsLearnWhatTheListTeaches)
{
    const char* kinds[] = {"OM_BINARY 0.3",
                           "OM_GAUSSIAN 1 2",
                           "OM_EXPONENTIAL -1 0 0.5",
                           "OM_EXPONENTIAL 4 1 2",
                           "OM_UNIFORM 0 1 3",
                           "OM_MIXTURE 4 2 0.5 OM_GAUSSIAN 0 1 0.5 OM_EXPONENTIAL -1 0 1",
                           "OM_MIXTURE 3 2 0.4 OM_BINARY 0.9 0.6 OM_MIXTURE 2 1 1 OM_GAUSSIAN 0.5 1"};
    const bool needsList[] = {false, true, false, false, false, true, true};
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> u(0, 1);
    for (int k = 0; k < 7; ++k) {
        for (int trial = 0; trial < 20; ++trial) {
            // Weights as the E-step gives them, zeros among them; values
            // that are 0 or 1 or scores, some within 1e-05 of 0.
            StatList list;
            const int n = trial == 0 ? 0 : int(rng() % 60) + 1;
            for (int i = 0; i < n; ++i) {
                const double w = rng() % 7 == 0 ? 0.0 : u(rng);
                const int pick = int(rng() % 4);
                const double v = pick == 0 ? 0.0 : pick == 1 ? 1.0 : pick == 2 ? (u(rng) - 0.5) * 2e-5 : u(rng) * 3;
                list.emplace_back(w, v);
            }
            StatSums sums;
            for (const auto& [w, v] : list)
                sums.Add(w, v);
            auto byList = Read(kinds[k]);
            auto bySums = Read(kinds[k]);
            ASSERT_EQ(bySums->NeedsList(), needsList[k]) << kinds[k];
            std::ostringstream quietA, quietB;
            byList->Learn(list, quietA);
            bySums->LearnSums(sums, needsList[k] ? list : StatList(), quietB);
            std::ostringstream a, b;
            a.precision(17);
            b.precision(17);
            byList->Print(a, 0);
            bySums->Print(b, 0);
            EXPECT_EQ(a.str(), b.str()) << kinds[k] << " trial " << trial;
            EXPECT_EQ(quietA.str(), quietB.str());

            std::vector<double> vals, out(list.size());
            for (const auto& [w, v] : list)
                vals.push_back(v);
            bySums->GetProbs(vals.data(), out.data(), vals.size());
            for (std::size_t i = 0; i < vals.size(); ++i)
                ASSERT_EQ(std::bit_cast<std::uint64_t>(out[i]), std::bit_cast<std::uint64_t>(bySums->GetProb(vals[i])))
                    << kinds[k] << " value " << vals[i];
        }
    }
}

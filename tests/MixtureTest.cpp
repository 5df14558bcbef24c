#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "dist/Distribution.h"
#include "dist/MixtureDist.h"
#include "dist/SimpleDists.h"

namespace {

// Mixture learning reports on the stream it is given: learn and return that
// text, checking that nothing reaches standard output.
std::string Learned(Distribution& d, const StatList& ss)
{
    std::ostringstream buf, console;
    std::streambuf* old = std::cout.rdbuf(console.rdbuf());
    d.Learn(ss, buf);
    std::cout.rdbuf(old);
    EXPECT_EQ(console.str(), "");
    return buf.str();
}

const std::string kLL = "Log likelihood at start of iteration ";

std::unique_ptr<MixtureDist> ReadMix(const std::string& text)
{
    std::istringstream in(text);
    auto d = ReadDistribution(in);
    auto* m = dynamic_cast<MixtureDist*>(d.get());
    if (m)
        d.release();
    return std::unique_ptr<MixtureDist>(m);
}

std::string PrintOf(const Distribution& d, int sep)
{
    std::ostringstream out;
    out.precision(15);
    d.Print(out, sep);
    return out.str();
}

// Console numbers keep the default six significant digits.
std::string Console(double x)
{
    std::ostringstream out;
    out << x;
    return out.str();
}

double Gauss(double v, double mean, double var)
{
    return std::exp(-(v - mean) * (v - mean) / (2 * var)) / std::sqrt(var * 6.28318);
}

const GaussianDist& GaussAt(const MixtureDist& m, int i) { return dynamic_cast<const GaussianDist&>(m.GetDist(i)); }

} // namespace

TEST(MixtureDist, ReadPrintAndEvaluate)
{
    auto m = ReadMix("OM_MIXTURE 50 2 0.3 OM_BINARY 0.9\n0.7 OM_GAUSSIAN 0 1");
    ASSERT_TRUE(m);
    EXPECT_EQ(PrintOf(*m, 1), "OM_MIXTURE\t50\t2\n0.3\tOM_BINARY\t0.9\n0.7\tOM_GAUSSIAN\t0\t1\n");
    EXPECT_EQ(PrintOf(*m, 0), "OM_MIXTURE\t50\t2\t0.3\tOM_BINARY\t0.9\t0.7\tOM_GAUSSIAN\t0\t1");
    EXPECT_EQ(PrintOf(*m, 2), "OM_MIXTURE\t50\t20.3\tOM_BINARY\t0.90.7\tOM_GAUSSIAN\t0\t1");
    EXPECT_DOUBLE_EQ(m->GetProb(0), 0.9 * 0.3 + 0.7 / std::sqrt(6.28318));
    EXPECT_TRUE(m->Assert(1));
    EXPECT_FALSE(m->Assert(0.5)); // the binary component refuses it

    // A mixture inside a mixture; weights need not sum to 1 when read.
    auto n = ReadMix("OM_MIXTURE 5 2\n0.4 OM_MIXTURE 7 1\n1 OM_BINARY 0.2\n0.7 OM_UNIFORM 0 4 2");
    ASSERT_TRUE(n);
    const std::string lines = "OM_MIXTURE\t5\t2\n0.4\tOM_MIXTURE\t7\t1\n1\tOM_BINARY\t0.2\n0.7\tOM_UNIFORM\t0\t4\t2\n";
    const std::string run = "OM_MIXTURE\t5\t2\t0.4\tOM_MIXTURE\t7\t1\t1\tOM_BINARY\t0.2\t0.7\tOM_UNIFORM\t0\t4\t2";
    EXPECT_EQ(PrintOf(*n, 1), lines);
    EXPECT_EQ(PrintOf(*n, 0), run);
    // (0.2 * 1) * 0.4 + 0.25 * 0.7
    EXPECT_DOUBLE_EQ(n->GetProb(0), 0.08 + 0.175);
    EXPECT_EQ(PrintOf(*ReadMix(lines), 0), run);
    EXPECT_EQ(PrintOf(*ReadMix(run), 1), lines);

    auto e = ReadMix("OM_MIXTURE 5 0");
    EXPECT_EQ(PrintOf(*e, 1), "OM_MIXTURE\t5\t0\n");
    EXPECT_EQ(e->GetProb(0.5), 0.0);
    EXPECT_TRUE(e->Assert(0.5));
}

TEST(MixtureDist, UnknownComponentWordGivesNone)
{
    for (const char* text :
         {"OM_MIXTURE 5 2 0.5 OM_BINARY 0.1 0.5 OM_BINOMIAL 3", "OM_MIXTURE 5 1 1 OM_MIXTURE 3 1 1 OM_BINOMIAL 0 1"}) {
        std::istringstream in(text);
        std::string bad;
        EXPECT_EQ(ReadDistribution(in, &bad), nullptr) << text;
        EXPECT_EQ(bad, "OM_BINOMIAL");
    }
}

TEST(MixtureDist, IterationLimits)
{
    const std::string text = "OM_MIXTURE 0 2 0.3 OM_BINARY 0.9 0.7 OM_GAUSSIAN 0 1";
    auto m = ReadMix(text);
    EXPECT_EQ(Learned(*m, {{1, 0}, {1, 2}}), "Warning: not converge. Too many iters: 0\n");
    EXPECT_EQ(PrintOf(*m, 0), PrintOf(*ReadMix(text), 0));

    auto neg = ReadMix("OM_MIXTURE -3 1 1 OM_GAUSSIAN 0 1");
    EXPECT_EQ(Learned(*neg, {{1, 2}, {1, 4}}), "Converged in 0 iterations\n");
    EXPECT_EQ(PrintOf(*neg, 0), "OM_MIXTURE\t-3\t1\t1\tOM_GAUSSIAN\t0\t1");

    // No pairs: the threshold is 0 and a zero change is not below it, so
    // every iteration runs; nothing can be learned, nothing changes.
    const std::string unchanged = "OM_MIXTURE\t3\t2\t0.2\tOM_GAUSSIAN\t0\t1\t0.8\tOM_BINARY\t0.4";
    auto none = ReadMix(unchanged);
    EXPECT_EQ(Learned(*none, {}),
              kLL + "0: 0\n" + kLL + "1: 0\n" + kLL + "2: 0\n" + "Warning: not converge. Too many iters: 3\n");
    EXPECT_EQ(PrintOf(*none, 0), unchanged);
    // Pairs of tiny weight are skipped but counted in the threshold (3e-05).
    EXPECT_EQ(Learned(*none, {{1e-09, 0}, {0.0, 1}, {-2.0, 1}}),
              kLL + "0: 0\n" + kLL + "1: 0\nConverged in 1 iterations\n");
    EXPECT_EQ(PrintOf(*none, 0), unchanged);
}

TEST(MixtureDist, ConvergenceCountsAndThreshold)
{
    // One binary component: iteration 0 scores prob0 0.5 (LL = ln 0.5), then
    // prob0 becomes 0.25; iteration 1 scores 0.25 ln 0.25 + 0.75 ln 0.75 =
    // -0.562335; iteration 2 scores the same and stops uncounted.
    const StatList ss = {{0.25, 0}, {0.75, 1}};
    auto m = ReadMix("OM_MIXTURE 10 1 1 OM_BINARY 0.5");
    EXPECT_EQ(Learned(*m, ss),
              kLL + "0: -0.693147\n" + kLL + "1: -0.562335\n" + kLL + "2: -0.562335\n" + "Converged in 2 iterations\n");
    EXPECT_EQ(PrintOf(*m, 0), "OM_MIXTURE\t10\t1\t1\tOM_BINARY\t0.25");
    auto two = ReadMix("OM_MIXTURE 2 1 1 OM_BINARY 0.5");
    EXPECT_EQ(Learned(*two, ss),
              kLL + "0: -0.693147\n" + kLL + "1: -0.562335\nWarning: not converge. Too many iters: 2\n");

    // The threshold is 1e-05 per pair, skipped pairs included: starting from
    // prob0 = 0.2531 the first gain lies between 2e-05 and 3e-05, so a third
    // pair of weight 0 turns "2 iterations" into "1".
    const double p = 0.2531;
    const double gain = (0.25 * std::log(0.25) + 0.75 * std::log(0.75)) - (0.25 * std::log(p) + 0.75 * std::log(1 - p));
    ASSERT_GT(gain, 2e-05);
    ASSERT_LT(gain, 3e-05);
    auto a = ReadMix("OM_MIXTURE 10 1 1 OM_BINARY 0.2531");
    auto b = ReadMix("OM_MIXTURE 10 1 1 OM_BINARY 0.2531");
    EXPECT_NE(Learned(*a, ss).find("Converged in 2 iterations\n"), std::string::npos);
    EXPECT_NE(Learned(*b, {{0.25, 0}, {0.75, 1}, {0.0, 1}}).find("Converged in 1 iterations\n"), std::string::npos);
}

TEST(MixtureDist, LearnsComponentsAndWeights)
{
    // One component: its weight becomes 1 and it learns from the pairs as given.
    auto one = ReadMix("OM_MIXTURE 1 1 0.3 OM_GAUSSIAN 0 1");
    const double ll1 = std::log(0.3 * Gauss(2, 0, 1)) + std::log(0.3 * Gauss(4, 0, 1));
    EXPECT_EQ(Learned(*one, {{1, 2}, {1, 4}}),
              kLL + "0: " + Console(ll1) + "\nWarning: not converge. Too many iters: 1\n");
    EXPECT_DOUBLE_EQ(one->GetWeights()[0], 1.0);
    EXPECT_DOUBLE_EQ(GaussAt(*one, 0).GetMean(), 3.0);
    EXPECT_DOUBLE_EQ(GaussAt(*one, 0).GetVar(), 1.0);

    // Two Gaussians at 0 and 10 and one pair at each: each component takes
    // its own value with responsibility 1 - e, e = exp(-50) / (1 + exp(-50)).
    auto two = ReadMix("OM_MIXTURE 1 2 0.5 OM_GAUSSIAN 0 1 0.5 OM_GAUSSIAN 10 1");
    const double ll2 = std::log(0.5 * Gauss(0, 0, 1) + 0.5 * Gauss(0, 10, 1)) +
                       std::log(0.5 * Gauss(10, 0, 1) + 0.5 * Gauss(10, 10, 1));
    EXPECT_NEAR(ll2, 2 * std::log(0.5 / std::sqrt(6.28318)), 1e-12);
    EXPECT_EQ(Learned(*two, {{1, 0}, {1, 10}}),
              kLL + "0: " + Console(ll2) + "\nWarning: not converge. Too many iters: 1\n");
    const double e = std::exp(-50.0) / (1 + std::exp(-50.0));
    EXPECT_NEAR(two->GetWeights()[0], 0.5, 1e-15);
    EXPECT_NEAR(two->GetWeights()[1], 0.5, 1e-15);
    EXPECT_NEAR(GaussAt(*two, 0).GetMean(), 10 * e, 1e-30);
    EXPECT_NEAR(GaussAt(*two, 1).GetMean(), 10 - 10 * e, 1e-12);
    // Variance (1-e) m^2 + e (10-m)^2 with m = 10e: about 100e.
    EXPECT_NEAR(GaussAt(*two, 0).GetVar(), 100 * e, 1e-30);
    EXPECT_GT(GaussAt(*two, 1).GetVar(), 0.0);
}

// A value no component can produce carries no responsibility: it is left out
// of the likelihood and of every component's statistics.
TEST(MixtureDist, ValueImpossibleUnderEveryComponent)
{
    // ln 0.2 + ln 0.8 = -1.83258; then weights 0.5 each: 2 ln 0.5 = -1.38629.
    auto m = ReadMix("OM_MIXTURE 10 2 0.2 OM_UNIFORM 0 1 3 0.8 OM_UNIFORM 2 3 3");
    EXPECT_EQ(Learned(*m, {{1, 0.5}, {1, 2.5}, {1, 5}}),
              kLL + "0: -1.83258\n" + kLL + "1: -1.38629\n" + kLL + "2: -1.38629\nConverged in 2 iterations\n");
    EXPECT_EQ(PrintOf(*m, 0), "OM_MIXTURE\t10\t2\t0.5\tOM_UNIFORM\t0\t1\t3\t0.5\tOM_UNIFORM\t2\t3\t3");

    // Components that learn: 1000 is 0 under both (the Gaussian underflows).
    auto g = ReadMix("OM_MIXTURE 20 2 0.5 OM_GAUSSIAN 0 1 0.5 OM_UNIFORM 10 11 3");
    const std::string out = Learned(*g, {{1, -1}, {1, 1}, {1, 10.5}, {1, 1000}});
    EXPECT_EQ(out.find("nan"), std::string::npos) << out;
    EXPECT_EQ(out.find("inf"), std::string::npos) << out;
    EXPECT_NEAR(g->GetWeights()[0], 2.0 / 3, 1e-9);
    EXPECT_NEAR(GaussAt(*g, 0).GetMean(), 0.0, 1e-9);
    EXPECT_NEAR(GaussAt(*g, 0).GetVar(), 1.0, 1e-9);
}

TEST(MixtureDist, DuplicateIsDeep)
{
    auto orig = ReadMix("OM_MIXTURE 4 2 0.5 OM_MIXTURE 3 1 1 OM_GAUSSIAN 0 1 0.5 OM_GAUSSIAN 10 4");
    auto copy = orig->Duplicate();
    const std::string before = PrintOf(*orig, 1);
    EXPECT_EQ(PrintOf(*copy, 1), before);
    Learned(*copy, {{1, 1}, {1, 2}, {1, 11}, {1, 12}});
    EXPECT_EQ(PrintOf(*orig, 1), before);
    EXPECT_NE(PrintOf(*copy, 1), before);

    // Either can outlive the other.
    auto second = copy->Duplicate();
    orig.reset();
    copy.reset();
    EXPECT_TRUE(std::isfinite(second->GetProb(5)));
}

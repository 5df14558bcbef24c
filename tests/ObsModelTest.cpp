#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>
#include <memory>
#include <sstream>
#include <string>

#include "dist/Distribution.h"
#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"

namespace {

// The M-step of a protein-protein set; mixtures report on the stream it is
// given, which is returned.
std::string M2(ObsModel& om)
{
    std::ostringstream buf;
    om.M2Step(nullptr, nullptr, nullptr, buf);
    return buf.str();
}

std::unique_ptr<Distribution> Read(const std::string& text)
{
    std::istringstream in(text);
    return ReadDistribution(in);
}

std::string PrintOf(const ObsModel& om)
{
    std::ostringstream out;
    out.precision(15);
    om.Print(out);
    return out.str();
}

const std::string kHead = "***s Model info (stat size, ID, type, (param)+):\n";

// The running sums of a list, added in its order.
void ExpectSumsOf(const StatSums& got, const StatList& list)
{
    StatSums want;
    for (const auto& [w, v] : list)
        want.Add(w, v);
    EXPECT_EQ(got.n, want.n);
    EXPECT_EQ(got.w, want.w);
    EXPECT_EQ(got.wv, want.wv);
    EXPECT_EQ(got.zero, want.zero);
}

} // namespace

TEST(ObsModel, ProbabilityOfObservations)
{
    ObsModel om;
    om.AddDist(Read("OM_BINARY 0.5"));
    om.AddDist(Read("OM_BINARY 0.5"));
    om.AddDist(Read("OM_GAUSSIAN 0 1"));
    om.AddDist(Read("OM_BINARY 0.3"));

    // -1: the observed value is the actual value (within 1e-05).
    for (double v : {1.0, 0.999995}) {
        const interdatum d{v, -1, -1};
        EXPECT_EQ(om.GetOneProb(1, d), 1.0) << v;
        EXPECT_EQ(om.GetOneProb(0, d), 0.0) << v;
    }
    EXPECT_EQ(om.GetOneProb(0, interdatum{-4e-06, -1, -1}), 1.0);
    // -2: uniform over [0, 1], ends included; position 3 decides for value 1.
    for (double v : {0.0, 0.4, 1.0})
        EXPECT_EQ(om.GetOneProb(0, interdatum{v, -2, 3}), 1.0) << v;
    EXPECT_EQ(om.GetOneProb(0, interdatum{1.5, -2, 3}), 0.0);
    EXPECT_EQ(om.GetOneProb(0, interdatum{std::numeric_limits<double>::quiet_NaN(), -2, 3}), 0.0);
    EXPECT_EQ(om.GetOneProb(1, interdatum{0.0, -2, 3}), 0.3);
    EXPECT_EQ(om.GetOneProb(1, interdatum{1.5, -2, 3}), 1 - 0.3);
    EXPECT_DOUBLE_EQ(om.GetOneProb(0, interdatum{0.0, 2, -1}), 1 / std::sqrt(6.28318));

    // Observations of a pair multiply; none at all gives 1.
    const InterList list = {{0.0, 3, -1}, {0.0, -2, 3}, {1.0, 3, 3}};
    EXPECT_DOUBLE_EQ(om.GetProb(0, list), 0.3 * 1.0 * 0.7);
    EXPECT_EQ(om.GetProb(1, list), 0.0);
    EXPECT_EQ(om.GetProb(1, InterList{}), 1.0);
}

TEST(ObsModel, StatisticsPrintAndM2Step)
{
    ObsModel om;
    om.AddDist(Read("OM_BINARY 0.25"));
    om.AddDist(Read("OM_MIXTURE 0 2 0.3 OM_BINARY 0.9 0.7 OM_GAUSSIAN 0 1"));
    om.AddDist(Read("OM_EXPONENTIAL 2 1 0.5"));

    // The binary and the exponential model learn from running sums and keep
    // no list; the mixture keeps its list.
    EXPECT_FALSE(om.KeepsList(0));
    EXPECT_TRUE(om.KeepsList(1));
    EXPECT_FALSE(om.KeepsList(2));
    om.AddOneStat(0.8, interdatum{0.6, 2, 2});
    const StatList both = {{1 - 0.8, 0.6}, {0.8, 0.6}};
    ExpectSumsOf(om.GetSums(2), both);
    om.AddOneStat(0.8, interdatum{0.6, -1, 2});
    om.AddStat(0.5, InterList{{0.0, 0, 1}, {0.3, -2, -1}});
    const StatList three = {{1 - 0.8, 0.6}, {0.8, 0.6}, {0.8, 0.6}};
    ExpectSumsOf(om.GetSums(2), three);
    EXPECT_TRUE(om.GetStat(2).empty());
    ExpectSumsOf(om.GetSums(0), StatList{{0.5, 0.0}});
    EXPECT_EQ(om.GetSums(0).zero, 0.5);
    EXPECT_EQ(om.GetStat(1), (StatList{{0.5, 0.0}}));
    ExpectSumsOf(om.GetSums(1), StatList{{0.5, 0.0}});

    EXPECT_EQ(PrintOf(om), "*** # models:\t3\n" + kHead +
                               "1\t0\tOM_BINARY\t0.25\n"
                               "1\t1\tOM_MIXTURE\t0\t2\n"
                               "0.3\tOM_BINARY\t0.9\n"
                               "0.7\tOM_GAUSSIAN\t0\t1\n"
                               "3\t2\tOM_EXPONENTIAL\t2\t1\t0.5\n"
                               "***e Model info.\n");

    EXPECT_EQ(M2(om), "Warning: not converge. Too many iters: 0\n");
    // Binary: 0.5 / 0.5 = 1. Exponential (left of 2): mean 0.6, lambda 1/1.4.
    EXPECT_EQ(PrintOf(om), "*** # models:\t3\n" + kHead +
                               "0\t0\tOM_BINARY\t1\n"
                               "0\t1\tOM_MIXTURE\t0\t2\n"
                               "0.3\tOM_BINARY\t0.9\n"
                               "0.7\tOM_GAUSSIAN\t0\t1\n"
                               "0\t2\tOM_EXPONENTIAL\t2\t1\t0.714285714285714\n"
                               "***e Model info.\n");

    ObsModel empty;
    EXPECT_EQ(PrintOf(empty), "*** # models:\t0\n" + kHead + "***e Model info.\n");
}

// The domain-domain set conditions the potentials with the parameters it
// has just learned.
TEST(ObsModel, M2StepConditionsPotentials)
{
    ObsModel dm;
    dm.AddDist(Read("OM_BINARY 0.5"));
    dm.AddDist(Read("OM_BINARY 0.5"));
    ProtInter di(10);
    di.AddInter(0, 1, 0.0, 0, 1);

    MotInterPot mip(10);
    mip.AddPot(1, 0, 0.5);
    mip.AddPot(3, 2, 0.2);
    mip.SetLeak(0.01);
    MotInterPot micp(mip);
    micp.SetLeak(0.3);

    dm.AddStat(0.8, di.GetInter(0, 1)->second); // model 0: (0.2, 0); model 1: (0.8, 0)
    dm.AddOneStat(0.5, interdatum{1.0, 0, 1});  // both: (0.5, 1)
    std::ostringstream quiet;
    dm.M2Step(&micp, &mip, &di, quiet);
    EXPECT_EQ(quiet.str(), "");
    const double p0 = (1 - 0.8) / ((1 - 0.8) + 0.5); // new prob0 of model 0
    const double p1 = 0.8 / (0.8 + 0.5);             // new prob0 of model 1
    EXPECT_DOUBLE_EQ(micp.GetPot(1, 0), 0.5 * p1 / ((1 - 0.5) * p0 + 0.5 * p1));
    EXPECT_EQ(micp.GetPot(3, 2), 0.2);
    EXPECT_EQ(micp.GetLeak(), 0.01);
    EXPECT_EQ(mip.GetPot(1, 0), 0.5);
    EXPECT_EQ(dm.GetSums(0).n, 0u);
    EXPECT_EQ(dm.GetSums(1).n, 0u);
}

TEST(ObsModel, CopiesAreDeep)
{
    auto orig = std::make_unique<ObsModel>();
    orig->AddDist(Read("OM_GAUSSIAN 0 1"));
    orig->AddDist(Read("OM_MIXTURE 5 2 0.5 OM_GAUSSIAN 0 1 0.5 OM_GAUSSIAN 10 1"));
    orig->AddOneStat(1.0, interdatum{2.0, -1, 0});
    orig->AddOneStat(1.0, interdatum{4.0, -1, 0});
    for (double v : {0.5, 1.0, 9.0, 11.5})
        orig->AddOneStat(1.0, interdatum{v, -1, 1});

    auto copy = std::make_unique<ObsModel>(*orig);
    const std::string before = PrintOf(*orig);
    EXPECT_EQ(PrintOf(*copy), before); // the pending statistics come along
    M2(*copy);
    EXPECT_EQ(PrintOf(*orig), before);
    EXPECT_NE(PrintOf(*copy).find("0\t0\tOM_GAUSSIAN\t3\t1\n"), std::string::npos);

    // Destroying the original leaves the copy whole, and the other way round.
    auto again = std::make_unique<ObsModel>(*copy);
    orig.reset();
    copy->AddOneStat(0.5, interdatum{3.0, 1, 1});
    M2(*copy);
    copy.reset();
    EXPECT_TRUE(std::isfinite(again->GetOneProb(1, interdatum{3.0, 1, 1})));
    EXPECT_NE(PrintOf(*again).find("0\t0\tOM_GAUSSIAN\t3\t1\n"), std::string::npos);
}

// The dumps of the model go to the log line by line without a flush each;
// the run flushes before a dump and at the next phase line.
TEST(ObsModel, DumpsDoNotFlushPerLine)
{
    class FlushCount : public std::stringbuf {
    public:
        int syncs = 0;

    protected:
        int sync() override
        {
            ++syncs;
            return 0;
        }
    };
    ObsModel om;
    om.AddDist(Read("OM_BINARY 0.25"));
    om.AddDist(Read("OM_MIXTURE 0 2 0.3 OM_BINARY 0.9 0.7 OM_GAUSSIAN 0 1"));
    MotInterPot mip(3);
    mip.AddPot(1, 0, 0.5);
    mip.AddPot(2, 2, 0.1);
    ProtMot pm(3, 3);
    pm.AddMot(0, 1, 4);
    ProtInter pi(3);
    pi.AddInter(1, 0, 1.0, 0, 1);
    pi.AddInter(2, 2, 0.5, -1, 1);
    FlushCount buf;
    std::ostream out(&buf);
    om.Print(out);
    mip.Print(out);
    pm.Print(out);
    pi.Print(pm, out);
    const std::string text = buf.str();
    EXPECT_GT(std::count(text.begin(), text.end(), '\n'), 20);
    EXPECT_EQ(buf.syncs, 0);
}

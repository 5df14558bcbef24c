#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

#include "dist/Distribution.h"
#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"

namespace {

std::unique_ptr<Distribution> Read(const std::string& text)
{
    std::istringstream in(text);
    return ReadDistribution(in);
}

template <typename T, typename... Extra>
std::string PrintOf(const T& obj, const Extra&... extra)
{
    std::ostringstream out;
    out.precision(15);
    obj.Print(extra..., out);
    return out.str();
}

const std::string kObsHead =
    "***s Observations (prot1, prot2, # nonmotif aa pair with all binding, # 0th leak var, "
    "(obs val, modelid1, modelid2)+):\n";

} // namespace

TEST(PairIndex, ExamplesAndRoundTrips)
{
    ProtInter pi(100);
    EXPECT_EQ(ProtInter::Index(3, 5), 18); // 5*6/2 + 3
    EXPECT_EQ(ProtInter::Index(5, 3), 18);
    EXPECT_EQ(ProtInter::Index(0, 0), 0);
    EXPECT_EQ(ProtInter::Index(4, 4), 14);
    EXPECT_EQ(pi.RevIndex(18), std::make_pair(5, 3));
    EXPECT_EQ(pi.RevIndex(14), std::make_pair(4, 4));
    EXPECT_EQ(pi.RevIndex(15), std::make_pair(5, 0));

    // The lifting term 0.1/n holds for every pair whose larger id is below
    // 10n - 1 = 999; both classes share the decoding.
    MotInterPot mip(100);
    int bad = 0;
    for (int a = 0; a < 999; ++a) {
        for (int b = 0; b <= a; ++b) {
            const int k = ProtInter::Index(b, a);
            if (k != MotInterPot::Index(a, b) || pi.RevIndex(k) != std::make_pair(a, b) ||
                mip.RevIndex(k) != std::make_pair(a, b))
                ++bad;
        }
    }
    EXPECT_EQ(bad, 0);
    // (999, 999): index 500499, sqrt(1000998.25) - 0.5 = 999.9990005, plus
    // 0.001 crosses 1000; then 500499 - 1000*1001/2 = -1.
    EXPECT_EQ(pi.RevIndex(ProtInter::Index(999, 999)), std::make_pair(1000, -1));
    EXPECT_EQ(mip.RevIndex(MotInterPot::Index(999, 999)), std::make_pair(1000, -1));
}

TEST(ProtInter, ObservationsAndLookups)
{
    ProtInter pi(5);
    EXPECT_FALSE(pi.IsInter(1, 3));
    EXPECT_TRUE(pi.GetInter(1, 3) == pi.GetInterEnd());
    pi.AddInter(3, 1, 0.2, 5, 0);
    pi.AddInter(1, 3, 0.7, 5, 1);
    pi.AddInter(1, 3, 0.9, 4, 5);
    EXPECT_TRUE(pi.IsInter(1, 3));
    EXPECT_EQ(pi.GetAllInter().size(), 1u);
    const auto& list = pi.GetInter(3, 1)->second;
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1].val, 0.7);
    EXPECT_EQ(list[2].ModelId(0), 4);
    EXPECT_EQ(list[2].ModelId(1), 5);

    // Only the model ID for actual value 0 is compared; the last match wins.
    double v = -1.0;
    int id = 5;
    EXPECT_TRUE(pi.GetInterVal(1, 3, &id, &v));
    EXPECT_EQ(v, 0.7);
    EXPECT_TRUE(pi.GetInterVal(3, 1, &id, nullptr));
    id = 0;
    v = -1.0;
    EXPECT_FALSE(pi.GetInterVal(1, 3, &id, &v));
    EXPECT_EQ(v, -1.0);
    id = 5;
    EXPECT_FALSE(pi.GetInterVal(2, 3, &id, &v));
    EXPECT_FALSE(pi.IsInter(2, 3)); // a lookup creates nothing
}

TEST(ProtInter, PrintProteinPairs)
{
    ProtMot pm(3, 10);
    pm.SetLeakType(1);
    pm.SetLeakGroup(10);
    pm.AddProtLen(0, 10);
    pm.AddMotCover(0, 4);
    pm.AddProtLen(1, 7);
    pm.AddMotCover(1, 2);
    pm.AddProtLen(2, 5);
    pm.AddMotCover(2, 6);

    ProtInter pi(3);
    EXPECT_EQ(PrintOf(pi, pm), kObsHead + "***e Observations.\n*** Total # interacting protein pairs:\t0\n");

    pi.AddInter(2, 2, 0.25, -2, 0);
    pi.AddInter(1, 0, 0.5, 0, 1);
    pi.AddInter(0, 1, 1.0 / 3, -1, -1);
    // (1, 0): 10*7 - 4*2 = 62 pairs, sqrt(10 * 62 / 10) = 7.87 -> 8 leak variables.
    // (2, 2): 25 - 36 < 0 counts as 0 pairs, one leak variable.
    EXPECT_EQ(PrintOf(pi, pm), kObsHead +
                                   "1\t0\t62\t8\t0.5\t0\t1\t0.333333333333333\t-1\t-1\n"
                                   "2\t2\t0\t1\t0.25\t-2\t0\n"
                                   "***e Observations.\n"
                                   "*** Total # interacting protein pairs:\t2\n");
}

// The domain-domain store is keyed by motif ids but its dump reads the
// protein tables: an id with no protein reads as unset (-1, -1).
TEST(ProtInter, PrintMotifPairsAgainstProteinTables)
{
    ProtMot pm(2, 6);
    pm.SetLeakType(1);
    pm.SetLeakGroup(1000);
    pm.AddProtLen(0, 50000);
    pm.AddMotCover(0, 10000);
    pm.AddProtLen(1, 60000);
    pm.AddMotCover(1, 20000);

    ProtInter di(2);
    di.AddInter(5, 4, 0, -2, -2);
    di.AddInter(1, 5, 0.9, 0, 1);
    di.AddInter(0, 1, 1, -1, -1);
    // (1, 0): 3e9 - 2e8 = 2.8e9 pairs, sqrt(2.8e7) = 5291.5 -> 5292 leak variables.
    // (5, 1): (-1)*60000 - (-1)*20000 < 0 -> 0.  (5, 4): 1 - 1 = 0.
    EXPECT_EQ(PrintOf(di, pm), kObsHead +
                                   "1\t0\t2800000000\t5292\t1\t-1\t-1\n"
                                   "5\t1\t0\t1\t0.9\t0\t1\n"
                                   "5\t4\t0\t1\t0\t-2\t-2\n"
                                   "***e Observations.\n"
                                   "*** Total # interacting protein pairs:\t3\n");
}

TEST(MotInterPot, PairsAndPrint)
{
    MotInterPot mip(10);
    mip.SetLeak(0.01);
    EXPECT_EQ(PrintOf(mip),
              "***s Motif pair affinity:\n***e Motif pair affinity.\n*** Total # motif pairs:\t0\n"
              "*** Leak probability:\t0.01\n");

    mip.AddPot(2, 7, 0.25);
    EXPECT_EQ(mip.IsAct(7, 2), 1);
    EXPECT_EQ(mip.GetPot(7, 2), 0.25);
    mip.SetPot(3, 9, 0.1);
    mip.SetPotIndex(MotInterPot::Index(0, 0), 0.5);
    mip.SetPot(9, 3, 1.0 / 3);
    mip.AddPot(4, 4, 0.75);
    EXPECT_EQ(mip.GetPotIndex(48), 1.0 / 3); // 9*10/2 + 3
    mip.DelPotIndex(MotInterPot::Index(4, 4));
    mip.DelPotIndex(MotInterPot::Index(8, 1)); // absent: nothing happens
    EXPECT_EQ(mip.IsAct(4, 4), 0);

    MotInterPot copy(mip);
    copy.SetPot(2, 7, 0.9);
    copy.DelPotIndex(0);
    copy.SetLeak(0.2);

    EXPECT_EQ(PrintOf(mip),
              "***s Motif pair affinity:\n"
              "0\t0\t0.5\n"
              "7\t2\t0.25\n"
              "9\t3\t0.333333333333333\n"
              "***e Motif pair affinity.\n"
              "*** Total # motif pairs:\t3\n"
              "*** Leak probability:\t0.01\n");
    mip.DelPotIndex(MotInterPot::Index(2, 7));
    EXPECT_EQ(mip.IsAct(7, 2), 0);
    EXPECT_EQ(copy.GetPot(2, 7), 0.9);
}

TEST(MotInterPot, CondOnDomainEvidence)
{
    // Model 0 gives value 0 probability 0.1, model 1 gives it 0.9; model 2
    // is a Gaussian of variance 0, whose density is not a number.
    ObsModel dm;
    dm.AddDist(Read("OM_BINARY 0.1"));
    dm.AddDist(Read("OM_BINARY 0.9"));
    dm.AddDist(Read("OM_GAUSSIAN 0 0"));

    MotInterPot mip(10);
    mip.AddPot(1, 0, 0.5); // evidence 0.1 / 0.9
    mip.AddPot(3, 2, 0.2); // no evidence
    mip.AddPot(4, 4, 0.0); // evidence impossible when binding...
    mip.AddPot(5, 5, 1.0); // ...and when not binding: 0/0
    mip.AddPot(6, 1, 0.3); // not-a-number evidence
    mip.AddPot(7, 7, 0.6); // active only in mip
    mip.SetLeak(0.02);

    MotInterPot micp(mip);
    micp.DelPotIndex(MotInterPot::Index(7, 7));
    micp.SetLeak(0.5);

    ProtInter empty(10);
    micp.Cond(mip, dm, empty);
    EXPECT_EQ(micp.GetPot(0, 1), 0.5);
    EXPECT_EQ(micp.GetLeak(), 0.02);

    ProtInter di(10);
    di.AddInter(0, 1, 0, 0, 1);
    di.AddInter(4, 4, 1, -1, -1);
    di.AddInter(5, 5, 0, -1, -1);
    di.AddInter(1, 6, 0, 2, 2);
    micp.SetLeak(0.5);
    micp.Cond(mip, dm, di);
    // 0.5*0.9 / ((1 - 0.5)*0.1 + 0.5*0.9) = 0.45 / 0.5
    EXPECT_DOUBLE_EQ(micp.GetPot(1, 0), 0.9);
    EXPECT_EQ(micp.GetPot(3, 2), 0.2);
    EXPECT_EQ(micp.GetPot(4, 4), 0.0);
    EXPECT_EQ(micp.GetPot(5, 5), 1.0);
    EXPECT_EQ(micp.GetPot(6, 1), 0.3);
    EXPECT_EQ(micp.IsAct(7, 7), 0);
    EXPECT_EQ(micp.GetActPair().size(), 5u);
    EXPECT_EQ(micp.GetLeak(), 0.02);
    EXPECT_EQ(mip.GetPot(1, 0), 0.5);
}

// Reading the input files into the model: what is stored, what is counted in
// the log, how DDI option records expand, and where reading stops early.
// Streams here are plain string streams, so messages name them "<input>".

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "io/InputFiles.h"
#include "io/ObsReader.h"
#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"
#include "model/RunModel.h"
#include "support/ReferenceModel.h"
#include "support/TestUtil.h"

using testutil::CerrCapture;

namespace {

using testutil::G15;

struct Files {
    std::string len, cover, pmc, obs, models, act, ddi, ddiModels, ddiOpt;
};

// The model objects of one run, filled by ReadFiles from string inputs.
struct Model : RunModel {
    std::string log, err;

    Model(int np, int nm, int leakType) : RunModel(np, nm, leakType) {}

    void Read(const Files& f, int leakGroup)
    {
        std::istringstream len(f.len), cover(f.cover), pmc(f.pmc), obs(f.obs), models(f.models), act(f.act), ddi(f.ddi),
            ddiModels(f.ddiModels), ddiOpt(f.ddiOpt);
        std::ostringstream out;
        out.precision(15);
        CerrCapture cap;
        ReadFiles(*this, {len, cover, pmc, obs, models, act, ddi, ddiModels, ddiOpt}, leakGroup, out);
        log = out.str();
        err = cap.Text();
    }
};

using Obs = std::vector<std::tuple<double, int, int>>;

Obs ObsOf(const ProtInter& p, int a, int b)
{
    Obs r;
    const auto it = p.GetInter(a, b);
    if (it != p.GetInterEnd())
        for (const auto& d : it->second)
            r.emplace_back(d.val, d.modelId0, d.modelId1);
    return r;
}

// Reads DDI model, observation and option texts against the active pairs of
// `mip`; returns the count line written to the log.
std::string ReadDdi(ObsModel& dm, ProtInter& di, const MotInterPot& mip, const std::string& models,
                    const std::string& obs, const std::string& opts)
{
    std::istringstream m(models), o(obs), p(opts);
    std::ostringstream out;
    ReadModelPPI(dm, di, m, o, out, &p, &mip);
    return out.str();
}

} // namespace

TEST(InputFiles, ProteinFilesAndActivePairsStoreTheLastRecord)
{
    Model m(6, 6, 2);
    Files f;
    f.len = "0 100\n1 80\n0 90\n"; // protein 0 given twice: 90 stays
    f.cover = "1 20\n";
    // (0, 3) given twice: two appearances counted, one entry with length 9.
    f.pmc = "0 3 12\n0 5 4\n0 3 9\n";
    // (3, 5) and (5, 3) are one pair; the second affinity wins, both records count.
    f.act = "3 5 0.25\n5 3 0.75\n";
    m.Read(f, 10);

    EXPECT_EQ(m.log,
              "*** Total # motif appearances:\t3\n"
              "*** # noisy observations:\t0\n"
              "*** # active motif pairs:\t2\n"
              "*** Initial leak prob:\t0.01\n"
              "*** # noisy observations:\t0\n");
    EXPECT_EQ(m.err, "");
    EXPECT_EQ(m.pm.GetProtLen(0), 90);
    EXPECT_EQ(m.pm.GetProtLen(1), 80);
    EXPECT_EQ(m.pm.GetProtLen(2), -1); // never listed
    EXPECT_EQ(m.pm.GetMotCover(0), -1);
    EXPECT_EQ(m.pm.GetMotCover(1), 20);
    EXPECT_EQ(m.pm.GetMots(0), (ProtMot::MotMap{{3, 9}, {5, 4}}));
    EXPECT_EQ(m.pm.GetLeakGroup(), 10);
    ASSERT_EQ(m.mip.GetActPair().size(), 1u);
    EXPECT_EQ(m.mip.GetActPair().begin()->first, 18); // 5*6/2 + 3
    EXPECT_DOUBLE_EQ(m.mip.GetPot(3, 5), 0.75);
}

TEST(InputFiles, InitialLeakProbabilityFollowsLeakType)
{
    for (const int leakGroup : {100, 7}) {
        for (const int leakType : {0, 1, 2}) {
            Model m(2, 2, leakType);
            m.Read(Files{}, leakGroup);
            // Type 1: sqrt(leakGroup) leak units of 0.0001 each; 100 gives 10 * 0.0001.
            const double expected = leakType == 1 ? std::sqrt(double(leakGroup)) * 0.0001 : 0.01;
            EXPECT_DOUBLE_EQ(m.mip.GetLeak(), expected) << leakType << " " << leakGroup;
            EXPECT_NE(m.log.find("*** Initial leak prob:\t" + G15(expected) + "\n"), std::string::npos) << m.log;
        }
    }
    Model m(2, 2, 1);
    m.Read(Files{}, 100);
    EXPECT_NE(m.log.find("*** Initial leak prob:\t0.001\n"), std::string::npos);
}

TEST(InputFiles, ModelIdsBecomePositionsInRecordOrder)
{
    ObsModel om;
    ProtInter pi(4);
    // ID 5 -> position 0, ID 2 -> position 1; ID 7 given twice maps to its
    // last record (position 3), the first stays in the set unused.
    std::istringstream models("5 OM_BINARY 0.8\n2 OM_GAUSSIAN 0 1\n7 OM_BINARY 0.1\n7 OM_UNIFORM 0 1 3\n");
    std::istringstream obs(
        "0 1 0.5 2 5\n"
        "1 0 0.25 -1 -2\n" // -1 and -2 need no model record
        "3 2 1 7 -1\n"
        "0 1 0.75 5 2\n");
    std::ostringstream out;
    ReadModelPPI(om, pi, models, obs, out, nullptr, nullptr);

    EXPECT_EQ(out.str(), "*** # noisy observations:\t4\n");
    ASSERT_EQ(om.Size(), 4u);
    std::ostringstream printed;
    om.GetDist(3).Print(printed, 0);
    EXPECT_EQ(printed.str(), "OM_UNIFORM\t0\t1\t3");
    // Both orders of one pair share its entry, in file order.
    EXPECT_EQ(ObsOf(pi, 1, 0), (Obs{{0.5, 1, 0}, {0.25, -1, -2}, {0.75, 0, 1}}));
    EXPECT_EQ(ObsOf(pi, 2, 3), (Obs{{1.0, 3, -1}}));
    EXPECT_EQ(pi.GetAllInter().size(), 2u);
}

TEST(InputFiles, DdiObservationsOfInactivePairsAreDropped)
{
    MotInterPot mip(4);
    mip.AddPot(1, 0, 0.5);
    mip.AddPot(2, 2, 0.5);
    ObsModel dm;
    ProtInter di(4);
    const std::string line = ReadDdi(dm, di, mip, "0 OM_BINARY 0.5\n",
                                     "0 1 0.9 0 -1\n"
                                     "2 0 0.8 0 -1\n"  // not active
                                     "4 4 0.7 0 -1\n"  // beyond the motifs
                                     "-1 0 0.6 0 -1\n" // negative id
                                     "2 2 0.5 -2 0\n",
                                     "");
    EXPECT_EQ(line, "*** # noisy observations:\t2\n");
    EXPECT_EQ(ObsOf(di, 1, 0), (Obs{{0.9, 0, -1}}));
    EXPECT_EQ(ObsOf(di, 2, 2), (Obs{{0.5, -2, 0}}));
    EXPECT_EQ(di.GetAllInter().size(), 2u);

    // No active pair at all: observations and option records add nothing.
    MotInterPot none(4);
    ProtInter di2(4);
    ObsModel dm2;
    EXPECT_EQ(ReadDdi(dm2, di2, none, "0 OM_BINARY 0.5\n", "0 1 0.9 0 -1\n2 2 1 -1 -1\n", "2 0.5 0 -1 4\n"),
              "*** # noisy observations:\t0\n");
    EXPECT_TRUE(di2.GetAllInter().empty());
}

TEST(InputFiles, OptionRecordsAddDefaultObservations)
{
    // Self pairs 0..3 and the different pairs (1,0), (3,1) are active.
    MotInterPot mip(4);
    for (int i = 0; i < 4; ++i)
        mip.AddPot(i, i, 0.5);
    mip.AddPot(1, 0, 0.5);
    mip.AddPot(3, 1, 0.5);
    ObsModel dm;
    ProtInter di(4);
    const std::string line = ReadDdi(dm, di, mip, "0 OM_BINARY 0.5\n", "",
                                     "0 0.5 0 -1 3\n"    // (0,0) (1,1) (2,2)
                                     "0 0.5 0 -1 3\n"    // the same again: nothing new
                                     "2 0.5 -2 -2 0\n"   // bound 0: nothing
                                     "1 0.25 0 -1 4\n"   // (1,0) (3,1), never a self pair
                                     "5 0.25 -2 -2 4\n"  // unknown option: nothing
                                     "2 0.75 -1 0 2\n"); // (0,0) (1,1), then (1,0)
    EXPECT_EQ(line, "*** # noisy observations:\t8\n");
    EXPECT_EQ(ObsOf(di, 0, 0), (Obs{{0.5, 0, -1}, {0.75, -1, 0}}));
    EXPECT_EQ(ObsOf(di, 1, 1), (Obs{{0.5, 0, -1}, {0.75, -1, 0}}));
    EXPECT_EQ(ObsOf(di, 2, 2), (Obs{{0.5, 0, -1}}));
    EXPECT_EQ(ObsOf(di, 3, 3), Obs{});
    EXPECT_EQ(ObsOf(di, 1, 0), (Obs{{0.25, 0, -1}, {0.75, -1, 0}}));
    EXPECT_EQ(ObsOf(di, 3, 1), (Obs{{0.25, 0, -1}}));
}

TEST(InputFiles, OptionRecordsTranslateModelIdsOnce)
{
    // File ID 1 -> position 0 and file ID 0 -> position 1: translating a
    // position a second time would swap them.
    MotInterPot mip(3);
    mip.AddPot(0, 0, 0.5);
    mip.AddPot(1, 1, 0.5);
    mip.AddPot(2, 2, 0.5);
    mip.AddPot(2, 0, 0.5);
    ObsModel dm;
    ProtInter di(3);
    const std::string line = ReadDdi(dm, di, mip, "1 OM_BINARY 0.5\n0 OM_BINARY 0.5\n",
                                     "2 2 0.9 1 0\n", // stored as (0, 1)
                                     // IDs (1, 0) are positions (0, 1): (2,2) already has an
                                     // observation under position 0 for value 0, so it is skipped.
                                     "2 0.5 1 0 3\n");
    EXPECT_EQ(line, "*** # noisy observations:\t4\n");
    EXPECT_EQ(ObsOf(di, 2, 2), (Obs{{0.9, 0, 1}}));
    EXPECT_EQ(ObsOf(di, 0, 0), (Obs{{0.5, 0, 1}}));
    EXPECT_EQ(ObsOf(di, 1, 1), (Obs{{0.5, 0, 1}}));
    EXPECT_EQ(ObsOf(di, 2, 0), (Obs{{0.5, 0, 1}}));
}

TEST(InputFiles, ReadingStopsWithOneWarningAtABadToken)
{
    {
        // A header line: no record of the file is read.
        Model m(2, 2, 2);
        Files f;
        f.pmc = "prot mot len\n0 1 5\n";
        m.Read(f, 10);
        EXPECT_NE(m.log.find("*** Total # motif appearances:\t0\n"), std::string::npos);
        EXPECT_TRUE(m.pm.GetMots(0).empty());
        EXPECT_EQ(m.err.rfind("Warning: <input>", 0), 0u) << m.err;
        EXPECT_NE(m.err.find("line 1"), std::string::npos) << m.err;
        EXPECT_NE(m.err.find("prot"), std::string::npos) << m.err;
        EXPECT_EQ(std::count(m.err.begin(), m.err.end(), '\n'), 1) << m.err;
    }
    {
        // A word in the middle of the length file: the rest is ignored.
        Model m(3, 2, 2);
        Files f;
        f.len = "0 100\n1 x\n2 50\n";
        m.Read(f, 10);
        EXPECT_EQ(m.pm.GetProtLen(0), 100);
        EXPECT_EQ(m.pm.GetProtLen(1), -1);
        EXPECT_EQ(m.pm.GetProtLen(2), -1);
        EXPECT_EQ(m.err.rfind("Warning: <input>", 0), 0u) << m.err;
        EXPECT_NE(m.err.find("line 2"), std::string::npos) << m.err;
        EXPECT_NE(m.err.find("x"), std::string::npos) << m.err;
        EXPECT_EQ(std::count(m.err.begin(), m.err.end(), '\n'), 1) << m.err;
    }
    {
        // An incomplete last record of the observation file; the model file
        // ends cleanly after white space and gives no warning.
        Model m(3, 2, 2);
        Files f;
        f.models = "0 OM_BINARY 0.5\n\n  \t\n";
        f.obs = "0 1 0.5 0 -1\n2 1\n0.5";
        m.Read(f, 10);
        EXPECT_EQ(ObsOf(m.pi, 0, 1), (Obs{{0.5, 0, -1}}));
        EXPECT_EQ(m.pi.GetAllInter().size(), 1u);
        EXPECT_NE(m.log.find("*** # noisy observations:\t1\n"), std::string::npos);
        EXPECT_EQ(m.err.rfind("Warning: <input>", 0), 0u) << m.err;
        EXPECT_NE(m.err.find("line 3"), std::string::npos) << m.err;
        EXPECT_EQ(std::count(m.err.begin(), m.err.end(), '\n'), 1) << m.err;
    }
}

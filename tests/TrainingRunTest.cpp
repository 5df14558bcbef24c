#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "format/PairIndex.h"
#include "support/ReferenceModel.h"
#include "support/TestUtil.h"

// A complete training run on a small data set, checked against the
// reference model, a separate, straightforward implementation of the model: the noisy-OR
// non-interaction probability, the evidence ratio, the MAP updates of the
// affinities and the leak, binary and Gaussian learning, the log joint with
// its prior, and the EM stopping rule (checks after every third round, stop
// on an improvement below 0.01). One leak variable per pair. Without DDI
// evidence, and with DDI evidence learned through one shared state per
// motif pair and a Beta prior on the binary noise models.

namespace {

// Five proteins, three motifs. Model positions 0/1: binary models for the
// non-interacting / interacting state; 2/3: Gaussian models likewise.
const char* const kObs =
    "1 0 1 0 1\n0 1 1.7 2 3\n2 0 0 0 1\n2 1 1 0 1\n2 1 2.5 2 3\n3 0 0 0 1\n"
    "3 0 -0.3 2 3\n3 2 0.4 2 3\n4 2 1 0 1\n4 2 1.2 2 3\n3 2 1 0 1\n2 0 1.9 2 3\n";
const char* const kModels = "0 OM_BINARY 0.9\n1 OM_BINARY 0.3\n2 OM_GAUSSIAN 0 1\n3 OM_GAUSSIAN 2 1.5\n";
const char* const kProtMot = "0 0 5\n1 1 4\n1 2 6\n2 0 5\n2 2 3\n4 1 7\n";
const char* const kActive = "0 1 0.3\n0 2 0.2\n2 1 0.1\n2 2 0.05\n";
const char* const kPairs = "1 0\n0 2\n3 1\n2 1\n4 4\n0 3\n2 3\n2 4\n";
const char* const kBinds = "1 0\n2 1\n3 1\n4 4\n0 4\n2 2\n";

using testutil::G15;
using testutil::RefDist;

// The data set as the reference model holds it. Prior counts of -n 2 with
// the 0.5 of the command line.
testutil::ReferenceModel Reference()
{
    testutil::ReferenceModel ref;
    ref.mots = {{{0, 5}}, {{1, 4}, {2, 6}}, {{0, 5}, {2, 3}}, {}, {{1, 7}}};
    ref.theta = {{1, 0.3}, {3, 0.2}, {4, 0.1}, {5, 0.05}};
    ref.thetaC = ref.theta;
    ref.leak = ref.leakC = 0.01;
    ref.dists = {RefDist::Binary(0.9), RefDist::Binary(0.3), RefDist::Gaussian(0, 1), RefDist::Gaussian(2, 1.5)};
    ref.aPos = 0.5;
    ref.aNeg = 2 * 0.5;
    ref.aAll = 1.0 + 0.5;
    std::istringstream in(kObs);
    int a, b, id0, id1;
    double val;
    while (in >> a >> b >> val >> id0 >> id1)
        ref.AddObs(a, b, val, id0, id1);
    return ref;
}

testutil::RunResult Train(const testutil::TempDir& d, const std::string& perType, const std::string& binds)
{
    d.Write("obs", kObs);
    d.Write("models", kModels);
    d.Write("pmc", kProtMot);
    d.Write("act", kActive);
    d.Write("inact", "");
    d.Write("wait", "");
    d.Write("pairs", kPairs);
    d.Write("binds", binds);
    d.Write("len", "0 50\n1 60\n2 40\n3 30\n4 45\n");
    d.Write("cov", "0 5\n1 10\n2 8\n3 0\n4 7\n");
    return testutil::RunMotifbind({"-f",    "5",     "3",      "-l",  "0",   "-n",    "2",    "-p",
                                   perType, "obs",   "models", "pmc", "act", "inact", "wait", "log",
                                   "pred",  "pairs", "binds",  "0.5", "len", "10",    "cov"},
                                  d.Path());
}

} // namespace

TEST(TrainingRun, MatchesReferenceComputation)
{
    testutil::TempDir d;
    const auto run = Train(d, "4", kBinds);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string log = testutil::ReadFile(d.File("log"));

    // The three phases: EM, one round bringing in the (empty) DDI model, EM.
    testutil::ReferenceModel ref = Reference();
    std::string lines;
    int rounds = ref.RunEM(lines);
    lines += "*** Total # EM round and joint prob:\t" + std::to_string(rounds) + "\t" + G15(ref.LogJoint()) + "\n";
    ref.Round();
    lines += "*** Joint prob:\t" + G15(ref.LogJoint()) + "\n";
    rounds = ref.RunEM(lines);
    lines += "*** Total # EM round and joint prob:\t" + std::to_string(rounds) + "\t" + G15(ref.LogJoint()) + "\n";
    lines += "Joint prob before perturbation:\t" + G15(ref.LogJoint()) + "\n";

    std::string got;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        for (const char* p : {"*** Start of EM", "*** (After EM round", "*** Total # EM round",
                              "*** Joint prob:", "Joint prob before perturbation:"})
            if (line.rfind(p, 0) == 0)
                got += line + "\n";
    }
    EXPECT_EQ(got, lines);

    // The potentials after the last phase, learned and conditioned.
    const std::string banner = "****** Potential without conditioning ******";
    const std::string potentials =
        ref.Potentials(banner, ref.theta, ref.leak) +
        ref.Potentials("***** Potential conditioned on DDi data *****", ref.thetaC, ref.leakC);
    const auto pos = log.rfind(banner);
    ASSERT_NE(pos, std::string::npos);
    EXPECT_EQ(log.substr(pos, potentials.size()), potentials);

    EXPECT_EQ(testutil::ReadFile(d.File("pred")),
              ref.PairSection(kPairs) + ref.BindSection(kBinds) + "*** End of file.\n");
}

TEST(TrainingRun, NoBindingSectionWithTypePerturbation)
{
    // With -p 2 the binding list names motif pairs for the analysis and the
    // prediction file has no binding-variable section.
    testutil::TempDir d;
    const auto run = Train(d, "2", "1 0\n");
    ASSERT_EQ(run.status, 0) << run.err;
    testutil::ReferenceModel ref = Reference();
    std::string ignored;
    ref.RunEM(ignored);
    ref.Round();
    ref.RunEM(ignored);
    EXPECT_EQ(testutil::ReadFile(d.File("pred")), ref.PairSection(kPairs) + "*** End of file.\n");
}

TEST(TrainingRun, SharedStateAndNoisePriorMatchReferenceComputation)
{
    // The same data with DDI lists on three motif pairs, learned through one
    // shared state per motif pair (-e 1), and 5 pseudo-counts on every binary
    // model (-b 5). Motif pair (2,1) sits on no observed protein pair: its
    // list still observes its state.
    testutil::TempDir d;
    d.Write("obs", kObs);
    d.Write("models", kModels);
    d.Write("pmc", kProtMot);
    d.Write("act", kActive);
    d.Write("inact", "");
    d.Write("wait", "");
    d.Write("pairs", kPairs);
    d.Write("binds", kBinds);
    d.Write("len", "0 50\n1 60\n2 40\n3 30\n4 45\n");
    d.Write("cov", "0 5\n1 10\n2 8\n3 0\n4 7\n");
    d.Write("ddi", "1 0 1 0 1\n2 2 0 0 1\n1 2 1 0 1\n1 2 0 0 1\n");
    d.Write("ddimodels", "0 OM_BINARY 0.9\n1 OM_BINARY 0.4\n");
    d.Write("ddiopt", "");
    const auto run = testutil::RunMotifbind({"-e",   "1",     "-b",     "5",   "-d",  "ddi",   "ddimodels", "ddiopt",
                                             "-f",   "5",     "3",      "-l",  "0",   "-n",    "2",         "-p",
                                             "4",    "obs",   "models", "pmc", "act", "inact", "wait",      "log",
                                             "pred", "pairs", "binds",  "0.5", "len", "10",    "cov"},
                                            d.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string log = testutil::ReadFile(d.File("log"));

    testutil::ReferenceModel ref = Reference();
    ref.ddi[PairIndex(1, 0)] = {{1.0, {0, 1}}};
    ref.ddi[PairIndex(2, 2)] = {{0.0, {0, 1}}};
    ref.ddi[PairIndex(1, 2)] = {{1.0, {0, 1}}, {0.0, {0, 1}}};
    ref.ddiDists = {RefDist::Binary(0.9), RefDist::Binary(0.4)};
    testutil::SetPrior(ref.dists, 5);
    testutil::SetPrior(ref.ddiDists, 5);
    ref.noisePrior = true;
    std::string lines;
    int rounds = ref.RunEM(lines);
    lines += "*** Total # EM round and joint prob:\t" + std::to_string(rounds) + "\t" + G15(ref.LogJoint()) + "\n";
    // From the DDI phase on, inference uses the affinities themselves.
    ref.ddiUse = testutil::ReferenceModel::SHARED;
    ref.thetaC = ref.theta;
    ref.Round();
    lines += "*** Joint prob:\t" + G15(ref.LogJoint()) + "\n";
    rounds = ref.RunEM(lines);
    lines += "*** Total # EM round and joint prob:\t" + std::to_string(rounds) + "\t" + G15(ref.LogJoint()) + "\n";
    lines += "Joint prob before perturbation:\t" + G15(ref.LogJoint()) + "\n";

    std::string got;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        for (const char* p : {"*** Start of EM", "*** (After EM round", "*** Total # EM round",
                              "*** Joint prob:", "Joint prob before perturbation:"})
            if (line.rfind(p, 0) == 0)
                got += line + "\n";
    }
    EXPECT_EQ(got, lines);

    // Both potential sections hold the learned affinities, and the DDI
    // models end where the reference's do, strictly inside (0, 1).
    const std::string banner = "****** Potential without conditioning ******";
    const std::string tail = ref.Potentials(banner, ref.theta, ref.leak) +
                             ref.Potentials("***** Potential conditioned on DDi data *****", ref.theta, ref.leak);
    const auto pos = log.rfind(banner);
    ASSERT_NE(pos, std::string::npos);
    EXPECT_EQ(log.substr(pos, tail.size()), tail);
    const std::string ddiModels =
        "****** DDI observatoin model ******\n*** # models:\t2\n"
        "***s Model info (stat size, ID, type, (param)+):\n0\t0\tOM_BINARY\t" +
        G15(ref.ddiDists[0].p0) + "\n0\t1\tOM_BINARY\t" + G15(ref.ddiDists[1].p0) + "\n***e Model info.\n";
    EXPECT_NE(log.find(ddiModels, pos), std::string::npos) << ddiModels;
    for (const RefDist& dist : ref.ddiDists) {
        EXPECT_GT(dist.p0, 0.01);
        EXPECT_LT(dist.p0, 0.99);
    }

    EXPECT_EQ(testutil::ReadFile(d.File("pred")),
              ref.PairSection(kPairs) + ref.BindSection(kBinds) + "*** End of file.\n");
}

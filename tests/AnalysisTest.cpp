#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "dist/Distribution.h"
#include "dist/SimpleDists.h"
#include "format/PairIndex.h"
#include "infer/InferPlan.h"
#include "infer/Likelihood.h"
#include "infer/ModelSteps.h"
#include "infer/ParamSet.h"
#include "perturb/Analysis.h"
#include "perturb/AnalysisKind.h"
#include "perturb/Candidates.h"
#include "perturb/Perturb.h"
#include "support/HandModel.h"
#include "support/ReferenceModel.h"

// The analysis driver: its cycles may run on any number of threads, and what
// it writes must not depend on that. Protein 0 carries motifs 0 and 1,
// protein 1 motifs 1 and 2, protein 2 motif 0; every motif pair is active.
// Scores come from a mixture, so every re-convergence prints progress lines.
namespace {

struct Model : testutil::HandModel {
    Model() : HandModel(3, 3)
    {
        WithPrior({0.5, 0.5, 1.0}).Leak(1, 5);
        for (int p = 0; p < 3; ++p)
            Protein(p, 30, 12);
        Motif(0, 0, 6).Motif(0, 1, 6).Motif(1, 1, 5).Motif(1, 2, 7).Motif(2, 0, 12);
        for (int a = 0; a < 3; ++a)
            for (int b = 0; b <= a; ++b)
                Active(a, b, 0.1 + 0.1 * (a + b));
        LeakProb(0.01).Condition().Binary(0.95).Binary(0.3);
        std::istringstream mix("OM_MIXTURE 4 2 0.5 OM_GAUSSIAN 0 1 0.5 OM_GAUSSIAN 2 1");
        ObsDist(ReadDistribution(mix)).ObsDist(std::make_unique<GaussianDist>(0.0, 1.0));
        const double scores[] = {2.1, 0.3, 1.7, -0.4, 2.6};
        int k = 0;
        for (int a = 0; a < 3; ++a) {
            for (int b = 0; b <= a; ++b) {
                Observed(a, b, k % 2 ? 0.0 : 1.0, 0, 1);
                if (k < 5)
                    Observed(a, b, scores[k], 3, 2);
                ++k;
            }
        }
        DdiBinary(0.9).DdiBinary(0.4).Ddi(1, 0, 1.0, 0, 1);
    }
};

// The same model in the reference: affinities not conditioned (micp is a
// copy of mip), one DDI term per binding variable.
testutil::ReferenceModel Reference(const Model& m)
{
    using testutil::RefDist;
    testutil::ReferenceModel r;
    r.mots = {{{0, 6}, {1, 6}}, {{1, 5}, {2, 7}}, {{0, 12}}};
    r.len = {30, 30, 30};
    r.cover = {12, 12, 12};
    r.leakType = 1;
    r.leakGroup = 5;
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b <= a; ++b)
            r.theta[PairIndex(a, b)] = 0.1 + 0.1 * (a + b);
    r.thetaC = r.theta;
    r.leak = r.leakC = 0.01;
    r.dists = {RefDist::Binary(0.95), RefDist::Binary(0.3),
               RefDist::Mixture({{0.5, RefDist::Gaussian(0, 1)}, {0.5, RefDist::Gaussian(2, 1)}}),
               RefDist::Gaussian(0, 1)};
    const double scores[] = {2.1, 0.3, 1.7, -0.4, 2.6};
    int k = 0;
    for (int a = 0; a < 3; ++a) {
        for (int b = 0; b <= a; ++b) {
            r.AddObs(a, b, k % 2 ? 0.0 : 1.0, 0, 1);
            if (k < 5)
                r.AddObs(a, b, scores[k], 3, 2);
            ++k;
        }
    }
    r.ddiDists = {RefDist::Binary(0.9), RefDist::Binary(0.4)};
    r.AddDdi(1, 0, 1.0, 0, 1);
    r.ddiUse = testutil::ReferenceModel::PER_VARIABLE;
    const Prior prior = m.mip.GetPrior();
    r.aPos = prior.aPos;
    r.aNeg = prior.aNeg;
    r.aAll = prior.aAll;
    return r;
}

// The ids and the value of each line of `log` that starts with `label`.
std::vector<std::pair<std::vector<int>, double>> Values(const std::string& log, const std::string& label)
{
    std::vector<std::pair<std::vector<int>, double>> found;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(label, 0) != 0)
            continue;
        std::istringstream fields(line.substr(line.find("):") + 2));
        std::vector<double> w;
        for (double x; fields >> x;)
            w.push_back(x);
        found.push_back({std::vector<int>(w.begin(), w.end() - 1), w.back()});
    }
    return found;
}

struct Output {
    std::string log, mixLog;
};

// Text that counts its flushes and what had been written at each.
class FlushCount : public std::stringbuf {
public:
    std::vector<std::size_t> at;

protected:
    int sync() override
    {
        at.push_back(str().size());
        return 0;
    }
};

Output Analyse(int perType, const std::string& list, int threads)
{
    Model m;
    const InferPlan plan(m.pm, m.pi, m.micp, m.di);
    ParamSet ps(plan, m.mip, m.micp, ObsModel(m.om), ObsModel(m.dm));
    const double jprob = LogJointProb(ps, 0);
    std::istringstream in(list);
    const AnalysisKind& a = *AnalysisOf(perType);
    const auto cands = a.candidates(m.pm, m.pi, in, -1);
    std::ostringstream log, mixLog;
    log.precision(15);
    std::size_t seen = 0;
    RunCycles(a, Trained{m.pm, plan, ps}, cands, jprob, log, mixLog, threads, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(done, ++seen);
        EXPECT_EQ(total, cands.size());
    });
    EXPECT_EQ(seen, cands.size());
    return {log.str(), mixLog.str()};
}

} // namespace

TEST(Analysis, SameBytesOnAnyNumberOfThreads)
{
    const std::string proteinPairs = "1 0 2 2 0 2 1 1 2 1";
    const std::string motifPairs = "0 0 1 0 2 1 0 2 2 2 1 1";
    for (int type : {1, 2, 3}) {
        const std::string& list = type == 2 ? motifPairs : proteinPairs;
        const Output one = Analyse(type, list, 1);
        ASSERT_FALSE(one.log.empty()) << type;
        // Each cycle's re-convergence learns the mixture.
        EXPECT_NE(one.mixLog.find("Log likelihood at start of iteration 0: "), std::string::npos) << type;
        for (int threads : {2, 3, 8, 64}) {
            const Output many = Analyse(type, list, threads);
            EXPECT_EQ(many.log, one.log) << "type " << type << ", " << threads << " threads";
            EXPECT_EQ(many.mixLog, one.mixLog) << "type " << type << ", " << threads << " threads";
        }
    }
}

TEST(Analysis, ForcedValuesAgreeWithTheReferenceModel)
{
    // Before re-convergence every value comes from the definition of the
    // model: the log joint the analysis starts from, and for each forced
    // motif or motif pair the non-interaction probability and the change of
    // the log joint.
    Model m;
    const testutil::ReferenceModel ref = Reference(m);
    const InferPlan plan(m.pm, m.pi, m.micp, m.di);
    ParamSet ps(plan, m.mip, m.micp, ObsModel(m.om), ObsModel(m.dm));
    const double jprob = LogJointProb(ps, 0);
    EXPECT_NEAR(jprob, ref.LogJoint(), 1e-12 * std::fabs(jprob));

    const std::string pairs = Analyse(1, "1 0 2 2 0 2 1 1 2 1", 1).log;
    const auto probs = Values(pairs, "*** Non-interaction probability after forcing");
    const auto changes = Values(pairs, "*** Likelihood change after forcing");
    ASSERT_EQ(probs.size(), changes.size());
    ASSERT_GT(probs.size(), 0u);
    for (std::size_t i = 0; i < probs.size(); ++i) {
        const auto& ids = probs[i].first;
        ASSERT_EQ(ids.size(), 3u);
        ASSERT_EQ(changes[i].first, ids);
        const int p1 = ids[0], m1 = ids[1], p2 = ids[2];
        const testutil::RefForce f{p1, p2, m1, -1, ref.ForcedLeak(p1, p2, m1)};
        SCOPED_TRACE(std::to_string(p1) + " " + std::to_string(m1) + " " + std::to_string(p2));
        EXPECT_NEAR(probs[i].second, ref.Q(ref.thetaC, ref.leakC, p1, p2, f), 1e-13);
        EXPECT_NEAR(changes[i].second, ref.LogJoint(0, f) - jprob, 1e-11);
    }

    const std::string types = Analyse(2, "0 0 1 0 2 1 0 2 2 2 1 1", 1).log;
    const auto typeChanges = Values(types, "*** Likelihood change after forcing a pair of motif types");
    ASSERT_EQ(typeChanges.size(), 6u);
    for (const auto& [ids, change] : typeChanges) {
        ASSERT_EQ(ids.size(), 2u);
        testutil::ReferenceModel without = ref;
        without.theta.erase(PairIndex(ids[0], ids[1]));
        without.thetaC.erase(PairIndex(ids[0], ids[1]));
        EXPECT_NEAR(change, without.LogJoint() - jprob, 1e-11) << ids[0] << " " << ids[1];
    }
}

TEST(Analysis, DriverMatchesTheAnalysisOnTheModelObjects)
{
    // The run sequence calls the driver on its trained parameter set; the
    // model-object entry points compile their own: both write the same.
    Model m;
    const double jprob = LogJointProb(m.pm, m.pi, m.mip, m.micp, m.om, m.dm, m.di, 0);
    std::istringstream in("1 0 2 2");
    std::ostringstream log, mixLog;
    log.precision(15);
    PertPair(m.pm, m.pi, m.mip, m.micp, m.om, m.dm, m.di, log, in, jprob, -1, mixLog);
    const Output driver = Analyse(1, "1 0 2 2", 2);
    EXPECT_EQ(log.str(), driver.log);
    EXPECT_EQ(mixLog.str(), driver.mixLog);
}

TEST(Analysis, LogFlushedOncePerCycle)
{
    // A reader of the log sees each cycle whole as it ends, and the log is
    // not flushed after every line.
    for (int threads : {1, 2}) {
        Model m;
        const InferPlan plan(m.pm, m.pi, m.micp, m.di);
        ParamSet ps(plan, m.mip, m.micp, ObsModel(m.om), ObsModel(m.dm));
        const double jprob = LogJointProb(ps, 0);
        std::istringstream in("1 0 2 2");
        const auto cands = MOTIF_PROTEIN_ANALYSIS.candidates(m.pm, m.pi, in, -1);
        FlushCount buf;
        std::ostream log(&buf);
        std::ostringstream mixLog;
        RunCycles(MOTIF_PROTEIN_ANALYSIS, Trained{m.pm, plan, ps}, cands, jprob, log, mixLog, threads);
        const std::string text = buf.str();
        ASSERT_EQ(buf.at.size(), cands.size()) << threads;
        for (std::size_t i = 0; i < buf.at.size(); ++i) {
            // Six lines per cycle; the next cycle starts right after a flush.
            const std::size_t end = buf.at[i];
            EXPECT_EQ(text[end - 1], '\n');
            if (end < text.size()) {
                EXPECT_EQ(text.compare(end, 14, "*** SetNonBind"), 0);
            }
        }
        EXPECT_EQ(buf.at.back(), text.size());
    }
}

TEST(Candidates, OrderOfTheCyclesOfEachAnalysis)
{
    Model m;
    auto read = [&](int type, const std::string& text, int pertSize) {
        std::istringstream in(text);
        std::string s;
        for (const auto& c : AnalysisOf(type)->candidates(m.pm, m.pi, in, pertSize))
            s += std::to_string(c.prot1) + "," + std::to_string(c.mot1) + "," + std::to_string(c.prot2) + "," +
                 std::to_string(c.mot2) + " ";
        return s;
    };
    // -p 1: larger id first, then the other way round; ids as listed do not
    // matter; out of range and unobserved pairs are skipped; an unpaired id
    // and everything after a bad token are ignored.
    EXPECT_EQ(read(1, "0 1 5 0 -1 0 x 1 0", -1), "1,1,0,-1 1,2,0,-1 0,0,1,-1 0,1,1,-1 ");
    EXPECT_EQ(read(1, "1 0", 2), "1,1,0,-1 0,0,1,-1 0,1,1,-1 ");
    EXPECT_EQ(read(1, "1 0", 0), "");
    // -p 3: the proteins in file order, every motif pair, both ids bounded.
    EXPECT_EQ(read(3, "0 1", -1), "0,0,1,1 0,0,1,2 0,1,1,1 0,1,1,2 ");
    EXPECT_EQ(read(3, "2 0 1", 1), "2,0,0,0 ");
    // -p 2: motif ids as read; out of range ones are skipped with a warning,
    // and so is the unpaired id that ends the list.
    testing::internal::CaptureStderr();
    EXPECT_EQ(read(2, "2 1 1 2 3 0 1 1 9", -1), "-1,2,-1,1 -1,1,-1,2 -1,1,-1,1 ");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning: <input>: motif pair 3 0 has an id outside [0, 3); it is not perturbed\n"
              "Warning: <input>, line 1: reading stopped at end of file; the rest of the file is ignored\n");
    EXPECT_EQ(read(2, "2 1 1 0", 2), "-1,1,-1,0 ");
}

TEST(Candidates, AListThatStopsEarlyWarnsWithMotifTypePairsToo)
{
    // The binding-pairs list of -p 2 is read for the analysis alone: an id
    // no int holds ends it, with the warning every other list gives, naming
    // the line and the token; the pairs before it still run.
    Model m;
    std::istringstream in("1 0\n2 1099511627776\n0 0\n");
    testing::internal::CaptureStderr();
    const auto cands = MotifTypeCandidates(m.pm, m.pi, in, -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning: <input>, line 2: reading stopped at '1099511627776'; the rest of the file is ignored\n");
    ASSERT_EQ(cands.size(), 1u);
    EXPECT_EQ(cands[0].mot1, 1);
    EXPECT_EQ(cands[0].mot2, 0);
    // With -p 1 the binding predictions have warned about the same list.
    std::istringstream again("1 0\n2 1099511627776\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(MotifProteinCandidates(m.pm, m.pi, again, -1).size(), 4u);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

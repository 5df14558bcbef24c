#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "dist/SimpleDists.h"
#include "format/PairIndex.h"
#include "infer/EMDriver.h"
#include "infer/Likelihood.h"
#include "infer/ModelSteps.h"
#include "perturb/Perturb.h"
#include "support/HandModel.h"
#include "support/ReferenceModel.h"

// The perturbation analyses on a small hand-built model. Values measured
// before re-convergence are recomputed here from the model's definition;
// values after re-convergence are compared with EM run on a fresh copy of
// the same model carrying the same perturbation.
namespace {

struct Obs {
    int a, b;
    double val;
    int id0, id1;
};

// Five proteins, four motifs. Active motif pairs (index: pair): 1: (1,0),
// 4: (2,1), 9: (3,3). Protein 3 carries no motif; protein 4 is never observed.
// Pair (2,0) has a noise-free positive observation; pair (2,2) is a self-pair;
// the motif pair (2,1) has one domain-domain observation.
struct Data {
    int leakType = 1;
    int leakGroup = 10;
    double leak = 0.05;
    std::vector<std::map<int, int>> mots{{{0, 5}, {2, 3}}, {{1, 4}, {3, 2}}, {{1, 6}, {3, 2}}, {}, {{0, 3}}};
    std::vector<int> len{20, 15, 10, 12, 9};
    std::vector<int> cover{8, 6, 8, 0, 3};
    std::map<int, double> aff{{1, 0.6}, {4, 0.3}, {9, 0.5}};
    std::vector<Obs> obs{{1, 0, 1, 0, 1}, {0, 2, 1, -1, -1}, {2, 0, 1, 0, 1}, {2, 2, 1, 0, 1}, {1, 3, 0, 0, 1}};
    std::vector<double> omProb0{0.8, 0.1};
    std::vector<Obs> ddi{{2, 1, 1, 0, 1}};
    std::vector<double> dmProb0{0.7, 0.2};
    Prior prior{2, 3, 5};
};

// ---- Independent evaluation of the model ----

using Force = testutil::RefForce;

// The trained model in the reference: the conditioned affinity is
// P(B = 1 | DDI list), one DDI term per binding variable.
testutil::ReferenceModel Trained(const Data& d)
{
    testutil::ReferenceModel r;
    r.mots = d.mots;
    r.len = d.len;
    r.cover = d.cover;
    r.leakType = d.leakType;
    r.leakGroup = d.leakGroup;
    r.theta = r.thetaC = d.aff;
    r.leak = r.leakC = d.leak;
    for (double p0 : d.omProb0)
        r.dists.push_back(testutil::RefDist::Binary(p0));
    for (double p0 : d.dmProb0)
        r.ddiDists.push_back(testutil::RefDist::Binary(p0));
    for (const auto& o : d.obs)
        r.AddObs(o.a, o.b, o.val, o.id0, o.id1);
    for (const auto& o : d.ddi)
        r.AddDdi(o.a, o.b, o.val, o.id0, o.id1);
    r.aPos = d.prior.aPos;
    r.aNeg = d.prior.aNeg;
    r.aAll = d.prior.aAll;
    r.ddiUse = testutil::ReferenceModel::PER_VARIABLE;
    r.Condition();
    return r;
}

// The non-interaction probability of (i, j) under the conditioned affinities.
double NonInter(const testutil::ReferenceModel& t, const Force& f, int i, int j)
{
    return t.Q(t.thetaC, t.leakC, i, j, f);
}

// ---- The model objects ----

struct Model : testutil::HandModel {
    explicit Model(const Data& d) : HandModel(5, 4)
    {
        Leak(d.leakType, d.leakGroup);
        for (int p = 0; p < 5; ++p) {
            Protein(p, d.len[p], d.cover[p]);
            for (const auto& [m, l] : d.mots[p])
                Motif(p, m, l);
        }
        const auto t = Trained(d);
        for (const auto& [k, th] : t.theta)
            mip.SetPotIndex(k, th);
        for (const auto& [k, th] : t.thetaC)
            micp.SetPotIndex(k, th);
        mip.SetLeak(d.leak);
        micp.SetLeak(d.leak);
        WithPrior(d.prior);
        for (const auto& o : d.obs)
            Observed(o.a, o.b, o.val, o.id0, o.id1);
        for (double p0 : d.omProb0)
            Binary(p0);
        for (const auto& o : d.ddi)
            Ddi(o.a, o.b, o.val, o.id0, o.id1);
        for (double p0 : d.dmProb0)
            DdiBinary(p0);
    }

    std::string Params15() const
    {
        std::ostringstream s;
        s.precision(15);
        mip.Print(s);
        micp.Print(s);
        om.Print(s);
        dm.Print(s);
        return s.str();
    }
};

// The result of re-converging EM on a fresh model with a perturbation applied.
struct Ref {
    int rounds;
    double pR, lR, posR;
};

Ref Reconverge(const Data& d, const std::function<void(Model&)>& perturb, int p1, int p2)
{
    Model m(d);
    perturb(m);
    std::ostringstream sink;
    Ref r{};
    r.rounds = RunEM(m.pm, m.pi, m.mip, m.micp, m.om, m.dm, m.di, sink, sink, PERTITERCHECK);
    r.pR = p1 >= 0 ? AlNonInterProb(m.pm, m.pi, m.micp, p1, p2) : 0.0;
    r.lR = LogJointProb(m.pm, m.pi, m.mip, m.micp, m.om, m.dm, m.di, 0);
    r.posR = LogJointProb(m.pm, m.pi, m.mip, m.micp, m.om, m.dm, m.di, 1);
    m.pm.UnsetNonBind();
    return r;
}

std::string F(double v)
{
    char b[64];
    std::snprintf(b, sizeof b, "%.15g", v);
    return b;
}

std::string Ids(std::initializer_list<int> ids)
{
    std::string s;
    for (int i : ids) {
        s += '\t';
        s += std::to_string(i);
    }
    return s;
}

// Expected groups of lines of one cycle of each analysis.
std::string PairGroup(const Data& d, int p1, int m1, int p2, double jprob)
{
    const auto t = Trained(d);
    const Force f{p1, p2, m1, -1, t.ForcedLeak(p1, p2, m1)};
    const int nl = t.NumLeak(p1, p2);
    const Ref r = Reconverge(
        d, [&](Model& m) { m.pm.SetNonBind(p1, p2, m1, -1); }, p1, p2);
    const std::string id = Ids({p1, m1, p2});
    return "*** SetNonBind (prot1, mot1, prob2, numLeak, numNBLeak, numActLeak):\t" + std::to_string(p1) + "\t" +
           std::to_string(m1) + "\t" + std::to_string(p2) + "\t" + std::to_string(nl) + "\t" +
           std::to_string(f.nbLeak) + "\t" + std::to_string(nl - f.nbLeak) + "\n" +
           "*** Non-interaction probability after forcing an active motif and a protein to be non-binding (Prot1, "
           "Mot1, Prot2, Prob):" +
           id + "\t" + F(NonInter(t, f, p1, p2)) + "\n" +
           "*** Likelihood change after forcing an active motif and a protein to be non-binding (Prot1, Mot1, "
           "Prot2, Prob):" +
           id + "\t" + F(t.LogJoint(0, f) - jprob) + "\n" + "*** Total # EM round (Prot1, Mot1, Prot2, EM):" + id +
           "\t" + std::to_string(r.rounds) + "\n" +
           "*** Non-interaction probability after reconverge (Prot1, Mot1, Prot2, Prob):" + id + "\t" + F(r.pR) + "\n" +
           "*** Likelihood change after reconverge (Prot1, Mot1, Prot2, Prob):" + id + "\t" + F(r.lR - jprob) + "\n";
}

std::string TypeGroup(const Data& d, int m1, int m2, double jprob)
{
    auto t = Trained(d);
    t.theta.erase(PairIndex(m1, m2));
    t.thetaC.erase(PairIndex(m1, m2));
    const Ref r = Reconverge(
        d,
        [&](Model& m) {
            m.mip.DelPotIndex(PairIndex(m1, m2));
            m.micp.DelPotIndex(PairIndex(m1, m2));
        },
        -1, -1);
    const std::string id = Ids({m1, m2});
    return "*** Likelihood change after forcing a pair of motif types to be non-binding (Mot1, Mot2, Prob):" + id +
           "\t" + F(t.LogJoint(0) - jprob) + "\n" +
           "*** Positive likelihood after forcing a pair of motif types to be non-binding (Mot1, Mot2, Prob):" + id +
           "\t" + F(t.LogJoint(1)) + "\n" + "*** Total # EM round (Mot1, Mot2, EM):" + id + "\t" +
           std::to_string(r.rounds) + "\n" + "*** Likelihood change after reconverge (Mot1, Mot2, Prob):" + id + "\t" +
           F(r.lR - jprob) + "\n" + "*** Positive likelihood after reconverge (Mot1, Mot2, Prob):" + id + "\t" +
           F(r.posR) + "\n";
}

std::string Mot2Group(const Data& d, int p1, int m1, int p2, int m2, double jprob)
{
    const Force f{p1, p2, m1, m2, 0};
    const auto t = Trained(d);
    const Ref r = Reconverge(
        d, [&](Model& m) { m.pm.SetNonBind(p1, p2, m1, m2); }, p1, p2);
    const std::string id = Ids({p1, m1, p2, m2});
    return "*** Non-interaction probability after forcing an active motif and a protein to be non-binding (Prot1, "
           "Mot1, Prot2, Mot2, Prob):" +
           id + "\t" + F(NonInter(t, f, p1, p2)) + "\n" +
           "*** Likelihood change after forcing an active motif and a protein to be non-binding (Prot1, Mot1, "
           "Prot2, Mot2, Prob):" +
           id + "\t" + F(t.LogJoint(0, f) - jprob) + "\n" +
           "*** Total # EM round (Prot1, Mot1, Prot2, Mot2, EM):" + id + "\t" + std::to_string(r.rounds) + "\n" +
           "*** Non-interaction probability after reconverge (Prot1, Mot1, Prot2, Mot2, Prob):" + id + "\t" + F(r.pR) +
           "\n" + "*** Likelihood change after reconverge (Prot1, Mot1, Prot2, Mot2, Prob):" + id + "\t" +
           F(r.lR - jprob) + "\n";
}

using Analysis = void (*)(const ProtMot&, const ProtInter&, const MotInterPot&, const MotInterPot&, const ObsModel&,
                          const ObsModel&, const ProtInter&, std::ostream&, std::istream&, double, int, std::ostream&);

// Runs one analysis on `m` as the run sequence does and returns its log.
std::string Analyse(Analysis fn, Model& m, const std::string& input, int pertSize, double jprob)
{
    std::ostringstream log, mixLog;
    log.precision(15);
    std::istringstream in(input);
    fn(m.pm, m.pi, m.mip, m.micp, m.om, m.dm, m.di, log, in, jprob, pertSize, mixLog);
    return log.str();
}

// After an analysis: trained parameters as before, no forced pair.
void ExpectRestored(Model& m, const std::string& before)
{
    EXPECT_EQ(m.Params15(), before);
    std::ostringstream s;
    m.pm.Print(s);
    EXPECT_NE(s.str().find("*** Forced nonbinding (prot1, prot2, mot1, mot2):\t-1\t"), std::string::npos) << s.str();
}

} // namespace

TEST(PertPair, CyclesLinesAndCandidateHandling)
{
    const Data d; // leak type 1, leak group 10
    Model m(d);
    const double jprob = Trained(d).LogJoint(0);
    EXPECT_EQ(jprob, m.Joint());
    const std::string before = m.Params15();

    // Pair (1, 0): 16 leak variables, N = 20*15 - 8*6 = 252, sqrt(252) = 15.9.
    // Forcing motif 0 (length 5) of protein 0: sqrt(15*15 - 6*3) = sqrt(207)
    // = 14.4, so 15 - 14 = 1 forced leak variable.
    EXPECT_EQ(Trained(d).ForcedLeak(0, 1, 0), 1);
    // Pass 1 takes the larger id as Prot1, pass 2 the smaller one.
    const std::string g = PairGroup(d, 1, 1, 0, jprob) + PairGroup(d, 1, 3, 0, jprob) + PairGroup(d, 0, 0, 1, jprob) +
                          PairGroup(d, 0, 2, 1, jprob);
    EXPECT_NE(g.find("*** SetNonBind (prot1, mot1, prob2, numLeak, numNBLeak, numActLeak):\t0\t0\t1\t16\t1\t15\n"),
              std::string::npos);
    // Unobserved (0, 4), out-of-range (9, 1) and (-1, 0) pairs are skipped;
    // the swapped pair repeats the same groups; the unpaired 2 is ignored.
    testing::internal::CaptureStderr();
    EXPECT_EQ(Analyse(PertPair, m, "1 0\n0 4\n9 1\n-1 0\n0\t1 2", -1, jprob), g + g);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ExpectRestored(m, before);

    // Self-pair: both passes identical. Protein 3 has no motif: only pass 2 writes.
    const std::string self = PairGroup(d, 2, 1, 2, jprob) + PairGroup(d, 2, 3, 2, jprob);
    EXPECT_EQ(Analyse(PertPair, m, "2 2 3 1", -1, jprob),
              self + self + PairGroup(d, 1, 1, 3, jprob) + PairGroup(d, 1, 3, 3, jprob));
    ExpectRestored(m, before);

    // An empty file, or a non-numeric token first: nothing is read.
    EXPECT_EQ(Analyse(PertPair, m, "", -1, jprob), "");
    EXPECT_EQ(Analyse(PertPair, m, "x 1 0", -1, jprob), "");
    ExpectRestored(m, before);
}

TEST(PertPair, PertSizeBoundsMotifIds)
{
    const Data d;
    Model m(d);
    const double jprob = m.Joint();
    const std::string before = m.Params15();
    EXPECT_EQ(Analyse(PertPair, m, "0 1", 2, jprob), PairGroup(d, 1, 1, 0, jprob) + PairGroup(d, 0, 0, 1, jprob));
    ExpectRestored(m, before);
    // 0 and negative bounds other than -1 perturb nothing.
    for (int size : {0, -2}) {
        EXPECT_EQ(Analyse(PertPair, m, "0 1", size, jprob), "") << size;
        ExpectRestored(m, before);
    }
}

TEST(PertPair, InactiveMotifLeavesLikelihoodUnchangedWithoutLeakForcing)
{
    for (int leakType : {0, 2}) {
        Data d;
        d.leakType = leakType;
        Model m(d);
        const double jprob = m.Joint();
        const double trainedQ = AlNonInterProb(m.pm, m.pi, m.micp, 1, 0);
        const std::string log = Analyse(PertPair, m, "1 0", -1, jprob);
        EXPECT_EQ(log, PairGroup(d, 1, 1, 0, jprob) + PairGroup(d, 1, 3, 0, jprob) + PairGroup(d, 0, 0, 1, jprob) +
                           PairGroup(d, 0, 2, 1, jprob));
        // Motif 3 of protein 1 forms no active pair with motifs 0 and 2 of
        // protein 0: the forcing changes nothing before re-convergence.
        EXPECT_NE(log.find("(Prot1, Mot1, Prot2, Prob):\t1\t3\t0\t" + F(trainedQ) + "\n"), std::string::npos) << log;
        EXPECT_NE(log.find("*** Likelihood change after forcing an active motif and a protein to be non-binding "
                           "(Prot1, Mot1, Prot2, Prob):\t1\t3\t0\t0\n"),
                  std::string::npos)
            << log;
        const std::string leaks = leakType == 0 ? "\t1\t0\t1\n" : "\t0\t0\t0\n";
        EXPECT_NE(log.find("numActLeak):\t0\t0\t1" + leaks), std::string::npos) << log;
    }
}

TEST(PerTypes, MotifPairsRemovedFromWorkingPotentials)
{
    Data d;
    d.leakType = 0;
    Model m(d);
    const double jprob = m.Joint();
    EXPECT_EQ(jprob, Trained(d).LogJoint(0));
    const std::string before = m.Params15();

    // Ids stay in read order; (3, 0) is active nowhere; (3, 3) is a self-pair;
    // (4, 1) and (-1, 2) lie outside the motif range and are only warned about,
    // and so is the unpaired id that ends the list.
    testing::internal::CaptureStderr();
    const std::string log = Analyse(PerTypes, m, "0 1\n1 0\n3 0\n3 3\n4 1\n-1 2\n0 1\n2", -1, jprob);
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string g01 = TypeGroup(d, 0, 1, jprob);
    EXPECT_EQ(log, g01 + TypeGroup(d, 1, 0, jprob) + TypeGroup(d, 3, 0, jprob) + TypeGroup(d, 3, 3, jprob) + g01);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 3) << err;
    EXPECT_EQ(err.rfind("Warning: ", 0), 0u) << err;
    EXPECT_NE(err.find("\nWarning: "), std::string::npos) << err;
    EXPECT_NE(err.find("line 8: reading stopped at end of file"), std::string::npos) << err;
    // The swapped pair carries the same values behind the swapped ids.
    std::string g10 = TypeGroup(d, 1, 0, jprob);
    for (size_t p = 0; (p = g10.find(":\t1\t0\t", p)) != std::string::npos; ++p)
        g10.replace(p, 6, ":\t0\t1\t");
    EXPECT_EQ(g10, g01);
    // A pair active in neither potential: no change, and the positive log
    // likelihood of the trained model (only pair (2, 0) is a known positive).
    EXPECT_NE(log.find("(Mot1, Mot2, Prob):\t3\t0\t0\n*** Positive likelihood after forcing a pair of motif types "
                       "to be non-binding (Mot1, Mot2, Prob):\t3\t0\t" +
                       F(Trained(d).LogJoint(1)) + "\n"),
              std::string::npos)
        << log;
    ExpectRestored(m, before);

    // pertSize: both ids must lie below it; 0 and -4 perturb nothing.
    EXPECT_EQ(Analyse(PerTypes, m, "3 3\n1 0\n0 3\n", 2, jprob), TypeGroup(d, 1, 0, jprob));
    EXPECT_EQ(Analyse(PerTypes, m, "1 0\n", 0, jprob), "");
    EXPECT_EQ(Analyse(PerTypes, m, "", -1, jprob), "");
    EXPECT_EQ(Analyse(PerTypes, m, "1 0\n", -4, jprob), "");
    ExpectRestored(m, before);
}

TEST(PertMot2, SingleBindingVariablesInFileOrder)
{
    const Data d; // leak type 1: still no leak variable is forced
    Model m(d);
    const double jprob = m.Joint();
    const std::string before = m.Params15();

    const std::string g01 = Mot2Group(d, 0, 0, 1, 1, jprob) + Mot2Group(d, 0, 0, 1, 3, jprob) +
                            Mot2Group(d, 0, 2, 1, 1, jprob) + Mot2Group(d, 0, 2, 1, 3, jprob);
    const std::string g10 = Mot2Group(d, 1, 1, 0, 0, jprob) + Mot2Group(d, 1, 1, 0, 2, jprob) +
                            Mot2Group(d, 1, 3, 0, 0, jprob) + Mot2Group(d, 1, 3, 0, 2, jprob);
    // Self-pair: (1, 3) and (3, 1) both occur.
    const std::string g22 = Mot2Group(d, 2, 1, 2, 1, jprob) + Mot2Group(d, 2, 1, 2, 3, jprob) +
                            Mot2Group(d, 2, 3, 2, 1, jprob) + Mot2Group(d, 2, 3, 2, 3, jprob);
    // (1, 3): protein 3 has no motif; (1, 4) is unobserved; 3 is unpaired.
    const std::string log = Analyse(PertMot2, m, "0 1\n1 0\n2 2\n1 3\n1 4\n0 1\n3", -1, jprob);
    EXPECT_EQ(log, g01 + g10 + g22 + g01);
    EXPECT_EQ(Analyse(PertMot2, m, "", -1, jprob), "");
    ExpectRestored(m, before);

    // Motif pair (0, 3) is active nowhere: no change before re-convergence.
    EXPECT_NE(log.find("*** Likelihood change after forcing an active motif and a protein to be non-binding (Prot1, "
                       "Mot1, Prot2, Mot2, Prob):\t0\t0\t1\t3\t0\n"),
              std::string::npos)
        << log;
    // Swapping the proteins gives the same likelihood changes and rounds.
    auto tail = [](const std::string& g, int line) {
        size_t p = 0;
        for (int i = 0; i < line; ++i)
            p = g.find('\n', p) + 1;
        const size_t e = g.find('\n', p), b = g.rfind('\t', e) + 1;
        return g.substr(b, e - b);
    };
    for (int line : {1, 2, 4})
        EXPECT_EQ(tail(g01, line), tail(g10, line)) << line;
    EXPECT_EQ(tail(Mot2Group(d, 2, 1, 2, 3, jprob), 1), tail(Mot2Group(d, 2, 3, 2, 1, jprob), 1));

    EXPECT_EQ(Analyse(PertMot2, m, "0 1", 2, jprob), Mot2Group(d, 0, 0, 1, 1, jprob));
    for (int size : {0, -3}) {
        EXPECT_EQ(Analyse(PertMot2, m, "0 1", size, jprob), "") << size;
        ExpectRestored(m, before);
    }
}

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

#include "dist/SimpleDists.h"
#include "format/PairIndex.h"
#include "infer/EMDriver.h"
#include "infer/EMRound.h"
#include "infer/Likelihood.h"
#include "infer/ModelSteps.h"
#include "infer/ParamSet.h"
#include "infer/InferPlan.h"
#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"
#include "support/HandModel.h"
#include "support/ReferenceModel.h"

namespace {

// One positive and one negative prior count.
const Prior EVEN{1.0, 1.0, 2.0};

// Protein 1 carries motif 1, protein 0 motif 0: the observed pair (1,0) has
// one binding variable, of the motif pair (1,0). No leak variables (type 2).
// Position 0 of `om` scores value 1 with 0.8 (used for the interacting
// state), position 1 with 0.2, so an observation of 1 gives P1 = 0.8 and
// P0 = 0.2. Prior counts 1 and 1.
struct Model : testutil::HandModel {
    int every = NUMITERCHECK; // rounds between checks

    Model() : HandModel(2, 2)
    {
        WithPrior(EVEN);
        log.precision(15);
        Leak(2).Motif(0, 0, 5).Motif(1, 1, 5).Active(1, 0, 0.5).LeakProb(0.5).Binary(0.2).Binary(0.8);
    }
    void Sync() { Condition(); }
    int Run() { return RunEM(pm, pi, mip, micp, om, dm, di, log, mixLog, every); }
};

using testutil::G15;

std::string StartLine(double l) { return "*** Start of EM, before round 0. Log joint:\t" + G15(l) + "\n"; }
std::string CheckLine(int t, double l)
{
    return "*** (After EM round, Log joint):\t" + std::to_string(t) + "\t" + G15(l) + "\n";
}

// The log joint of a model without observed pairs: one affinity and the
// leak, prior terms only (the prior EVEN), from the reference model.
double PriorOnly(double theta, double leak)
{
    testutil::ReferenceModel r;
    r.theta = {{PairIndex(1, 0), theta}};
    r.leak = leak;
    r.aPos = EVEN.aPos;
    r.aNeg = EVEN.aNeg;
    r.aAll = EVEN.aAll;
    return r.LogJoint();
}

} // namespace

TEST(EMRound, WorkedRound)
{
    Model m;
    m.pi.AddInter(1, 0, 1.0, 1, 0);
    m.mip.AddPot(1, 1, 0.3); // active, but on no observed pair
    // A DDI list on the motif pair (1,0), uninformative (0.5 under both).
    m.di.AddInter(1, 0, 1.0, 0, 1);
    m.dm.AddDist(std::make_unique<BinaryDist>(0.5));
    m.dm.AddDist(std::make_unique<BinaryDist>(0.5));
    m.Sync();

    // Q = 0.5, r = 0.8 / (0.5 * 0.8 + 0.5 * 0.2) = 1.6, weight (1 - Q) r = 0.8.
    EnM1Step(m.pm, m.mip, m.micp, m.pi, m.om, m.dm, m.di);
    ASSERT_EQ(m.om.GetSums(0).n, 1u);
    ASSERT_EQ(m.om.GetSums(1).n, 1u);
    EXPECT_DOUBLE_EQ(m.om.GetSums(0).w, 0.8);
    EXPECT_DOUBLE_EQ(m.om.GetSums(1).w, 0.2);
    EXPECT_DOUBLE_EQ(m.om.GetSums(0).wv, 0.8 * 1.0); // the value 1
    EXPECT_EQ(m.om.GetSums(0).zero, 0.0);
    // The binding variable's posterior, theta_c * r = 0.8, weighs its DDI list.
    ASSERT_EQ(m.dm.GetSums(1).n, 1u);
    EXPECT_DOUBLE_EQ(m.dm.GetSums(1).w, 0.8);
    EXPECT_DOUBLE_EQ(m.dm.GetSums(0).w, 0.2);
    // (0.5 * 1.6 + 1) / (1 + 2) = 0.6; unmet pair and the leak (no leak
    // variables anywhere): aPos / aAll = 0.5.
    EXPECT_DOUBLE_EQ(m.mip.GetPot(1, 0), 0.6);
    EXPECT_DOUBLE_EQ(m.mip.GetPot(1, 1), 0.5);
    EXPECT_DOUBLE_EQ(m.mip.GetLeak(), 0.5);
    EXPECT_EQ(m.micp.GetPot(1, 0), 0.5); // the E-step only reads micp

    m.om.M2Step(nullptr, nullptr, nullptr, m.mixLog);
    m.dm.M2Step(&m.micp, &m.mip, &m.di, m.mixLog);
    EXPECT_EQ(m.om.GetSums(0).n, 0u);
    EXPECT_EQ(m.dm.GetSums(1).n, 0u);
    EXPECT_DOUBLE_EQ(m.micp.GetPot(1, 0), 0.6); // still uninformative DDI
    EXPECT_DOUBLE_EQ(m.micp.GetLeak(), 0.5);
}

TEST(EMRound, SelfPairCountsEachMotifPairTwice)
{
    // Protein 0 carries motifs 0 and 1 and is observed paired with itself:
    // binding variables (0,0), (0,1), (1,0), (1,1).
    Model m;
    m.pm.AddMot(0, 1, 3);
    m.mip.AddPot(0, 0, 0.2);
    m.mip.SetPot(1, 0, 0.3);
    m.mip.AddPot(1, 1, 0.4);
    m.pi.AddInter(0, 0, 1.0, 1, 0);
    m.Sync();
    const double q = 0.8 * 0.7 * 0.7 * 0.6;
    EXPECT_DOUBLE_EQ(AlNonInterProb(m.pm, m.pi, m.micp, 0, 0), q);
    const double r = 0.8 / ((1 - q) * 0.8 + q * 0.2);
    EnM1Step(m.pm, m.mip, m.micp, m.pi, m.om, m.dm, m.di);
    EXPECT_DOUBLE_EQ(m.om.GetSums(0).w, (1 - q) * r);
    EXPECT_DOUBLE_EQ(m.mip.GetPot(1, 0), (0.3 * 2 * r + 1) / (2 + 2.0));
    EXPECT_DOUBLE_EQ(m.mip.GetPot(0, 0), (0.2 * r + 1) / (1 + 2.0));
    EXPECT_DOUBLE_EQ(m.mip.GetPot(1, 1), (0.4 * r + 1) / (1 + 2.0));
}

TEST(EMRound, FixedVariableAndUnusablePair)
{
    // A binding variable fixed at 0 counts in the denominator only, and its
    // DDI list goes wholly to the non-binding model.
    Model m;
    m.pi.AddInter(1, 0, 1.0, 1, 0);
    m.di.AddInter(1, 0, 1.0, 0, 1);
    m.dm.AddDist(std::make_unique<BinaryDist>(0.5));
    m.dm.AddDist(std::make_unique<BinaryDist>(0.5));
    m.Sync();
    m.pm.SetNonBind(0, 1, 0, -1);
    EnM1Step(m.pm, m.mip, m.micp, m.pi, m.om, m.dm, m.di);
    EXPECT_DOUBLE_EQ(m.mip.GetPot(1, 0), 1 / 3.0);
    EXPECT_EQ(m.dm.GetSums(0).w, 1.0);
    EXPECT_EQ(m.dm.GetSums(1).w, 0.0);
    // Q = 1, P1 = 0.8, P0 = 0.2: r = 4, weight (1 - Q) r = 0.
    EXPECT_EQ(m.om.GetSums(0).w, 0.0);
    m.pm.UnsetNonBind();

    // Observations impossible under both states (a noise-free 0.5) make the
    // evidence denominator 0: the pair is treated as carrying no evidence,
    // r = 1 for its binding variable, its leak variable and its DDI weight,
    // and its other observation adds nothing to the statistics.
    Model u;
    u.pm.SetLeakType(0);
    u.mip.SetLeak(0.1);
    u.pi.AddInter(1, 0, 1.0, 1, 0);
    u.pi.AddInter(1, 0, 0.5, -1, -1);
    u.di.AddInter(1, 0, 1.0, 0, 1);
    u.dm.AddDist(std::make_unique<BinaryDist>(0.5));
    u.dm.AddDist(std::make_unique<BinaryDist>(0.5));
    u.Sync();
    EnM1Step(u.pm, u.mip, u.micp, u.pi, u.om, u.dm, u.di);
    EXPECT_EQ(u.om.GetSums(0).n, 0u);
    EXPECT_EQ(u.om.GetSums(1).n, 0u);
    EXPECT_DOUBLE_EQ(u.dm.GetSums(1).w, 0.5);
    EXPECT_DOUBLE_EQ(u.mip.GetPot(1, 0), (0.5 * 1 + 1) / (1 + 2.0));
    EXPECT_DOUBLE_EQ(u.mip.GetLeak(), (0.1 * 1 + 1) / (1 + 2.0));
    EXPECT_TRUE(std::isfinite(u.mip.GetPot(1, 0)));
    // The log joint shows the true value.
    EXPECT_EQ(u.Joint(), -INFINITY);
}

TEST(EMDriver, ChecksEveryNthRoundAndLogs)
{
    // No observed pair: the first round sets the affinity and the leak to
    // aPos / aAll = 0.5, the prior's mode, and nothing moves after it.
    Model m;
    m.Sync();
    const double best = PriorOnly(0.5, 0.5);
    EXPECT_EQ(m.Run(), 3); // already at the mode: three rounds still run
    EXPECT_EQ(m.log.str(), StartLine(best) + CheckLine(2, best));

    Model far;
    far.mip.SetLeak(0.01);
    far.Sync();
    const double start = PriorOnly(0.5, 0.01);
    EXPECT_EQ(far.Run(), 6);
    EXPECT_EQ(far.log.str(), StartLine(start) + CheckLine(2, best) + CheckLine(5, best));

    Model each;
    each.mip.SetLeak(0.01);
    each.Sync();
    each.every = 1;
    EXPECT_EQ(each.Run(), 2);
    EXPECT_EQ(each.log.str(), StartLine(start) + CheckLine(0, best) + CheckLine(1, best));
}

TEST(EMDriver, ImprovementThreshold)
{
    // Find the starting leak whose log joint lies exactly 0.01 below the
    // converged one, in the driver's arithmetic: start + 0.01 == best. Below
    // the mode the start grows with the leak, so bisect for the smallest leak
    // with start + 0.01 >= best.
    const double best = PriorOnly(0.5, 0.5);
    auto reach = [&](double leak) { return PriorOnly(0.5, leak) + IMPROVETHRESH; };
    double lo = 0.3, hi = 0.5;
    ASSERT_LT(reach(lo), best);
    while (std::nextafter(lo, hi) < hi) {
        const double mid = lo + (hi - lo) / 2;
        (reach(mid) >= best ? hi : lo) = mid;
    }
    ASSERT_EQ(reach(hi), best) << "no leak gives an improvement of exactly 0.01";
    double above = hi;
    while (reach(above) == best)
        above = std::nextafter(above, 1.0);

    auto rounds = [](double leak) {
        Model m;
        m.mip.SetLeak(leak);
        m.Sync();
        m.every = 1;
        return m.Run();
    };
    EXPECT_EQ(rounds(hi), 2);    // exactly 0.01: go on
    EXPECT_EQ(rounds(lo), 2);    // a little more: go on
    EXPECT_EQ(rounds(above), 1); // a little less: stop
}

TEST(EMDriver, StopsOnDecreaseAndOnNonFiniteJoint)
{
    // The conditioned affinity 0.99 explains the pair better than anything
    // EM reaches from the learned 0.5: the first check is lower than the start
    // and ends the run, keeping the state after that round. Fixed models:
    // P0 = 1 (-2, uniform on [0, 1]) and P1 = 2 (uniform on [0, 0.5]).
    Model m;
    m.om.AddDist(std::make_unique<UniformDist>(0.0, 0.5, 3));
    m.pi.AddInter(1, 0, 0.25, -2, 2);
    m.Sync();
    m.micp.SetPot(1, 0, 0.99);
    const double start = std::log(0.99 * 2 + (1 - 0.99) * 1) + 4 * std::log(0.5);
    const double r = 2 / (0.99 * 2 + (1 - 0.99) * 1);
    const double theta = (0.99 * r + 1) / 3;
    const double after = std::log(theta * 2 + (1 - theta)) + std::log(1 - theta) + std::log(theta) + 2 * std::log(0.5);
    ASSERT_LT(after, start);
    m.every = 1;
    EXPECT_EQ(m.Run(), 1);
    EXPECT_DOUBLE_EQ(m.mip.GetPot(1, 0), theta);
    EXPECT_DOUBLE_EQ(m.micp.GetPot(1, 0), theta);
    EXPECT_NEAR(m.Joint(), after, 1e-12);

    // A noise-free positive observation on a pair with neither binding nor
    // leak variables: -inf at every check; the driver stops at the first.
    Model inf;
    inf.pm.AddMot(1, 0, 5);
    inf.mip = MotInterPot(2);
    inf.mip.SetPrior(EVEN);
    inf.mip.AddPot(1, 1, 0.5);
    inf.mip.SetLeak(0.5);
    inf.pi.AddInter(1, 0, 1.0, -1, -1);
    inf.Sync();
    EXPECT_EQ(inf.Run(), 3);
    EXPECT_EQ(inf.log.str(), StartLine(-INFINITY) + CheckLine(2, -INFINITY));

    // Without a positive prior count the first round drives the affinity and
    // the leak to 0, and the prior term 0 * ln 0 is not a number.
    Model nan;
    nan.mip.SetPrior({0.0, 1.0, 1.0});
    nan.Sync();
    EXPECT_EQ(nan.Run(), 3);
    EXPECT_TRUE(std::isnan(nan.Joint()));
}

TEST(EMDriver, ASecondRunStartsWhereTheFirstEnded)
{
    // After RunEM the set holds the final log joint, and a second run on the
    // same set starts from it.
    Model far;
    far.mip.SetLeak(0.01);
    far.Sync();
    const double best = PriorOnly(0.5, 0.5);
    const InferPlan plan(far.pm, far.pi, far.micp, far.di);
    ParamSet ps(plan, far.mip, far.micp, ObsModel(far.om), ObsModel(far.dm));
    EXPECT_EQ(RunEM(ps, far.log, far.mixLog), 6);
    EXPECT_EQ(LogJointProb(ps, 0), best);
    far.log.str("");
    EXPECT_EQ(RunEM(ps, far.log, far.mixLog), 3);
    EXPECT_EQ(far.log.str(), StartLine(best) + CheckLine(2, best));

    // A copy carries the parameters; a round on the copy, forcing nothing
    // and a partial sum leave the original's log joint as it was.
    ParamSet copy(ps);
    EXPECT_EQ(LogJointProb(copy, 0), best);
    EMStep(copy, far.mixLog);
    ps.Force(Forcing());
    LogJointProb(ps, 1);
    EXPECT_EQ(LogJointProb(ps, 0), best);
}

// The E-step hands each model its weighted values model by model; they must
// reach it exactly as ObsModel::AddStat would hand them over walking the
// pairs in order, their observations in list order and their binding
// variables in product order: the same sums, and the same lists where a
// model keeps one (a Gaussian, a mixture).
TEST(EMRound, StatisticsReachEachModelInListOrder)
{
    ProtMot pm(5, 3);
    pm.SetLeakType(0);
    for (const auto& [p, mot] : {std::pair{0, 0}, {0, 2}, {1, 1}, {2, 0}, {2, 1}, {3, 2}, {4, 0}})
        pm.AddMot(p, mot, 3);
    MotInterPot mip(3);
    mip.AddPot(0, 0, 0.2);
    mip.AddPot(1, 0, 0.3);
    mip.AddPot(2, 1, 0.4);
    mip.AddPot(2, 2, 0.5);
    mip.SetLeak(0.05);
    mip.SetPrior({1.0, 2.0, 3.0});
    MotInterPot micp(mip);
    micp.SetPot(1, 0, 0.35);
    ObsModel om, dm;
    std::istringstream models(
        "OM_BINARY 0.9 OM_BINARY 0.3 OM_GAUSSIAN 0 1 OM_GAUSSIAN 2 1 "
        "OM_MIXTURE 2 2 0.5 OM_GAUSSIAN 0 1 0.5 OM_GAUSSIAN 3 1 OM_EXPONENTIAL 0 0 1");
    for (int i = 0; i < 6; ++i)
        om.AddDist(ReadDistribution(models));
    std::istringstream ddiModels("OM_BINARY 0.8 OM_BINARY 0.1 OM_GAUSSIAN 0 1");
    for (int i = 0; i < 3; ++i)
        dm.AddDist(ReadDistribution(ddiModels));
    ProtInter pi(5), di(5);
    // Binary, Gaussian, mixture and exponential observations, several on a
    // pair, a model for both actual values, fixed-meaning IDs, a self pair,
    // and a pair whose observations are impossible (a noise-free 0.5).
    pi.AddInter(1, 0, 1.0, 0, 1);
    pi.AddInter(1, 0, 2.5, 2, 3);
    pi.AddInter(2, 2, 0.7, 4, 4);
    pi.AddInter(2, 2, 0.0, 0, -1);
    pi.AddInter(2, 0, 1.5, 5, 2);
    pi.AddInter(3, 0, 0.0, -2, 1);
    pi.AddInter(3, 2, 1.2, 2, 4);
    pi.AddInter(4, 1, 1.0, 0, 1);
    pi.AddInter(4, 1, 0.5, -1, -1);
    pi.AddInter(4, 2, 3.0, 3, 2);
    di.AddInter(1, 0, 1.0, 0, 1);
    di.AddInter(1, 0, 0.4, 2, 2);
    di.AddInter(2, 2, 0.0, 0, 1);
    di.AddInter(2, 1, 2.0, 2, 0);
    const NonBind forced = pm.MakeNonBind(2, 0, 0, -1);

    // As the formulas state it, pair by pair.
    ObsModel omRef(om), dmRef(dm);
    const InferPlan plan(pm, pi, micp, di);
    const ParamSet ps(plan, mip, micp, ObsModel(om), ObsModel(dm));
    for (const auto& [key, obs] : pi.GetAllInter()) {
        const auto [i, j] = pi.RevIndex(key);
        const double q = AlNonInterProb(pm, forced, ps, i, j);
        const double p0 = om.GetProb(0, obs), p1 = om.GetProb(1, obs);
        const double den = (1 - q) * p1 + q * p0;
        double r = p1 / den;
        if (den != 0.0 && std::isfinite(den) && std::isfinite(r))
            omRef.AddStat((1 - q) * r, obs);
        else
            r = 1.0;
        for (const auto& [m1, l1] : pm.GetMots(i))
            for (const auto& [m2, l2] : pm.GetMots(j)) {
                if (!micp.IsAct(m1, m2) || !di.IsInter(m1, m2))
                    continue;
                const InterList& d = di.GetInter(m1, m2)->second;
                dmRef.AddStat(forced.IsNonBind(i, j, m1, m2) ? 0.0 : micp.GetPot(m1, m2) * r, d);
            }
    }

    pm.SetNonBind(forced.prot1, forced.prot2, forced.mot1, forced.mot2);
    EnM1Step(pm, mip, micp, pi, om, dm, di);
    for (const auto& [got, want] : {std::pair{&om, &omRef}, std::pair{&dm, &dmRef}}) {
        for (std::size_t id = 0; id < got->Size(); ++id) {
            EXPECT_EQ(got->GetSums(id).n, want->GetSums(id).n) << id;
            EXPECT_EQ(got->GetSums(id).w, want->GetSums(id).w) << id;
            EXPECT_EQ(got->GetSums(id).wv, want->GetSums(id).wv) << id;
            EXPECT_EQ(got->GetSums(id).zero, want->GetSums(id).zero) << id;
            EXPECT_EQ(got->GetStat(id), want->GetStat(id)) << id;
        }
    }
    EXPECT_GT(om.GetStat(2).size(), 2u); // the Gaussian keeps its list
    EXPECT_GT(om.GetStat(4).size(), 1u); // and so does the mixture
    EXPECT_GT(dm.GetStat(2).size(), 1u);
}

TEST(EMRound, SharedStateCountsAListOnceByHand)
{
    // Protein 2 carries motif 1 too: the motif pair (1,0) sits on the pairs
    // (1,0) and (2,0), each observed once with value 1 (P1 = 0.8, P0 = 0.2).
    // Its DDI list, a report (value 1), is 0.1 likely when the motifs do not
    // bind and 0.8 when they do.
    ProtMot pm(3, 2);
    pm.SetLeakType(2);
    pm.AddMot(0, 0, 5);
    pm.AddMot(1, 1, 5);
    pm.AddMot(2, 1, 5);
    MotInterPot mip(2);
    mip.AddPot(1, 0, 0.5);
    mip.SetLeak(0.5);
    mip.SetPrior(EVEN);
    ProtInter pi(3), di(3);
    pi.AddInter(1, 0, 1.0, 1, 0);
    pi.AddInter(2, 0, 1.0, 1, 0);
    di.AddInter(1, 0, 1.0, 0, 1);
    ObsModel om, dm;
    om.AddDist(std::make_unique<BinaryDist>(0.2));
    om.AddDist(std::make_unique<BinaryDist>(0.8));
    dm.AddDist(std::make_unique<BinaryDist>(0.9));
    dm.AddDist(std::make_unique<BinaryDist>(0.2));
    const InferPlan plan(pm, pi, mip, di);
    ParamSet perVar(plan, mip, mip, ObsModel(om), ObsModel(dm));
    ParamSet shared(plan, mip, mip, ObsModel(om), ObsModel(dm));
    shared.SetEstimator(DdiEstimator::SharedState);

    // Two pairs at ln 0.5 each; the list: ln(0.5 * 0.1 + 0.5 * 0.8) = ln 0.45,
    // once per binding variable by default and once in all with the shared
    // state; the prior of the affinity and of the leak, ln 0.5 each twice.
    const double prior = 4 * std::log(0.5);
    EXPECT_DOUBLE_EQ(LogJointProb(perVar, 0), 2 * std::log(0.5) + 2 * std::log(0.45) + prior);
    EXPECT_DOUBLE_EQ(LogJointProb(shared, 0), 2 * std::log(0.5) + std::log(0.45) + prior);

    // r = 0.8 / (0.5 * 0.8 + 0.5 * 0.2) = 1.6 on both pairs. The state's
    // posterior z = 0.4 / 0.45 = 8/9 is one more count: (0.5 * 3.2 + 8/9 + 1)
    // / (2 + 1 + 2). One copy of the list teaches the DDI models: 8/9 to
    // the model of the binding state, 1/9 to the other.
    EnM1Step(shared);
    MotInterPot a(2), c(2);
    shared.Scatter(a, c);
    EXPECT_DOUBLE_EQ(a.GetPot(1, 0), (0.5 * 3.2 + 8.0 / 9 + 1) / 5);
    ASSERT_EQ(shared.Dm().GetSums(1).n, 1u);
    EXPECT_DOUBLE_EQ(shared.Dm().GetSums(1).w, 8.0 / 9);
    EXPECT_DOUBLE_EQ(shared.Dm().GetSums(0).w, 1.0 / 9);
    // By default each variable hands over its own copy, weighted 0.5 * 1.6.
    EnM1Step(perVar);
    ASSERT_EQ(perVar.Dm().GetSums(1).n, 2u);
    EXPECT_DOUBLE_EQ(perVar.Dm().GetSums(1).w, 1.6);

    // The round ends with the conditioned affinities equal to the learned
    // ones: the evidence is in them already.
    std::ostringstream quiet;
    ParamSet again(plan, mip, mip, ObsModel(om), ObsModel(dm));
    again.SetEstimator(DdiEstimator::SharedState);
    EMStep(again, quiet);
    again.Scatter(a, c);
    EXPECT_EQ(c.GetPot(1, 0), a.GetPot(1, 0));
    EXPECT_EQ(c.GetLeak(), a.GetLeak());
    // The DDI model of the binding state learned 8/9 of a report: prob0 = 0.
    EXPECT_EQ(static_cast<const BinaryDist&>(again.Dm().GetDist(1)).GetProb0(), 0.0);
}

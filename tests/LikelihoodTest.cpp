#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <sstream>

#include "dist/SimpleDists.h"
#include "infer/EMRound.h"
#include "infer/Likelihood.h"
#include "infer/ModelSteps.h"
#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"
#include "support/HandModel.h"

namespace {

// Protein 0 carries motifs 0 and 1, protein 1 motif 1, protein 2 none; one
// leak variable per pair (leak type 0), leak probability 0.1.
// Learned affinities: (0,0) 0.2, (1,0) 0.3, (1,1) 0.4. The conditioned set
// differs only in (1,0), 0.5, so that the products that must use it can be
// told apart from the terms that must use the learned set.
// Observations: the self pair (0,0) and (1,0) through two binary models
// (position 0: P(value 1) = 0.1, for the non-interacting state; position 1:
// P(value 1) = 0.7), a noise-free positive on (2,0) and a noise-free
// negative on (2,1). One DDI list on the motif pair (1,0): value 1 with
// P = 0.2 when the pair does not bind and 0.9 when it binds.
struct Model : testutil::HandModel {
    Model() : HandModel(3, 2)
    {
        WithPrior({1.0, 2.0, 3.0}).Leak(0).Motif(0, 0, 4).Motif(0, 1, 6).Motif(1, 1, 5);
        Active(0, 0, 0.2).Active(0, 1, 0.3).Active(1, 1, 0.4).LeakProb(0.1).Condition().Conditioned(1, 0, 0.5);
        Binary(0.9).Binary(0.3).DdiBinary(0.8).DdiBinary(0.1);
        Observed(0, 0, 1.0, 0, 1).Observed(0, 1, 0.0, 0, 1).Observed(0, 2, 1.0, -1, -1).Observed(2, 1, 0.0, -1, -1);
        Ddi(0, 1, 1.0, 0, 1);
    }
};

} // namespace

TEST(Likelihood, NonInteractionProbabilityAndLogJoint)
{
    Model m;
    // Self pair: (0,0), (0,1), (1,0), (1,1) are four binding variables; the
    // motif pair (1,0) enters twice. 0.9 * 0.8 * 0.5 * 0.5 * 0.6 = 0.108.
    const double q00 = 0.9 * 0.8 * 0.5 * 0.5 * 0.6;
    const double q10 = 0.9 * 0.5 * 0.6; // 0.27, either argument order
    EXPECT_DOUBLE_EQ(AlNonInterProb(m.pm, m.pi, m.micp, 0, 0), q00);
    EXPECT_DOUBLE_EQ(AlNonInterProb(m.pm, m.pi, m.micp, 1, 0), q10);
    EXPECT_DOUBLE_EQ(AlNonInterProb(m.pm, m.pi, m.micp, 0, 1), q10);
    EXPECT_DOUBLE_EQ(AlNonInterProb(m.pm, m.pi, m.mip, 0, 0), 0.9 * 0.8 * 0.7 * 0.7 * 0.6);
    EXPECT_DOUBLE_EQ(AlNonInterProb(m.pm, m.pi, m.micp, 2, 2), 0.9); // the leak alone

    // Every free binding variable of the motif pair (1,0) carries the DDI
    // list: ln((1 - 0.3) * 0.2 + 0.3 * 0.9) = ln 0.41, three times (twice on
    // the self pair, once on (1,0)); the affinity is the learned one.
    const double pairs = std::log(0.892 * 0.7 + q00 * 0.1) + std::log(0.73 * 0.3 + q10 * 0.9) + 3 * std::log(0.41) +
                         std::log(0.1) + std::log(0.9);
    double prior = 0.0;
    for (double t : {0.2, 0.3, 0.4, 0.1})
        prior += 2.0 * std::log(1 - t) + std::log(t);
    EXPECT_NEAR(m.Joint(0), pairs + prior, 1e-12);
    // part = 1: only the pair known to interact (2,0), 1 - Q = 0.1; part = 2: only
    // (2,1), Q = 0.9; neither adds the prior. Any other part: all pairs.
    EXPECT_NEAR(m.Joint(1), std::log(0.1), 1e-12);
    EXPECT_NEAR(m.Joint(2), std::log(0.9), 1e-12);
    EXPECT_NEAR(m.Joint(7), pairs, 1e-12);

    // A variable fixed at 0 contributes ln P(D | B = 0) + ln(1 - theta)
    // instead of ln P(D), and no longer enters the product Q.
    m.pm.SetNonBind(1, 0, 1, 0);
    EXPECT_DOUBLE_EQ(AlNonInterProb(m.pm, m.pi, m.micp, 1, 0), 0.9 * 0.6);
    const double forced = std::log(0.46 * 0.3 + 0.54 * 0.9) + std::log(0.2) + std::log(0.7);
    const double before = std::log(0.73 * 0.3 + q10 * 0.9) + std::log(0.41);
    EXPECT_NEAR(m.Joint(7), pairs - before + forced, 1e-12);
}

TEST(Likelihood, RepeatedForcedAndCopiedEvaluationsGiveTheCurrentValue)
{
    Model m;
    const double full = m.Joint(0);
    const InferPlan plan(m.pm, m.pi, m.micp, m.di);
    ParamSet ps(plan, m.mip, m.micp, ObsModel(m.om), ObsModel(m.dm));
    EXPECT_EQ(LogJointProb(ps, 0), full);
    EXPECT_EQ(LogJointProb(ps, 0), full);

    // Partial sums leave the complete value alone.
    EXPECT_NEAR(LogJointProb(ps, 1), std::log(0.1), 1e-12);
    ps.Force(Forcing());
    LogJointProb(ps, 2);
    EXPECT_EQ(LogJointProb(ps, 0), full);

    // Forcing a variable changes the value: the old one must not be served.
    // The forced term replaces ln P(D) of (1,0) on the pair (1,0).
    m.pm.SetNonBind(1, 0, 1, 0);
    ps.Force(Forcing(plan, m.pm, m.pm.GetNonBind()));
    const double forced = LogJointProb(ps, 0);
    EXPECT_EQ(forced, m.Joint(0));
    EXPECT_NE(forced, full);

    // A copy of the set is an independent working copy.
    ParamSet copy(ps);
    EXPECT_EQ(LogJointProb(copy, 0), forced);
    EMStep(copy, m.log);
    EXPECT_EQ(LogJointProb(ps, 0), forced);
}

TEST(Likelihood, ImpossibleObservationGivesMinusInfinity)
{
    // Without leak variables, a noise-free positive observation on a pair
    // with no binding variable has Q = 1 and P0 = 0: the log joint is -inf,
    // not clamped.
    Model m;
    m.pm.SetLeakType(2);
    EXPECT_EQ(AlNonInterProb(m.pm, m.pi, m.micp, 2, 0), 1.0);
    const double minf = -std::numeric_limits<double>::infinity();
    EXPECT_EQ(m.Joint(0), minf);
    EXPECT_EQ(m.Joint(1), minf);
    // The negative pair (2,1), Q = 1: it contributes ln P0 = ln 1 = 0.
    EXPECT_EQ(m.Joint(2), 0.0);
}

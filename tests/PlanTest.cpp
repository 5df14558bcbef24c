#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

#include "dist/SimpleDists.h"
#include "infer/EMRound.h"
#include "infer/Forcing.h"
#include "infer/InferPlan.h"
#include "infer/Likelihood.h"
#include "infer/ModelSteps.h"
#include "infer/ParamSet.h"
#include "support/HandModel.h"

// The compiled plan on a small hand-built model. Protein 0 carries motifs 0
// and 2, protein 1 motif 1, protein 2 motifs 1 and 2; protein 3 none.
// Active motif pairs (index): (0,0) 0, (1,0) 1, (2,1) 4, (2,2) 5.
// Observed pairs: (1,0), (2,2) (a self-pair), (3,0), (2,1).
// DDI lists on (1,0) and (2,2).
namespace {

struct Model : testutil::HandModel {
    Model() : HandModel(4, 3)
    {
        WithPrior({1.0, 2.0, 3.0}).Leak(1, 10);
        for (int p = 0; p < 4; ++p)
            Protein(p, p == 2 ? 40 : 10 + 3 * p, p == 3 ? 0 : 6);
        Motif(0, 0, 3).Motif(0, 2, 3).Motif(1, 1, 4).Motif(2, 1, 2).Motif(2, 2, 4);
        Active(0, 0, 0.2).Active(1, 0, 0.3).Active(2, 1, 0.4).Active(2, 2, 0.5).LeakProb(0.05);
        Condition().Conditioned(1, 0, 0.35);
        Binary(0.9).Binary(0.3).DdiBinary(0.8).DdiBinary(0.1);
        Observed(1, 0, 1.0, 0, 1).Observed(2, 2, 1.0, 0, 1).Observed(3, 0, 0.0, -1, -1).Observed(2, 1, 1.0, -1, -1);
        Ddi(1, 0, 1.0, 0, 1).Ddi(2, 2, 0.0, 0, 1);
    }
};

} // namespace

TEST(InferPlan, PairsVariablesSlotsAndLeaks)
{
    Model m;
    const InferPlan plan(m.pm, m.pi, m.micp, m.di);
    ASSERT_EQ(plan.NumSlots(), 4);
    EXPECT_EQ(plan.Key(0), 0);
    EXPECT_EQ(plan.Key(1), 1);
    EXPECT_EQ(plan.Key(2), 4);
    EXPECT_EQ(plan.Key(3), 5);
    EXPECT_EQ(plan.SlotOf(4), 2);
    EXPECT_EQ(plan.SlotOf(2), -1);
    EXPECT_EQ(plan.SlotDdi(0), nullptr);
    EXPECT_EQ(plan.SlotDdi(1), &m.di.GetInter(1, 0)->second);
    EXPECT_EQ(plan.SlotDdi(3), &m.di.GetInter(2, 2)->second);

    // Ascending pair index: (1,0) = 1, (2,1) = 4, (2,2) = 5, (3,0) = 6; the
    // row protein is the larger id.
    ASSERT_EQ(plan.NumPairs(), 4);
    const int expectProt[4][2] = {{1, 0}, {2, 1}, {2, 2}, {3, 0}};
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(plan.GetPair(p).prot1, expectProt[p][0]) << p;
        EXPECT_EQ(plan.GetPair(p).prot2, expectProt[p][1]) << p;
        EXPECT_EQ(plan.GetPair(p).numLeak, m.pm.NumLeak(expectProt[p][0], expectProt[p][1])) << p;
        EXPECT_EQ(plan.GetPair(p).obs, &m.pi.GetInter(expectProt[p][0], expectProt[p][1])->second);
    }
    EXPECT_EQ(plan.PairOf(0, 1), 0);
    EXPECT_EQ(plan.PairOf(0, 3), 3);
    EXPECT_EQ(plan.PairOf(3, 3), -1);
    EXPECT_TRUE(plan.GetPair(1).knownPos);
    EXPECT_TRUE(plan.GetPair(3).knownNeg);
    EXPECT_FALSE(plan.GetPair(0).knownPos || plan.GetPair(0).knownNeg);

    // Variables, motif of the row protein outer: (1,0): motif 1 with 0 and
    // 2, slots 1 and 2. (2,1): (1,1) inactive, (2,1). (2,2): (1,1) no,
    // (1,2) and (2,1) both slot 2, (2,2). (3,0): protein 3 has no motif.
    const std::vector<int> vars(plan.Vars(), plan.Vars() + plan.NumVars());
    EXPECT_EQ(vars, (std::vector<int>{1, 2, 2, 2, 2, 3}));
    EXPECT_EQ(plan.GetPair(2).begin, 3);
    EXPECT_EQ(plan.GetPair(2).end, 6);
    EXPECT_EQ(plan.GetPair(3).begin, plan.GetPair(3).end);
    EXPECT_EQ(plan.SlotCount(0), 0);
    EXPECT_EQ(plan.SlotCount(2), 4);
    long long leaks = 0;
    for (int p = 0; p < 4; ++p)
        leaks += plan.GetPair(p).numLeak;
    EXPECT_EQ(plan.LeakCount(), leaks);

    // Removing a slot points its variables to the dead slot, which has no
    // domain-domain list, and changes nothing else.
    InferPlan patched(plan);
    patched.RemoveSlot(2);
    EXPECT_FALSE(patched.Live(2));
    EXPECT_TRUE(plan.Live(2));
    EXPECT_EQ(patched.SlotCount(2), 0);
    EXPECT_EQ(patched.Dead(), 4);
    EXPECT_EQ(patched.SlotDdi(patched.Dead()), nullptr);
    const std::vector<int> left(patched.Vars(), patched.Vars() + patched.NumVars());
    EXPECT_EQ(left, (std::vector<int>{1, 4, 4, 4, 4, 3}));
    const std::vector<int> kept(plan.Vars(), plan.Vars() + plan.NumVars());
    EXPECT_EQ(kept, vars);
    EXPECT_EQ(patched.GetPair(2).begin, 3);
    EXPECT_EQ(&patched.GetPair(2), &plan.GetPair(2)); // the pairs are shared
}

TEST(InferPlan, ForcingMarksTheFixedVariables)
{
    Model m;
    const InferPlan plan(m.pm, m.pi, m.micp, m.di);
    // Motif 1 of protein 2 against the whole of protein 2 (a self-pair):
    // (1,2) and (2,1) are fixed, (2,2) is not. Leak variables: 40*40 - 6*6 =
    // 1564 pairs give 39 + 1; without the motif's 2 residues 40*38 - 6*4 =
    // 1496 give 38 + 1, so one is forced.
    const NonBind nb = m.pm.MakeNonBind(2, 2, 1, -1);
    const Forcing f(plan, m.pm, nb);
    EXPECT_EQ(f.pair, 2);
    EXPECT_EQ(f.bits, (std::vector<unsigned char>{1, 1, 0}));
    EXPECT_EQ(f.numNBLeak, 1);
    EXPECT_EQ(m.pm.NumNBLeak(nb, 2, 2), 1);
    // A single binding variable, named in the other orientation.
    const Forcing one(plan, m.pm, m.pm.MakeNonBind(1, 2, 1, 2));
    EXPECT_EQ(one.pair, 1);
    EXPECT_EQ(one.bits, (std::vector<unsigned char>{1}));
    const Forcing first(plan, m.pm, m.pm.MakeNonBind(0, 1, 2, 1));
    EXPECT_EQ(first.pair, 0);
    EXPECT_EQ(first.bits, (std::vector<unsigned char>{0, 1}));
    EXPECT_EQ(one.numNBLeak, 0);
    // An unobserved pair forces nothing in the plan, and an id outside the
    // protein range no leak variable.
    EXPECT_EQ(Forcing(plan, m.pm, m.pm.MakeNonBind(3, 3, 0, -1)).pair, -1);
    EXPECT_EQ(m.pm.MakeNonBind(-1, 0, 0, -1).numNBLeak, 0);
    EXPECT_EQ(m.pm.MakeNonBind(4, 0, 0, -1).numNBLeak, 0);
    EXPECT_EQ(Forcing(plan, m.pm, NonBind{}).pair, -1);
    // Making a setting does not change the model's own.
    EXPECT_EQ(m.pm.GetNonBind().prot1, -1);
}

namespace {

// The product as the formula states it, over the model objects: (1 - leak)
// to the number of free leak variables, then 1 - affinity for every free
// active combination, motifs of prot1 outer.
double ReferenceQ(const ProtMot& pm, const NonBind& nb, const MotInterPot& pot, int prot1, int prot2)
{
    double q = IntPow(1 - pot.GetLeak(), pm.NumLeak(prot1, prot2) - pm.NumNBLeak(nb, prot1, prot2));
    for (const auto& [m1, l1] : pm.GetMots(prot1))
        for (const auto& [m2, l2] : pm.GetMots(prot2))
            if (!nb.IsNonBind(prot1, prot2, m1, m2) && pot.IsAct(m1, m2))
                q = q * (1 - pot.GetPot(m1, m2));
    return q;
}

} // namespace

TEST(InferPlan, DenseNonInteractionProbabilityFollowsTheArgumentOrder)
{
    Model m;
    const InferPlan plan(m.pm, m.pi, m.micp, m.di);
    const ParamSet ps(plan, m.mip, m.micp, ObsModel(m.om), ObsModel(m.dm));
    for (const auto& nb : {NonBind{}, m.pm.MakeNonBind(2, 2, 1, -1), m.pm.MakeNonBind(0, 1, 0, -1),
                           m.pm.MakeNonBind(2, 1, 2, 1), m.pm.MakeNonBind(3, 2, 0, -1)}) {
        // Observed pairs and unobserved ones, both orders, self pairs.
        for (int a = 0; a < 4; ++a)
            for (int b = 0; b < 4; ++b)
                EXPECT_EQ(AlNonInterProb(m.pm, nb, ps, a, b), ReferenceQ(m.pm, nb, m.micp, a, b)) << a << b;
    }
    // The same through the model objects, for either potential set.
    EXPECT_EQ(AlNonInterProb(m.pm, m.pi, m.mip, 2, 0), ReferenceQ(m.pm, NonBind{}, m.mip, 2, 0));
    EXPECT_EQ(AlNonInterProb(m.pm, m.pi, m.micp, 0, 2), ReferenceQ(m.pm, NonBind{}, m.micp, 0, 2));
}

// Every active combination of a protein pair, observed or not, in product
// order, against the combinations counted by hand.
TEST(PairCombos, CombinationsOfAnyPairInProductOrder)
{
    Model m;
    // Protein 4 (unobserved everywhere) carries motifs 0, 1 and 2; protein
    // 5 is outside the tables of a smaller model.
    ProtMot pm(5, 3);
    for (const auto& [p, mot] : {std::pair{0, 0}, {0, 2}, {1, 1}, {2, 1}, {2, 2}, {4, 0}, {4, 1}, {4, 2}})
        pm.AddMot(p, mot, 3);
    const InferPlan plan(pm, m.pi, m.micp, m.di);
    auto list = [&](int a, int b) {
        std::vector<std::tuple<int, int, int>> out;
        plan.Combos().ForEach(a, b, [&](int m1, int m2, int s) { out.emplace_back(m1, m2, s); });
        return out;
    };
    using C = std::vector<std::tuple<int, int, int>>;
    // Slots: (0,0) 0, (1,0) 1, (2,1) 2, (2,2) 3.
    // (4,0): 0 with 0; 1 with 0 and 2; 2 with 2. (0,4): 0 with 0 and 1; 2
    // with 1 and 2.
    EXPECT_EQ(list(4, 0), (C{{0, 0, 0}, {1, 0, 1}, {1, 2, 2}, {2, 2, 3}}));
    EXPECT_EQ(list(0, 4), (C{{0, 0, 0}, {0, 1, 1}, {2, 1, 2}, {2, 2, 3}}));
    // A self pair: every ordered combination, (1,2) and (2,1) both.
    EXPECT_EQ(list(4, 4), (C{{0, 0, 0}, {0, 1, 1}, {1, 0, 1}, {1, 2, 2}, {2, 1, 2}, {2, 2, 3}}));
    // (4,1): 0 with 1; 1 with 1 is inactive; 2 with 1.
    EXPECT_EQ(list(4, 1), (C{{0, 1, 1}, {2, 1, 2}}));
    // No motif on protein 3; no protein 5 or -1.
    EXPECT_TRUE(list(4, 3).empty());
    EXPECT_TRUE(list(3, 4).empty());
    EXPECT_TRUE(list(5, 4).empty());
    EXPECT_TRUE(list(4, -1).empty());
    // An observed pair lists what its plan variables are.
    const auto& pr = plan.GetPair(plan.PairOf(2, 2));
    std::vector<int> slots;
    for (const auto& c : list(2, 2))
        slots.push_back(std::get<2>(c));
    EXPECT_EQ(slots, std::vector<int>(plan.Vars() + pr.begin, plan.Vars() + pr.end));
}

TEST(ParamSet, GatherScatterAndMismatchedPotentials)
{
    Model m;
    const InferPlan plan(m.pm, m.pi, m.micp, m.di);
    ParamSet ps(plan, m.mip, m.micp, ObsModel(m.om), ObsModel(m.dm));
    EXPECT_EQ(ps.Theta(1), 0.3);
    EXPECT_EQ(ps.ThetaC(1), 0.35);
    EXPECT_EQ(ps.Leak(), 0.05);

    // One round, written back, equals the round on the model objects.
    Model ref;
    std::ostringstream quiet;
    EMStep(ref.pm, ref.mip, ref.micp, ref.pi, ref.om, ref.dm, ref.di, quiet);
    EMStep(ps, quiet);
    MotInterPot mip(3), micp(3);
    ps.Scatter(mip, micp);
    std::ostringstream a, b;
    a.precision(17);
    b.precision(17);
    mip.Print(a);
    micp.Print(a);
    ref.mip.Print(b);
    ref.micp.Print(b);
    EXPECT_EQ(a.str(), b.str());

    // A removed slot is erased on the way back.
    InferPlan patched(plan);
    patched.RemoveSlot(0);
    ParamSet w(ps, patched);
    w.Scatter(mip, micp);
    EXPECT_FALSE(mip.IsAct(0, 0));
    EXPECT_FALSE(micp.IsAct(0, 0));

    // Potentials that do not hold the plan's pairs are refused.
    MotInterPot other(m.mip);
    other.AddPot(2, 0, 0.1);
    EXPECT_THROW(ParamSet(plan, other, m.micp, ObsModel(), ObsModel()), std::logic_error);
    EXPECT_THROW(ParamSet(plan, m.mip, other, ObsModel(), ObsModel()), std::logic_error);
    const InferPlan fewer(m.pm, m.pi, MotInterPot(3), m.di);
    EXPECT_THROW(ParamSet(ps, fewer), std::logic_error);
}

TEST(ParamSet, StepAfterALogJointEqualsAStepWithout)
{
    // The E-step reuses the pair terms of the last complete log joint; the
    // result must be the same to the bit as computing them afresh, also after
    // the forced setting changed in between.
    Model m;
    const InferPlan plan(m.pm, m.pi, m.micp, m.di);
    const ParamSet start(plan, m.mip, m.micp, ObsModel(m.om), ObsModel(m.dm));
    auto state = [](const ParamSet& ps) {
        MotInterPot mip(3), micp(3);
        ps.Scatter(mip, micp);
        std::ostringstream out;
        out.precision(17);
        mip.Print(out);
        micp.Print(out);
        ps.Om().Print(out);
        ps.Dm().Print(out);
        return out.str();
    };
    std::ostringstream quiet;
    const Forcing forced(plan, m.pm, m.pm.MakeNonBind(2, 2, 1, -1));
    ParamSet reuse(start), fresh(start);
    for (int round = 0; round < 4; ++round) {
        LogJointProb(reuse, 0);
        LogJointProb(reuse, 1); // a partial sum leaves the pair terms alone
        if (round == 2) {
            reuse.Force(forced);
            fresh.Force(forced);
        }
        EMStep(reuse, quiet);
        EMStep(fresh, quiet);
        ASSERT_EQ(state(reuse), state(fresh)) << "round " << round;
        // On copies, so that `fresh` never holds pair terms.
        ParamSet a(reuse), b(fresh);
        ASSERT_EQ(LogJointProb(a, 0), LogJointProb(b, 0)) << "round " << round;
    }
    // Released working memory comes back on the next step.
    reuse.ReleaseWork();
    EMStep(reuse, quiet);
    EMStep(fresh, quiet);
    EXPECT_EQ(state(reuse), state(fresh));
}

TEST(ParamSet, AssignMakesAnIndependentCopy)
{
    Model m;
    const InferPlan plan(m.pm, m.pi, m.micp, m.di);
    ParamSet trained(plan, m.mip, m.micp, ObsModel(m.om), ObsModel(m.dm));
    const double joint = LogJointProb(trained, 0);
    std::ostringstream quiet;

    // A working copy that has run a few rounds under a forced setting takes
    // the trained parameters again and nothing of its own.
    ParamSet work(trained);
    work.Force(Forcing(plan, m.pm, m.pm.MakeNonBind(1, 0, 1, -1)));
    for (int i = 0; i < 3; ++i)
        EMStep(work, quiet);
    work.Assign(trained);
    EXPECT_EQ(work.GetForcing().pair, -1);
    for (int s = 0; s < plan.NumSlots(); ++s) {
        EXPECT_EQ(work.Theta(s), trained.Theta(s));
        EXPECT_EQ(work.ThetaC(s), trained.ThetaC(s));
    }
    EXPECT_EQ(LogJointProb(work, 0), joint);
    ParamSet check(work);
    check.Force(Forcing()); // computed afresh
    EXPECT_EQ(LogJointProb(check, 0), joint);

    // Steps on the copy leave the original alone; an assignment may also
    // move the copy onto another plan.
    EMStep(work, quiet);
    EXPECT_EQ(LogJointProb(trained, 0), joint);
    InferPlan patched(plan);
    patched.RemoveSlot(1);
    work.Assign(trained, patched);
    EXPECT_EQ(&work.Plan(), &patched);
}

TEST(ParamSet, PriorComesFromThePotentialAndTravelsWithTheParameters)
{
    // The prior of `mip` is the one the set estimates and sums under; a copy
    // assigned from another set takes that set's, and scattering hands it to
    // both potentials, so that a set made from them again sums the same.
    Model m;
    const InferPlan plan(m.pm, m.pi, m.micp, m.di);
    const ParamSet ps(plan, m.mip, m.micp, ObsModel(m.om), ObsModel(m.dm));
    EXPECT_EQ(ps.GetPrior().aNeg, 2.0);
    MotInterPot flat(m.mip);
    flat.SetPrior(Prior::FromRatio(0.5, 3.0));
    EXPECT_EQ(flat.GetPrior().aNeg, 1.5);
    EXPECT_EQ(flat.GetPrior().aAll, 2.0);
    ParamSet other(plan, flat, m.micp, ObsModel(m.om), ObsModel(m.dm));
    ParamSet copy(ps);
    EXPECT_NE(LogJointProb(other, 0), LogJointProb(copy, 0));
    // A round re-estimates under the prior.
    std::ostringstream quiet;
    other.Assign(ps);
    EMStep(other, quiet);
    EMStep(copy, quiet);
    EXPECT_EQ(LogJointProb(other, 0), LogJointProb(copy, 0));
    MotInterPot mip(3), micp(3);
    ps.Scatter(mip, micp);
    EXPECT_EQ(mip.GetPrior().aAll, 3.0);
    EXPECT_EQ(micp.GetPrior().aPos, 1.0);
    ParamSet again(plan, mip, micp, ObsModel(m.om), ObsModel(m.dm)), start(ps);
    EXPECT_EQ(LogJointProb(again, 0), LogJointProb(start, 0));
}

// A copy that only forces a pair shares the pair terms of the set it was
// copied from and recomputes the forced pair alone. Its log joint, in every
// part, and the round that follows must equal those of a set that computes
// everything afresh, to the bit, whatever is forced.
TEST(ParamSet, ForcedCopiesReuseThePairTerms)
{
    for (const DdiEstimator e : {DdiEstimator::PerVariable, DdiEstimator::SharedState}) {
        SCOPED_TRACE(e == DdiEstimator::SharedState ? "shared state" : "per variable");
        Model m;
        const InferPlan plan(m.pm, m.pi, m.micp, m.di);
        ParamSet trained(plan, m.mip, m.micp, ObsModel(m.om), ObsModel(m.dm));
        trained.SetEstimator(e);
        std::ostringstream quiet;
        for (int r = 0; r < 3; ++r)
            EMStep(trained, quiet);
        LogJointProb(trained, 0);
        MotInterPot mip(3), micp(3);
        trained.Scatter(mip, micp);
        auto state = [](const ParamSet& ps) {
            MotInterPot a(3), b(3);
            ps.Scatter(a, b);
            std::ostringstream out;
            out.precision(17);
            a.Print(out);
            b.Print(out);
            ps.Om().Print(out);
            ps.Dm().Print(out);
            return out.str();
        };

        // Every motif of either protein against the other, every single
        // variable, and nothing or an unobserved pair.
        std::vector<NonBind> forcings{NonBind{}, m.pm.MakeNonBind(3, 3, 0, -1)};
        for (int p = 0; p < plan.NumPairs(); ++p) {
            const auto& pr = plan.GetPair(p);
            for (const auto& [p1, p2] : {std::pair{pr.prot1, pr.prot2}, std::pair{pr.prot2, pr.prot1}})
                for (const auto& [m1, l1] : m.pm.GetMots(p1)) {
                    forcings.push_back(m.pm.MakeNonBind(p1, p2, m1, -1));
                    for (const auto& [m2, l2] : m.pm.GetMots(p2))
                        forcings.push_back(m.pm.MakeNonBind(p1, p2, m1, m2));
                }
        }
        for (const NonBind& nb : forcings) {
            const Forcing f(plan, m.pm, nb);
            ParamSet shared(trained);
            shared.Force(f);
            ParamSet afresh(plan, mip, micp, ObsModel(trained.Om()), ObsModel(trained.Dm()));
            afresh.SetEstimator(e);
            afresh.Force(f);
            const std::string what = std::to_string(nb.prot1) + " " + std::to_string(nb.mot1) + " " +
                                     std::to_string(nb.prot2) + " " + std::to_string(nb.mot2);
            for (const int part : {0, 1, 2, 7}) {
                ParamSet own(afresh);
                EXPECT_EQ(std::bit_cast<std::uint64_t>(LogJointProb(shared, part)),
                          std::bit_cast<std::uint64_t>(LogJointProb(own, part)))
                    << what << " part " << part;
            }
            EMStep(shared, quiet);
            EMStep(afresh, quiet);
            EXPECT_EQ(state(shared), state(afresh)) << what;
            EXPECT_EQ(LogJointProb(shared, 0), LogJointProb(afresh, 0)) << what;
        }
    }
}

// A removed motif pair leaves terms +0 where its variables' domain-domain
// terms were: the log joint over the patched plan is the one over a plan
// compiled without the pair.
TEST(ParamSet, PatchedPlanSumsAsAPlanWithoutThePair)
{
    Model m;
    for (const DdiEstimator e : {DdiEstimator::PerVariable, DdiEstimator::SharedState})
        for (const int key : {1, 5}) { // (1,0) and (2,2) carry DDI lists
            InferPlan patched(m.pm, m.pi, m.micp, m.di);
            patched.RemoveSlot(patched.SlotOf(key));
            ParamSet onPatched(patched, m.mip, m.micp, ObsModel(m.om), ObsModel(m.dm));
            onPatched.SetEstimator(e);
            MotInterPot mip(m.mip), micp(m.micp);
            mip.DelPotIndex(key);
            micp.DelPotIndex(key);
            const InferPlan fewer(m.pm, m.pi, micp, m.di);
            ParamSet onFewer(fewer, mip, micp, ObsModel(m.om), ObsModel(m.dm));
            onFewer.SetEstimator(e);
            for (const int part : {0, 1, 2, 7})
                EXPECT_EQ(LogJointProb(onPatched, part), LogJointProb(onFewer, part)) << key << " part " << part;
        }
}

#include "infer/EMRound.h"

#include <cmath>

#include "infer/PairKernel.h"

namespace {

// The weights an observation gets for the actual values 0 and 1 when
// `prob1` is the posterior probability of 1.
inline double WeightFor(int a, double prob1) { return a ? prob1 : 1 - prob1; }

// Hands the PPI model `id` its values of this E-step, in the order that
// ObsModel::AddStat over the usable pairs in plan order would: its sums stay
// in registers, so that each value costs no trip through memory. A pair's
// posterior probability of interaction is (1 - Q) r, from its Q (`forcedQ`
// for the forced pair) and its ratio r.
void PpiStats(const InferPlan& plan, int id, const double* q, int forcedPair, double forcedQ, const double* ratio,
              const unsigned char* usable, ObsModel& om)
{
    StatSums sums = om.SumsOf(std::size_t(id));
    StatList* list = om.ListOf(std::size_t(id));
    const int* obsPair = plan.ObsPair();
    const int* cells[2] = {plan.Cells(0), plan.Cells(1)};
    const double* values = plan.CellValues();
    for (const unsigned* e = plan.StatBegin(id); e != plan.StatEnd(id); ++e) {
        const unsigned o = *e >> 1;
        const int a = int(*e & 1);
        const int p = obsPair[o];
        if (!usable[p])
            continue;
        const double w = WeightFor(a, (1 - (p == forcedPair ? forcedQ : q[p])) * ratio[p]);
        const double v = values[cells[a][o]];
        sums.Add(w, v);
        if (list)
            list->emplace_back(w, v);
    }
    om.SumsOf(std::size_t(id)) = sums;
}

// The same for the DDI models `id` and `id + 1` (when there is one) at
// once, each with sums of its own: every binding variable with a
// domain-domain list hands over the whole list, weighted with the posterior
// probability that the variable is 1: thetaC of its slot times the ratio r
// of its pair, or 0 when it is fixed at 0. In plan order.
void DdiStats(const InferPlan& plan, int id, const double* thetaC, const double* ratio, const Forcing& f, ObsModel& dm)
{
    const bool two = std::size_t(id) + 1 < dm.Size();
    StatSums sums0 = dm.SumsOf(std::size_t(id));
    StatSums sums1 = two ? dm.SumsOf(std::size_t(id) + 1) : StatSums();
    StatList* list0 = dm.ListOf(std::size_t(id));
    StatList* list1 = two ? dm.ListOf(std::size_t(id) + 1) : nullptr;
    const int* vars = plan.Vars();
    const int* varPair = plan.VarPair();
    const int forcedBegin = f.pair >= 0 ? plan.GetPair(f.pair).begin : 0;
    for (int v = 0; v < plan.NumVars(); ++v) {
        const int s = vars[v];
        const InterList* d = plan.SlotDdi(s);
        if (!d)
            continue;
        const int p = varPair[v];
        const double prob1 = (p == f.pair && f.Fixed(v - forcedBegin)) ? 0.0 : thetaC[s] * ratio[p];
        for (const auto& obs : *d) {
            for (int a = 0; a < 2; ++a) {
                const int m = obs.ModelId(a);
                if (m == id) {
                    const double w = WeightFor(a, prob1);
                    sums0.Add(w, obs.val);
                    if (list0)
                        list0->emplace_back(w, obs.val);
                } else if (two && m == id + 1) {
                    const double w = WeightFor(a, prob1);
                    sums1.Add(w, obs.val);
                    if (list1)
                        list1->emplace_back(w, obs.val);
                }
            }
        }
    }
    dm.SumsOf(std::size_t(id)) = sums0;
    if (two)
        dm.SumsOf(std::size_t(id) + 1) = sums1;
}

// The M-step of the affinities with a shared motif-level state: the list of
// each live motif pair observes its state Z once. z = P(Z = 1 | D) under the
// affinity thetaC (the affinity itself with this estimator) is one more
// expected count of ones, and one copy of the list, weighted z, teaches the
// DDI models; in slot order. A list impossible under both values says
// nothing: z keeps the prior and the list teaches nothing.
void SharedStateStep(const InferPlan& plan, const Prior& prior, std::vector<double>& theta, const double* thetaC,
                     const double* ratioSum, ObsModel& dm)
{
    for (int s = 0; s < plan.NumSlots(); ++s) {
        if (!plan.Live(s))
            continue;
        double z = 0.0, states = 0.0;
        if (const InterList* d = plan.SlotDdi(s)) {
            const double p0 = dm.GetProb(0, *d);
            const double p1 = dm.GetProb(1, *d);
            const double den = (1 - thetaC[s]) * p0 + thetaC[s] * p1;
            states = 1.0;
            if (den != 0.0 && std::isfinite(den)) {
                z = thetaC[s] * p1 / den;
                dm.AddStat(z, *d);
            } else {
                z = thetaC[s];
            }
        }
        theta[s] = (thetaC[s] * ratioSum[s] + z + prior.aPos) / (plan.SlotCount(s) + states + prior.aAll);
    }
}

} // namespace

void EnM1Step(ParamSet& ps)
{
    const InferPlan& plan = *ps.plan;
    const int n = plan.NumSlots();
    const int np = plan.NumPairs();
    const int nv = plan.NumVars();
    auto& sc = ps.scratch;
    // Q, P0 and P1 of every pair with nothing forced: the pair terms of the
    // last log joint while the parameters have not changed since, else
    // computed now. The forced pair's Q is its own.
    const PairTerms* t = ps.terms.get();
    if (!t) {
        PairTerms& own = ps.OwnTerms();
        ps.PairProbs(own);
        t = &own;
    }
    const Forcing& f = ps.forcing;
    double forcedQ = 0.0;
    if (f.pair >= 0) {
        ps.EnsureFactors();
        forcedQ = PairNonInter(plan, f, sc.oneMinusC.data(), sc.leakPow, ps.leakC, f.pair);
    }
    sc.ratioSum.assign(n + 1, 0.0); // the dead slot's sum is never read
    double* ratioSum = sc.ratioSum.data();
    sc.ratio.resize(std::size_t(np));
    sc.usable.resize(std::size_t(np));
    double* ratio = sc.ratio.data();
    unsigned char* usableOf = sc.usable.data();
    const double* thetaC = ps.thetaC.data();
    const Prior prior = ps.prior;
    ps.om.ReserveStat(plan.OmStatCount());
    ps.dm.ReserveStat(plan.DmStatCount());

    double leakRatioSum = 0.0;
    for (int p = 0; p < np; ++p) {
        const bool forced = p == f.pair;
        const double q = forced ? forcedQ : t->q[p];
        const double p0 = t->p0[p];
        const double p1 = t->p1[p];
        const double den = (1 - q) * p1 + q * p0;
        double r = p1 / den;
        // Observations impossible under both states carry no usable evidence:
        // the pair's variables keep their prior and its observations teach
        // the observation models nothing.
        const bool usable = den != 0.0 && std::isfinite(den) && std::isfinite(r);
        usableOf[p] = usable;
        if (!usable)
            r = 1.0;
        ratio[p] = r;
        leakRatioSum += (plan.GetPair(p).numLeak - (forced ? f.numNBLeak : 0)) * r;
    }

    // Every binding variable in plan order, so each slot's sum is taken in
    // the order of its variables.
    const int* vars = plan.Vars();
    const int* varPair = plan.VarPair();
    const int forcedBegin = f.pair >= 0 ? plan.GetPair(f.pair).begin : 0;
    for (int v = 0; v < nv; ++v) {
        const int s = vars[v];
        const int p = varPair[v];
        if (p == f.pair && f.Fixed(v - forcedBegin))
            continue;
        ratioSum[s] += ratio[p];
    }
    for (int id = 0; id < plan.NumStatModels() && id < int(ps.om.Size()); ++id)
        PpiStats(plan, id, t->q.data(), f.pair, forcedQ, ratio, usableOf, ps.om);
    if (ps.estimator == DdiEstimator::PerVariable) {
        for (int id = 0; id < int(ps.dm.Size()); id += 2)
            DdiStats(plan, id, thetaC, ratio, f, ps.dm);
        // Variables fixed at 0 add nothing to the expected count of ones but
        // count in the denominator.
        for (int s = 0; s < n; ++s)
            if (plan.Live(s))
                ps.theta[s] = (thetaC[s] * ratioSum[s] + prior.aPos) / (plan.SlotCount(s) + prior.aAll);
    } else {
        SharedStateStep(plan, prior, ps.theta, thetaC, ratioSum, ps.dm);
    }
    ps.leak = (ps.leakC * leakRatioSum + prior.aPos) / (double(plan.LeakCount()) + prior.aAll);
    // theta and the leak changed; thetaC and the observation models not yet.
    ps.fresh = false;
    ps.terms.reset();
}

void EMStep(ParamSet& ps, std::ostream& mixLog)
{
    EnM1Step(ps);
    ps.om.M2Step(nullptr, nullptr, nullptr, mixLog);
    ps.dm.M2Step(nullptr, nullptr, nullptr, mixLog);
    const InferPlan& plan = *ps.plan;
    if (ps.estimator == DdiEstimator::SharedState) {
        // The evidence is in the affinities already: conditioning on it
        // again would count it twice.
        for (int s = 0; s < plan.NumSlots(); ++s)
            if (plan.Live(s))
                ps.thetaC[s] = ps.theta[s];
        ps.leakC = ps.leak;
        ps.Changed();
        return;
    }
    // thetaC = P(B = 1 | D) under the re-learned DDI model; evidence
    // impossible under both values says nothing and keeps the prior.
    for (int s = 0; s < plan.NumSlots(); ++s) {
        if (!plan.Live(s))
            continue;
        double p0 = 1.0, p1 = 1.0;
        if (const InterList* d = plan.SlotDdi(s)) {
            p0 = ps.dm.GetProb(0, *d);
            p1 = ps.dm.GetProb(1, *d);
        }
        const double theta = ps.theta[s];
        const double den = (1 - theta) * p0 + theta * p1;
        ps.thetaC[s] = (den != 0.0 && std::isfinite(den)) ? theta * p1 / den : theta;
    }
    ps.leakC = ps.leak;
    ps.Changed();
}

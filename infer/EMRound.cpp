#include "infer/EMRound.h"

#include <cmath>

#include "infer/PairKernel.h"
#include "model/Globals.h"

void EnM1Step(ParamSet& ps)
{
    const InferPlan& plan = *ps.plan;
    const int n = plan.NumSlots();
    auto& sc = ps.scratch;
    // Q, P0 and P1 of every pair are still those of the last complete log
    // joint when nothing changed since.
    const bool known = sc.pairsFresh;
    if (!known)
        PrepareFactors(plan, ps.thetaC, ps.leakC, sc.oneMinusC, sc.leakPow);
    sc.ratioSum.assign(n + 1, 0.0); // the dead slot's sum is never read
    double* ratioSum = sc.ratioSum.data();
    const double* thetaC = ps.thetaC.data();
    double leakRatioSum = 0.0;
    const Forcing& f = ps.forcing;
    const int* vars = plan.Vars();
    ps.om.ReserveStat(plan.OmStatCount());
    ps.dm.ReserveStat(plan.DmStatCount());

    for (int p = 0; p < plan.NumPairs(); ++p) {
        const auto& pr = plan.GetPair(p);
        const double p0 = known ? sc.p0[p] : ps.om.GetProb(0, *pr.obs);
        const double p1 = known ? sc.p1[p] : ps.om.GetProb(1, *pr.obs);
        const double q = known ? sc.q[p] : PairNonInter(plan, f, sc.oneMinusC.data(), sc.leakPow, ps.leakC, p);
        const double den = (1 - q) * p1 + q * p0;
        double r = p1 / den;
        // Observations impossible under both states carry no usable evidence:
        // the pair's variables keep their prior and its observations teach
        // the observation models nothing.
        const bool usable = den != 0.0 && std::isfinite(den) && std::isfinite(r);
        if (usable)
            ps.om.AddStat((1 - q) * r, *pr.obs);
        else
            r = 1.0;

        const bool forced = p == f.pair;
        leakRatioSum += (pr.numLeak - (forced ? f.numNBLeak : 0)) * r;

        for (int v = pr.begin; v < pr.end; ++v) {
            const int s = vars[v];
            const InterList* d = plan.SlotDdi(s);
            if (forced && f.Fixed(v - pr.begin)) {
                if (d)
                    ps.dm.AddStat(0.0, *d);
                continue;
            }
            ratioSum[s] += r;
            if (d)
                ps.dm.AddStat(thetaC[s] * r, *d);
        }
    }

    // Variables fixed at 0 add nothing to the expected count of ones but
    // count in the denominator.
    for (int s = 0; s < n; ++s)
        if (plan.Live(s))
            ps.theta[s] = (thetaC[s] * ratioSum[s] + g_aPos) / (plan.SlotCount(s) + g_aAll);
    ps.leak = (ps.leakC * leakRatioSum + g_aPos) / (double(plan.LeakCount()) + g_aAll);
    ps.fresh = false;
}

void EMStep(ParamSet& ps, std::ostream& mixLog)
{
    EnM1Step(ps);
    ps.scratch.pairsFresh = false;
    ps.om.M2Step(nullptr, nullptr, nullptr, mixLog);
    ps.dm.M2Step(nullptr, nullptr, nullptr, mixLog);
    // thetaC = P(B = 1 | D) under the re-learned DDI model; evidence
    // impossible under both values says nothing and keeps the prior.
    const InferPlan& plan = *ps.plan;
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
    ps.fresh = false;
}

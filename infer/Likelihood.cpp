#include "infer/Likelihood.h"

#include <cmath>

#include "dist/Tolerances.h"
#include "infer/PairKernel.h"
#include "model/Globals.h"

double IntPow(double x, int n)
{
    if (n < 0)
        return 1.0 / IntPow(x, -n);
    double result = 1.0;
    double base = x;
    while (n > 0) {
        if (n & 1)
            result *= base;
        n >>= 1;
        if (n > 0)
            base *= base;
    }
    return result;
}

double AlNonInterProb(const ProtMot& pm, const MotInterPot& micp, int prot1, int prot2)
{
    const auto& act = micp.GetActPair();
    return NonInterProduct(pm, pm.GetNonBind(), micp.GetLeak(), prot1, prot2, [&](int k, double& a) {
        const auto it = act.find(k);
        if (it == act.end())
            return false;
        a = it->second;
        return true;
    });
}

double AlNonInterProb(const ProtMot& pm, const NonBind& nb, const ParamSet& ps, int prot1, int prot2)
{
    const InferPlan& plan = ps.Plan();
    return NonInterProduct(pm, nb, ps.LeakC(), prot1, prot2, [&](int k, double& a) {
        const int s = plan.SlotOf(k);
        if (s < 0 || !plan.Live(s))
            return false;
        a = ps.ThetaC(s);
        return true;
    });
}

double LogJointProb(ParamSet& ps, int part)
{
    if (part == 0 && ps.fresh)
        return ps.joint;
    const InferPlan& plan = *ps.plan;
    const int n = plan.NumSlots();
    const int np = plan.NumPairs();
    const double* theta = ps.theta.data();
    auto& sc = ps.scratch;
    PrepareFactors(plan, ps.thetaC, ps.leakC, sc.oneMinusC, sc.leakPow);
    // A free binding variable with a domain-domain list adds ln P(D), which
    // depends on its slot only.
    sc.ddiP0.resize(n);
    sc.ddiTerm.resize(n);
    for (int s = 0; s < n; ++s) {
        const InterList* d = plan.SlotDdi(s);
        if (!d)
            continue;
        const double p0 = ps.dm.GetProb(0, *d);
        sc.ddiP0[s] = p0;
        sc.ddiTerm[s] = std::log((1 - theta[s]) * p0 + theta[s] * ps.dm.GetProb(1, *d));
    }
    // A pass over every pair leaves its terms for the next E-step.
    const bool all = part != 1 && part != 2;
    if (all) {
        sc.q.resize(np);
        sc.p0.resize(np);
        sc.p1.resize(np);
    }

    double l = 0.0;
    const double lambda = ps.leak;
    const Forcing& f = ps.forcing;
    const int* vars = plan.Vars();
    for (int p = 0; p < np; ++p) {
        const auto& pr = plan.GetPair(p);
        if ((part == 1 && !pr.knownPos) || (part == 2 && !pr.knownNeg))
            continue;
        const double q = PairNonInter(plan, f, sc.oneMinusC.data(), sc.leakPow, ps.leakC, p);
        const double p0 = ps.om.GetProb(0, *pr.obs);
        const double p1 = ps.om.GetProb(1, *pr.obs);
        if (all) {
            sc.q[p] = q;
            sc.p0[p] = p0;
            sc.p1[p] = p1;
        }
        l += std::log((1 - q) * p1 + q * p0);
        if (p != f.pair) {
            for (int v = pr.begin; v < pr.end; ++v) {
                const int s = vars[v];
                if (plan.SlotDdi(s))
                    l += sc.ddiTerm[s];
            }
            continue;
        }
        // Only add a term for leak variables that are actually fixed, so a
        // leak probability of 1 cannot turn 0 fixed variables into 0 * -inf.
        if (f.numNBLeak != 0)
            l += f.numNBLeak * std::log(1 - lambda);
        for (int v = pr.begin; v < pr.end; ++v) {
            const int s = vars[v];
            const bool ddi = plan.SlotDdi(s) != nullptr;
            if (f.Fixed(v - pr.begin)) {
                if (ddi)
                    l += std::log(sc.ddiP0[s]);
                l += std::log(1 - theta[s]);
            } else if (ddi) {
                l += sc.ddiTerm[s];
            }
        }
    }
    if (all)
        sc.pairsFresh = true;
    if (part == 0) {
        for (int s = 0; s < n; ++s)
            if (plan.Live(s))
                l += g_aNeg * std::log(1 - theta[s]) + g_aPos * std::log(theta[s]);
        l += g_aNeg * std::log(1 - lambda) + g_aPos * std::log(lambda);
        ps.joint = l;
        ps.fresh = true;
    }
    return l;
}

int IsOneAct(const interdatum& obsval, int interval)
{
    return obsval.modelId0 == -1 && obsval.modelId1 == -1 && std::fabs(obsval.val - interval) < g_eps;
}

int IsActPos(const InterList& obsvals)
{
    for (const auto& d : obsvals)
        if (IsOneAct(d, 1))
            return 1;
    return 0;
}

int IsActNeg(const InterList& obsvals)
{
    for (const auto& d : obsvals)
        if (IsOneAct(d, 0))
            return 1;
    return 0;
}

#include "infer/Likelihood.h"

#include <cmath>

#include "dist/Tolerances.h"
#include "infer/PairKernel.h"

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

double AlNonInterProb(const ProtMot& pm, const NonBind& nb, const ParamSet& ps, int prot1, int prot2)
{
    const double leak = IntPow(1 - ps.LeakC(), pm.NumLeak(prot1, prot2) - pm.NumNBLeak(nb, prot1, prot2));
    return ComboNonInter(ps.Plan(), nb, leak, prot1, prot2, [&](int s) { return 1 - ps.ThetaC(s); });
}

namespace {

// The terms of the forced pair p and of its variables, added to l in order.
// With `perVar` each variable's domain-domain list adds its own term, as the
// per-variable estimator has it; otherwise the lists are no part of a pair.
double AddForcedPair(const InferPlan& plan, const PairTerms& t, const Forcing& f, double q, double lambda,
                     const double* theta, bool perVar, double l)
{
    const int p = f.pair;
    const auto& pr = plan.GetPair(p);
    const double* ddiTerm = t.logTerm.data() + plan.NumPairs();
    l += std::log((1 - q) * t.p1[p] + q * t.p0[p]);
    // Only add a term for leak variables that are actually fixed, so a leak
    // probability of 1 cannot turn 0 fixed variables into 0 * -inf.
    if (f.numNBLeak != 0)
        l += f.numNBLeak * std::log(1 - lambda);
    const int* vars = plan.Vars();
    for (int v = pr.begin; v < pr.end; ++v) {
        const int s = vars[v];
        const bool ddi = perVar && plan.SlotDdi(s) != nullptr;
        if (f.Fixed(v - pr.begin)) {
            if (ddi)
                l += std::log(t.ddiP0[s]);
            l += std::log(1 - theta[s]);
        } else if (ddi) {
            l += ddiTerm[s];
        }
    }
    return l;
}

// The log joint with a shared motif-level state: every pair's term in plan
// order (the forced pair its own), then, over every pair, the terms of the
// live motif pairs' lists in slot order, once each.
double SharedStateJoint(const InferPlan& plan, const PairTerms& t, const Forcing& f, double forcedQ, double lambda,
                        const double* theta, int part)
{
    const int np = plan.NumPairs();
    double l = 0.0;
    for (int p = 0; p < np; ++p) {
        const auto& pr = plan.GetPair(p);
        if ((part == 1 && !pr.knownPos) || (part == 2 && !pr.knownNeg))
            continue;
        if (p == f.pair)
            l = AddForcedPair(plan, t, f, forcedQ, lambda, theta, false, l);
        else
            l += t.logTerm[p];
    }
    if (part == 1 || part == 2)
        return l;
    const double* ddiTerm = t.logTerm.data() + np;
    for (int s = 0; s < plan.NumSlots(); ++s)
        if (plan.Live(s) && plan.SlotDdi(s))
            l += ddiTerm[s];
    return l;
}

} // namespace

double LogJointProb(ParamSet& ps, int part)
{
    if (part == 0 && ps.fresh)
        return ps.joint;
    // Every pair's terms with nothing forced; only the forced pair differs.
    const PairTerms& t = ps.EnsureTerms();
    const InferPlan& plan = *ps.plan;
    const double* theta = ps.theta.data();
    const Forcing& f = ps.forcing;
    const int np = plan.NumPairs();
    double forcedQ = 0.0;
    if (f.pair >= 0) {
        ps.EnsureFactors();
        forcedQ = PairNonInter(plan, f, ps.scratch.oneMinusC.data(), ps.scratch.leakPow, ps.leakC, f.pair);
    }
    const int* vars = plan.Vars();
    const double* logTerm = t.logTerm.data();
    const double* ddiTerm = logTerm + np;
    double l = 0.0;
    if (ps.estimator == DdiEstimator::SharedState) {
        l = SharedStateJoint(plan, t, f, forcedQ, ps.leak, theta, part);
        if (part == 1 || part == 2)
            return l;
    } else if (part == 1 || part == 2) {
        // Only the pairs known to interact, or known not to.
        for (int p = 0; p < np; ++p) {
            const auto& pr = plan.GetPair(p);
            if (!(part == 1 ? pr.knownPos : pr.knownNeg))
                continue;
            if (p == f.pair) {
                l = AddForcedPair(plan, t, f, forcedQ, ps.leak, theta, true, l);
                continue;
            }
            l += logTerm[p];
            for (int v = pr.begin; v < pr.end; ++v)
                if (plan.SlotDdi(vars[v]))
                    l += ddiTerm[vars[v]];
        }
        return l;
    } else {
        // Every pair: the terms in the plan's order, the forced pair's its own.
        const int* seq = plan.SumSeq();
        const int end = plan.SumSeqSize();
        const int cut = f.pair >= 0 ? plan.SumSeqBegin(f.pair) : end;
        for (int k = 0; k < cut; ++k)
            l += logTerm[seq[k]];
        if (f.pair >= 0) {
            l = AddForcedPair(plan, t, f, forcedQ, ps.leak, theta, true, l);
            for (int k = plan.SumSeqBegin(f.pair + 1); k < end; ++k)
                l += logTerm[seq[k]];
        }
    }
    if (part == 0) {
        for (int s = 0; s < plan.NumSlots(); ++s)
            if (plan.Live(s))
                l += t.prior[s];
        l += t.leakPrior;
        // The noise models' prior, when they have one.
        if (ps.om.HasNoisePrior())
            l += ps.om.LogPrior();
        if (ps.dm.HasNoisePrior())
            l += ps.dm.LogPrior();
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

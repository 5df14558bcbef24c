#pragma once

#include <algorithm>
#include <vector>

#include "infer/Forcing.h"
#include "infer/InferPlan.h"
#include "infer/Likelihood.h"
#include "model/NonBind.h"
#include "model/ProtMot.h"

// Leak powers are tabulated up to this many leak variables; longer pairs
// compute theirs.
constexpr int LEAKPOWTABLE = 4096;

// The factors of the non-interaction probabilities under the conditioned
// affinities `thetaC` and leak `leakC`: 1 - thetaC per slot (and 1 for the
// dead slot), and (1 - leakC)^n for the leak counts of the plan. Each is the
// very value the product would compute in place.
inline void PrepareFactors(const InferPlan& plan, const std::vector<double>& thetaC, double leakC,
                           std::vector<double>& oneMinus, std::vector<double>& leakPow)
{
    const int n = plan.NumSlots();
    oneMinus.resize(n + 1);
    for (int s = 0; s < n; ++s)
        oneMinus[s] = 1 - thetaC[s];
    oneMinus[n] = 1.0;
    const int m = std::min(plan.MaxLeak(), LEAKPOWTABLE - 1) + 1;
    leakPow.resize(m);
    for (int k = 0; k < m; ++k)
        leakPow[k] = IntPow(1 - leakC, k);
}

// (1 - leak)^n from the table when it holds n.
inline double LeakFactor(const std::vector<double>& leakPow, double leak, int n)
{
    return (n >= 0 && n < int(leakPow.size())) ? leakPow[n] : IntPow(1 - leak, n);
}

// Q of plan pair p, the product in plan order. The forced pair skips its
// fixed variables and leak variables.
inline double PairNonInter(const InferPlan& plan, const Forcing& f, const double* oneMinus,
                           const std::vector<double>& leakPow, double leakC, int p)
{
    const auto& pr = plan.GetPair(p);
    const int* vars = plan.Vars();
    const bool forced = p == f.pair;
    const int n = forced ? pr.numLeak - f.numNBLeak : pr.numLeak;
    double q = LeakFactor(leakPow, leakC, n);
    if (!forced) {
        for (int v = pr.begin; v < pr.end; ++v)
            q = q * oneMinus[vars[v]];
        return q;
    }
    for (int v = pr.begin; v < pr.end; ++v)
        if (!f.Fixed(v - pr.begin))
            q = q * oneMinus[vars[v]];
    return q;
}

// Q, P0 and P1 of every plan pair with nothing forced, as PairNonInter and
// ObsModel::GetProb give them: each product from its first factor in the
// same order (P(O | I = a) over the pair's observations' cells in list
// order, from 1), taken a factor at a time across all pairs, so that no loop
// runs over one pair's few factors.
inline void AllPairProbs(const InferPlan& plan, const double* oneMinus, const std::vector<double>& leakPow,
                         double leakC, const double* cells, double* q, double* p0, double* p1)
{
    const int np = plan.NumPairs();
    for (int p = 0; p < np; ++p) {
        q[p] = LeakFactor(leakPow, leakC, plan.GetPair(p).numLeak);
        p0[p] = 1.0;
        p1[p] = 1.0;
    }
    const int* vars = plan.Vars();
    const int* varPair = plan.VarPair();
    for (int v = 0; v < plan.NumVars(); ++v)
        q[varPair[v]] = q[varPair[v]] * oneMinus[vars[v]];
    const int* obsPair = plan.ObsPair();
    const int* cell0 = plan.Cells(0);
    const int* cell1 = plan.Cells(1);
    const int no = np > 0 ? plan.GetPair(np - 1).obsEnd : 0;
    for (int o = 0; o < no; ++o) {
        p0[obsPair[o]] *= cells[cell0[o]];
        p1[obsPair[o]] *= cells[cell1[o]];
    }
}

// Q of any protein pair (prot1, prot2) under the forced setting `nb`: the
// leak factor `leakFactor` of its free leak variables, times factor(s) =
// 1 - affinity of slot s over its free binding variables, motifs of prot1
// outer, in the argument order given. Removed slots take no part.
template <typename Factor>
double ComboNonInter(const InferPlan& plan, const NonBind& nb, double leakFactor, int prot1, int prot2, Factor factor)
{
    double q = leakFactor;
    if (!nb.WithNonBind(prot1, prot2)) {
        plan.Combos().ForEach(prot1, prot2, [&](int, int, int s) {
            if (plan.Live(s))
                q = q * factor(s);
        });
        return q;
    }
    plan.Combos().ForEach(prot1, prot2, [&](int m1, int m2, int s) {
        if (plan.Live(s) && !nb.IsNonBind(prot1, prot2, m1, m2))
            q = q * factor(s);
    });
    return q;
}

#pragma once

#include <algorithm>
#include <vector>

#include "infer/Forcing.h"
#include "infer/InferPlan.h"
#include "infer/Likelihood.h"

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

// Q of plan pair p, the product in plan order. The forced pair skips its
// fixed variables and leak variables.
inline double PairNonInter(const InferPlan& plan, const Forcing& f, const double* oneMinus,
                           const std::vector<double>& leakPow, double leakC, int p)
{
    const auto& pr = plan.GetPair(p);
    const int* vars = plan.Vars();
    const bool forced = p == f.pair;
    const int n = forced ? pr.numLeak - f.numNBLeak : pr.numLeak;
    double q = (n >= 0 && n < int(leakPow.size())) ? leakPow[n] : IntPow(1 - leakC, n);
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

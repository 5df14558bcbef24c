#pragma once

#include "infer/Forcing.h"
#include "infer/InferPlan.h"
#include "infer/Likelihood.h"

// Q of plan pair p, the product in plan order: `oneMinus` holds 1 - thetaC
// per slot. The forced pair skips its fixed variables and leak variables.
inline double PairNonInter(const InferPlan& plan, const Forcing& f, const double* oneMinus, double leakC, int p)
{
    const auto& pr = plan.GetPair(p);
    const int* vars = plan.Vars();
    if (p != f.pair) {
        double q = IntPow(1 - leakC, pr.numLeak);
        for (int v = pr.begin; v < pr.end; ++v)
            q = q * oneMinus[vars[v]];
        return q;
    }
    double q = IntPow(1 - leakC, pr.numLeak - f.numNBLeak);
    for (int v = pr.begin; v < pr.end; ++v)
        if (!f.Fixed(v - pr.begin))
            q = q * oneMinus[vars[v]];
    return q;
}

#include "infer/Forcing.h"

Forcing::Forcing(const InferPlan& plan, const ProtMot& pm, const NonBind& nb)
{
    if (nb.prot1 == -1)
        return;
    const int p = plan.PairOf(nb.prot1, nb.prot2);
    if (p < 0)
        return;
    const auto& pr = plan.GetPair(p);
    pair = p;
    numNBLeak = pm.NumNBLeak(nb, pr.prot1, pr.prot2);
    // The pair's variables in plan order: its active combinations. One of a
    // removed motif pair is never fixed: it takes no part anyway.
    bits.reserve(pr.end - pr.begin);
    plan.Combos().ForEach(pr.prot1, pr.prot2, [&](int m1, int m2, int s) {
        bits.push_back(plan.Live(s) && nb.IsNonBind(pr.prot1, pr.prot2, m1, m2));
    });
}

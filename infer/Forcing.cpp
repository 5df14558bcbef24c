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
    for (const auto& [m1, l1] : pm.GetMots(pr.prot1)) {
        for (const auto& [m2, l2] : pm.GetMots(pr.prot2)) {
            const int s = plan.SlotOf(MotInterPot::Index(m1, m2));
            if (s >= 0)
                bits.push_back(plan.Live(s) && nb.IsNonBind(pr.prot1, pr.prot2, m1, m2));
        }
    }
}

#include "infer/InferPlan.h"

#include <algorithm>

#include "infer/Likelihood.h"

namespace {

// Counts, by model ID, the values a list hands to the statistics when both
// of its actual values get a weight.
void CountStats(const InterList& obs, std::vector<std::size_t>& counts)
{
    for (const auto& d : obs) {
        for (int a = 0; a < 2; ++a) {
            const int id = d.ModelId(a);
            if (id < 0)
                continue;
            if (std::size_t(id) >= counts.size())
                counts.resize(std::size_t(id) + 1, 0);
            ++counts[id];
        }
    }
}

} // namespace

InferPlan::InferPlan(const ProtMot& pm, const ProtInter& pi, const MotInterPot& act, const ProtInter& di)
{
    const auto& actPair = act.GetActPair();
    const auto& ddi = di.GetAllInter();
    keys.reserve(actPair.size());
    slotDdi.reserve(actPair.size());
    for (const auto& [k, aff] : actPair) {
        keys.push_back(k);
        const auto d = ddi.find(k);
        slotDdi.push_back(d == ddi.end() ? nullptr : &d->second);
    }
    slotDdi.push_back(nullptr); // Dead()
    live.assign(keys.size(), 1);
    slotCount.assign(keys.size(), 0);

    const auto& all = pi.GetAllInter();
    std::vector<Pair> ps;
    std::vector<int> pks;
    ps.reserve(all.size());
    pks.reserve(all.size());
    for (const auto& [key, obs] : all) {
        const auto [i, j] = pi.RevIndex(key);
        Pair p{i, j, &obs, pm.NumLeak(i, j), int(vars.size()), 0, IsActPos(obs) != 0, IsActNeg(obs) != 0};
        for (const auto& [m1, l1] : pm.GetMots(i)) {
            for (const auto& [m2, l2] : pm.GetMots(j)) {
                const int s = SlotOf(MotInterPot::Index(m1, m2));
                if (s < 0)
                    continue;
                vars.push_back(s);
                ++slotCount[s];
            }
        }
        p.end = int(vars.size());
        leakCount += p.numLeak;
        maxLeak = std::max(maxLeak, p.numLeak);
        CountStats(obs, omStatCount);
        ps.push_back(p);
        pks.push_back(key);
    }
    pairs = std::make_shared<const std::vector<Pair>>(std::move(ps));
    pairKeys = std::make_shared<const std::vector<int>>(std::move(pks));
    for (const int s : vars)
        if (slotDdi[s])
            CountStats(*slotDdi[s], dmStatCount);
}

int InferPlan::SlotOf(int key) const
{
    const auto it = std::lower_bound(keys.begin(), keys.end(), key);
    if (it == keys.end() || *it != key)
        return -1;
    return int(it - keys.begin());
}

int InferPlan::PairOf(int prot1, int prot2) const
{
    const int key = ProtInter::Index(prot1, prot2);
    const auto it = std::lower_bound(pairKeys->begin(), pairKeys->end(), key);
    if (it == pairKeys->end() || *it != key)
        return -1;
    return int(it - pairKeys->begin());
}

void InferPlan::RemoveSlot(int s)
{
    if (s < 0 || s >= NumSlots() || !live[s])
        return;
    live[s] = 0;
    slotCount[s] = 0;
    // The statistics bounds stay those of the whole plan, so that every
    // patched copy reserves the same room.
    for (int& v : vars)
        if (v == s)
            v = Dead();
}

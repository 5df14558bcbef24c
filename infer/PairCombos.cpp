#include "infer/PairCombos.h"

#include <algorithm>
#include <utility>

#include "model/ProtInter.h"

PairCombos::PairCombos(const ProtMot& pm, const std::vector<int>& keys)
{
    numProt = std::max(pm.GetNumProt(), 0);
    protBegin.reserve(std::size_t(numProt) + 1);
    int maxMot = -1;
    for (int p = 0; p < numProt; ++p) {
        protBegin.push_back(int(protMots.size()));
        for (const auto& [m, len] : pm.GetMots(p)) {
            protMots.push_back(m);
            maxMot = std::max(maxMot, m);
        }
    }
    protBegin.push_back(int(protMots.size()));

    // Both motifs of every active pair, each with the other as its partner
    // (a motif paired with itself once).
    std::vector<std::pair<int, int>> ends; // (motif, partner) per entry of `slots`
    std::vector<int> slots;
    for (std::size_t s = 0; s < keys.size(); ++s) {
        const auto [l, m] = PairRevIndex(keys[s], pm.GetNumMot());
        ends.emplace_back(l, m);
        slots.push_back(int(s));
        if (l != m) {
            ends.emplace_back(m, l);
            slots.push_back(int(s));
        }
        maxMot = std::max(maxMot, l);
    }
    numMotRows = maxMot + 1;
    std::vector<int> order(ends.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return ends[a] < ends[b]; });
    motBegin.assign(std::size_t(numMotRows) + 1, 0);
    for (const auto& [m, other] : ends)
        if (m >= 0)
            ++motBegin[std::size_t(m) + 1];
    for (int m = 0; m < numMotRows; ++m)
        motBegin[std::size_t(m) + 1] += motBegin[m];
    for (const int i : order) {
        if (ends[i].first < 0)
            continue;
        partner.push_back(ends[i].second);
        partnerSlot.push_back(slots[i]);
    }
}

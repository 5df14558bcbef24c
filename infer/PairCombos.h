#pragma once

#include <vector>

#include "model/ProtMot.h"

// The active motif combinations of any protein pair, observed or not, found
// without an ordered map: every protein's motifs as a sorted flat list, and
// every motif's active partners as a sorted list with the slot of the motif
// pair. Merging the partners of each motif of the first protein with the
// motifs of the second visits the combinations in the order of the
// non-interaction product: motif of the first protein outer, motif of the
// second inner, both ascending.
class PairCombos {
public:
    // `keys[s]` is the motif pair index of slot s.
    PairCombos(const ProtMot& pm, const std::vector<int>& keys);

    // Calls f(m1, m2, slot) for every active combination of a motif m1 of
    // prot1 with a motif m2 of prot2, in product order. A protein outside
    // the range carries no motif.
    template <typename F>
    void ForEach(int prot1, int prot2, F f) const
    {
        if (!Known(prot1) || !Known(prot2))
            return;
        const int* mots = protMots.data();
        const int qb = protBegin[prot2], qe = protBegin[prot2 + 1];
        for (int a = protBegin[prot1]; a < protBegin[prot1 + 1]; ++a) {
            const int m1 = mots[a];
            if (m1 < 0 || m1 >= numMotRows)
                continue;
            int x = motBegin[m1];
            const int xe = motBegin[m1 + 1];
            int y = qb;
            while (x < xe && y < qe) {
                if (partner[x] < mots[y]) {
                    ++x;
                } else if (partner[x] > mots[y]) {
                    ++y;
                } else {
                    f(m1, mots[y], partnerSlot[x]);
                    ++x;
                    ++y;
                }
            }
        }
    }

private:
    int numProt = 0;
    int numMotRows = 0;
    std::vector<int> protBegin; // per protein, into protMots
    std::vector<int> protMots;  // ascending per protein
    std::vector<int> motBegin;  // per motif, into partner and partnerSlot
    std::vector<int> partner;   // ascending per motif
    std::vector<int> partnerSlot;

    bool Known(int prot) const { return prot >= 0 && prot < numProt; }
};

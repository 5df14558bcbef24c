#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/MotInterPot.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"

// The model's structure compiled once into flat arrays, so that the
// inference kernels walk it without map look-ups or allocation.
//
// Slots number the active motif pairs in ascending pair index; the dense
// affinity arrays of a ParamSet are indexed by slot. Pairs are the observed
// protein pairs in ascending pair index, each with its binding variables (a
// range of `vars`, one slot per variable, in the order motif of the row
// protein outer, motif of the column protein inner) and its leak-variable
// count. The plan points into the observation sets it was compiled from;
// they must outlive it and stay unchanged.
class InferPlan {
public:
    struct Pair {
        int prot1;           // row protein (the larger id)
        int prot2;           // column protein
        const InterList* obs;
        int numLeak;         // leak variables, forced ones included
        int begin;           // first binding variable in `vars`
        int end;             // one past the last
        bool knownPos;       // a noise-free observation says it interacts
        bool knownNeg;       // ... that it does not
    };

    // `act` gives the active motif pairs; `di` the domain-domain lists, keyed
    // by motif pair index (an empty set means no such evidence).
    InferPlan(const ProtMot& pm, const ProtInter& pi, const MotInterPot& act, const ProtInter& di);

    int NumSlots() const { return int(keys.size()); }
    // The slot a removed motif pair's variables point to: a factor of 1 in
    // every product, no domain-domain list, no parameter (see RemoveSlot).
    int Dead() const { return NumSlots(); }
    int Key(int s) const { return keys[s]; }
    // The slot of a motif pair index, or -1 when the pair is not active.
    int SlotOf(int key) const;
    // Whether a slot still stands for an active pair (see RemoveSlot).
    bool Live(int s) const { return live[s] != 0; }
    // Binding variables with this slot on the observed pairs.
    int SlotCount(int s) const { return slotCount[s]; }
    // The domain-domain list of a slot (or of Dead()), or null.
    const InterList* SlotDdi(int s) const { return slotDdi[s]; }

    int NumPairs() const { return int(pairs->size()); }
    const Pair& GetPair(int p) const { return (*pairs)[p]; }
    // The plan pair of an unordered protein pair, or -1 when it is unobserved.
    int PairOf(int prot1, int prot2) const;
    const int* Vars() const { return vars.data(); }
    int NumVars() const { return int(vars.size()); }
    // Sum of the leak counts over all pairs, and the largest one.
    long long LeakCount() const { return leakCount; }
    int MaxLeak() const { return maxLeak; }
    // Upper bounds on the values each observation model collects in one
    // E-step, by model ID: the PPI models from the pairs' observations, the
    // DDI models from the lists of the binding variables.
    const std::vector<std::size_t>& OmStatCount() const { return omStatCount; }
    const std::vector<std::size_t>& DmStatCount() const { return dmStatCount; }

    // The motif pair leaves the active set: its variables point to Dead()
    // from now on, which multiplies every product by exactly 1 and adds no
    // term, so they take no part, and the slot takes no further part in any
    // step. Copies of a plan share their pairs, so a patched copy costs only
    // its variables.
    void RemoveSlot(int s);

private:
    std::vector<int> keys;
    std::vector<unsigned char> live;
    std::vector<int> slotCount;
    std::vector<const InterList*> slotDdi; // one more, for Dead()
    std::shared_ptr<const std::vector<int>> pairKeys;
    std::shared_ptr<const std::vector<Pair>> pairs;
    std::vector<int> vars;
    long long leakCount = 0;
    int maxLeak = 0;
    std::vector<std::size_t> omStatCount;
    std::vector<std::size_t> dmStatCount;
};

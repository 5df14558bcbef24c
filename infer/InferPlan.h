#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "infer/PairCombos.h"
#include "model/MotInterPot.h"
#include "model/ObsModel.h"
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
//
// The observations of the pairs are compiled too: every distinct (model ID,
// value) that some observation needs is a cell of a probability table, so
// that a round evaluates each distribution once per distinct value (see
// EvalCells) and a pair's P(O | I = a) is a product of table cells. Cells 0
// and 1 hold the constants 0 and 1 that the fixed-meaning model IDs -1 and -2
// give.
class InferPlan {
public:
    struct Pair {
        int prot1; // row protein (the larger id)
        int prot2; // column protein
        const InterList* obs;
        int numLeak;   // leak variables, forced ones included
        int begin;     // first binding variable in `vars`
        int end;       // one past the last
        int obsBegin;  // first observation in the cell lists
        int obsEnd;    // one past the last
        bool knownPos; // a noise-free observation says it interacts
        bool knownNeg; // ... that it does not
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
    // The active motif combinations of any protein pair, observed or not.
    const PairCombos& Combos() const { return *combos; }

    // The table cell of observation o (a pair's obsBegin .. obsEnd, in list
    // order) for the actual value a.
    const int* Cells(int a) const { return obs->cell[a].data(); }
    // The observed value of a cell, and the pair of an observation.
    const double* CellValues() const { return obs->vals.data(); }
    const int* ObsPair() const { return obs->obsPair.data(); }
    // The values the E-step hands to PPI model `id`, in the order it hands
    // them over (pairs, then observations in list order, then the actual
    // value 0 before 1): entries o * 2 + a, observation o for actual value a.
    int NumStatModels() const { return int(obs->statBegin.size()) - 1; }
    const unsigned* StatBegin(int id) const { return obs->statEntry.data() + obs->statBegin[id]; }
    const unsigned* StatEnd(int id) const { return obs->statEntry.data() + obs->statBegin[id + 1]; }
    int NumCells() const { return int(obs->vals.size()); }
    // Fills table[c] with the probability of cell c under the distributions
    // of `om`, one pass per model over its distinct values.
    void EvalCells(const ObsModel& om, double* table) const;
    const int* Vars() const { return vars.data(); }
    int NumVars() const { return int(vars.size()); }
    // The pair of each binding variable.
    const int* VarPair() const { return varPair->data(); }
    // The terms of the log joint in the order it adds them, pair after pair:
    // p for the term of pair p, then NumPairs() + s for each of its binding
    // variables with a domain-domain list, s the variable's slot as compiled.
    // The terms of pair p are entries SumSeqBegin(p) .. SumSeqBegin(p + 1).
    const int* SumSeq() const { return sumSeq->terms.data(); }
    int SumSeqBegin(int p) const { return sumSeq->pairBegin[p]; }
    int SumSeqSize() const { return int(sumSeq->terms.size()); }
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
    // Per row protein, where its pairs begin (rows are ascending in `pairs`).
    std::shared_ptr<const std::vector<int>> rowBegin;
    std::shared_ptr<const std::vector<Pair>> pairs;
    std::shared_ptr<const PairCombos> combos;
    std::shared_ptr<const std::vector<int>> varPair;
    struct Sequence {
        std::vector<int> terms;
        std::vector<int> pairBegin;
    };
    std::shared_ptr<const Sequence> sumSeq;
    struct ObsCells {
        std::vector<int> cell[2];   // per observation
        std::vector<int> obsPair;   // per observation
        std::vector<int> statBegin; // per model ID, into statEntry
        std::vector<unsigned> statEntry;
        std::vector<double> vals; // per cell: the observed value
        struct Group {
            int model, begin, end; // the cells of one model
        };
        std::vector<Group> groups;
    };
    std::shared_ptr<const ObsCells> obs;
    std::vector<int> vars;
    long long leakCount = 0;
    int maxLeak = 0;
    std::vector<std::size_t> omStatCount;
    std::vector<std::size_t> dmStatCount;
};

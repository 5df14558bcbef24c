#pragma once

#include <utility>
#include <vector>

#include "tools/sim/ActivePairs.h"
#include "tools/sim/LeakModel.h"
#include "tools/sim/ProteinSet.h"
#include "tools/stats/Rng.h"

// One binding variable of a protein pair: motif `mot1` of the first protein
// meeting motif `mot2` of the second, binding with the affinity of the pair.
struct BindingVariable {
    int mot1 = 0;
    int mot2 = 0;
    double affinity = 0.0;
};

// The hidden state of one protein pair, as drawn.
struct InteractionDraw {
    int state = 0; // 1 when any variable fired
    bool leakFired = false;
    std::vector<std::pair<int, int>> fired; // binding variables that are 1
};

// The noisy-OR at the heart of the model: a protein pair interacts exactly
// when at least one of its binding variables or leak variables is 1, all of
// them independent. The binding variables are the ordered combinations of a
// motif of the first protein with a motif of the second whose motif pair is
// active; a protein paired with itself therefore meets every pair of two
// different motifs twice, once in each order.
class NoisyOr {
public:
    NoisyOr(const ProteinSet& proteins, const ActivePairs& active, const LeakModel& leak);

    // Motifs of `p` in the outer loop, of `q` in the inner, ascending ids.
    std::vector<BindingVariable> Variables(int p, int q) const;
    // P(the pair does not interact).
    double NonInterProb(int p, int q) const;
    // Draws every binding variable in order, then whether any leak variable fires.
    InteractionDraw Sample(int p, int q, Rng& rng) const;

private:
    const ProteinSet& proteins_;
    const ActivePairs& active_;
    const LeakModel& leak_;
};

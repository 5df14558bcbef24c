#pragma once

#include <cstdint>
#include <vector>

#include "tools/sim/ActivePairs.h"
#include "tools/sim/NoisyOr.h"
#include "tools/sim/PairPool.h"
#include "tools/sim/ProteinSet.h"
#include "tools/sim/SimConfig.h"

// A protein pair that some experiment tested, with its hidden truth.
struct TestedPair {
    int first = 0; // the two proteins in the order the experiment lists them
    int second = 0;
    int larger = 0;
    int smaller = 0;
    double nonInterProb = 1.0; // under the planted parameters
    int numBindingVars = 0;
    InteractionDraw draw; // binding variables oriented (motif of larger, motif of smaller)
};

// The tested pairs: some proteins paired with themselves, a share chosen among
// pairs that carry an active motif pair (screens are biased towards plausible
// partners), the rest uniform. Each pair's interaction is drawn from the
// noisy-OR. Pairs are kept in ascending pair index.
std::vector<TestedPair> DrawTestedPairs(const SimConfig& config, const ProteinSet& proteins, const ActivePairs& active,
                                        const NoisyOr& noisyOr, PairPool& pool, std::uint64_t seed);

#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "tools/sim/ProteinSet.h"
#include "tools/sim/SimConfig.h"

// A motif pair that can bind, with its planted affinity: the probability that
// one meeting of the two motifs on a protein pair binds.
struct ActivePair {
    int larger = 0;
    int smaller = 0;
    double affinity = 0.0;
    bool strong = false;
};

// The active motif pairs. Families that are common take part in more pairs;
// a minority of pairs bind strongly, the rest weakly, the way a few domain
// interactions dominate real interactomes.
class ActivePairs {
public:
    ActivePairs(const SimConfig& config, const ProteinSet& proteins, std::uint64_t seed);

    // In ascending pair index.
    const std::vector<ActivePair>& All() const { return pairs_; }
    // Affinity of the motif pair, or a negative value when it is not active.
    double Affinity(int mot1, int mot2) const;

private:
    std::vector<ActivePair> pairs_;
    std::unordered_map<std::int64_t, double> lookup_;
};

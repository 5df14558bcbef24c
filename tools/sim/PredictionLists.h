#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "tools/sim/ActivePairs.h"
#include "tools/sim/PairPool.h"
#include "tools/sim/SimConfig.h"
#include "tools/sim/TestedPairs.h"

// The two lists of pairs motifbind predicts for, each pair written larger id
// first.
struct PredictionLists {
    // Every tested pair (predicted from its observations), then untested
    // pairs (predicted from the model alone).
    std::vector<std::pair<int, int>> interaction;
    // Protein pairs whose binding variables to report, and the work list of
    // the perturbation analysis: tested pairs that carry binding variables,
    // interacting ones first. With perturbation type 2 the list holds active
    // motif pairs instead, those that bound on some tested pair first.
    std::vector<std::pair<int, int>> binding;
};

PredictionLists DrawPredictionLists(const SimConfig& config, const std::vector<TestedPair>& tested,
                                    const ActivePairs& active, PairPool& pool, std::uint64_t seed);

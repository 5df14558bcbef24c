#pragma once

#include <filesystem>
#include <map>

#include "tools/toolbox/PairKey.h"

// The simulator's ground truth for one data folder: the planted affinity of
// every active motif pair, and whether each tested protein pair really
// interacts.
struct GroundTruth {
    std::map<PairKey, double> affinities;
    std::map<PairKey, bool> interacts;
    // A prepared set scored on its held-out pairs: no planted affinities,
    // and `interacts` holds whether a source reported each held-out pair.
    bool holdout = false;
};

// Reads truth_affinities.txt (motif, motif, affinity) and
// truth_interactions.txt (protein, protein, state, planted non-interaction
// probability, leak fired) from the folder; or, when there are no planted
// affinities, truth_holdout.txt (protein, protein, state) of a prepared set
// with a hold-out. Throws ToolError.
GroundTruth ReadGroundTruth(const std::filesystem::path& folder);

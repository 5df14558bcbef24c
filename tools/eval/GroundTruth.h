#pragma once

#include <filesystem>
#include <map>

#include "tools/common/PairKey.h"

// The simulator's ground truth for one data folder: the planted affinity of
// every active motif pair, and whether each tested protein pair really
// interacts.
struct GroundTruth {
    std::map<PairKey, double> affinities;
    std::map<PairKey, bool> interacts;
};

// Reads truth_affinities.txt (motif, motif, affinity) and
// truth_interactions.txt (protein, protein, state, planted non-interaction
// probability, leak fired) from the folder; throws ToolError.
GroundTruth ReadGroundTruth(const std::filesystem::path& folder);

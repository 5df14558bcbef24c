#pragma once

#include <filesystem>
#include <map>
#include <optional>

#include "tools/common/PairKey.h"

// What the prediction file says of one protein pair.
struct PairPrediction {
    // Probability that it does not interact by the model alone, without the
    // pair's own observations (the second of the two, which uses the
    // affinities conditioned on domain-domain evidence).
    double prior = 0.0;
    // Given its own observations; nothing when the file says H (none).
    std::optional<double> posterior;
};

// The interaction section of motifbind's prediction file, by protein pair.
// Throws ToolError when the file is missing or the section is absent or
// malformed.
std::map<PairKey, PairPrediction> ReadPredictions(const std::filesystem::path& path);

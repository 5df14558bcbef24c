#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/sim/SimConfig.h"

// A complete generated set, held in memory until it is written.
struct SimulatedSet {
    std::vector<std::pair<std::string, std::string>> files; // (name, text)
    std::string summary;                                    // for the user, not a file
};

// Samples the whole generative model: proteins and their motifs, active motif
// pairs with planted affinities, tested pairs with interactions drawn by the
// noisy-OR, their noisy observations, domain-domain evidence, the prediction
// lists, the ground truth and the command line.
SimulatedSet Simulate(const SimConfig& config);

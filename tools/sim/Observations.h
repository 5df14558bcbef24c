#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/sim/SimConfig.h"
#include "tools/sim/TestedPairs.h"

// Model IDs of the protein interaction observations. An observation names the
// model that scores it when the pair does not interact and the one when it
// does; -1 for both marks a noise-free control whose value is the true state.
constexpr int BINARY_NEG_ID = 0; // binary assay on a non-interacting pair
constexpr int BINARY_POS_ID = 1; // binary assay on an interacting pair
constexpr int SCORE_NEG_ID = 2;  // continuous score, non-interacting
constexpr int SCORE_POS_ID = 3;  // continuous score, interacting
constexpr int NOISE_FREE_ID = -1;

struct ObservationRecord {
    int first = 0;
    int second = 0;
    double value = 0.0;
    int model0 = 0;
    int model1 = 0;
};

// All observations of the tested pairs: a binary assay (reports 1 with the
// false-positive rate on non-interacting pairs and 0 with the false-negative
// rate on interacting ones, sometimes in replicates), a Gaussian score whose
// mean depends on the state, and noise-free controls.
struct PpiObservations {
    std::vector<ObservationRecord> records;
    long long binary = 0;
    long long scores = 0;
    long long controls = 0;
};

PpiObservations DrawObservations(const SimConfig& config, const std::vector<TestedPair>& tested, std::uint64_t seed);

// The observation file, one record per line.
std::string ObservationText(const std::vector<ObservationRecord>& records);

// The observation-model file: the true noise parameters of every model that
// some observation uses, and no other (a model without observations would
// have nothing to learn from).
std::string PpiModelText(const SimConfig& config, const PpiObservations& obs);

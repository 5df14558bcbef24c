#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/runfiles/BindingSupport.h"
#include "tools/runfiles/PhaseRecovery.h"
#include "tools/runfiles/RunLog.h"

// How well one motifbind run recovered what the simulator planted.
struct Evaluation {
    std::vector<EmPhase> phases; // the finished ones, as the log reports them, in order
    double finalLogJoint = 0.0;

    std::size_t activePairs = 0;      // motif pairs with a planted affinity
    std::size_t judgedPairs = 0;      // of them, with at least MIN_BINDING_VARIABLES variables
    double affinityCorrelation = 0.0; // Spearman, learned against planted, over the judged pairs

    bool holdout = false; // scored on the held-out pairs of a prepared set
    std::size_t testedPairs = 0;
    std::size_t interactingPairs = 0;
    // How well the posterior non-interaction probability of the prediction
    // file separates the truly non-interacting tested pairs (higher) from the
    // interacting ones.
    double interactionAuc = 0.0;
    // The same ranking's average precision for the interacting (reported)
    // pairs, and what a random ranking gives: their share.
    double averagePrecision = 0.0;
    double chancePrecision = 0.0;
    // The degree-only baseline on the same pairs: each ranked by the product
    // of its proteins' numbers of reported partners in the observations.
    double baselineAuc = 0.0;
    double baselinePrecision = 0.0;

    std::vector<PhaseRecovery> recovery; // one per finished phase, in order
};

// Reads the inputs, the truth files, motifbind.log and predictions.txt of a
// data folder. Throws ToolError when a file is missing or malformed, when the
// log lacks a learned affinity for a planted motif pair, or when the
// prediction file lacks a posterior for a tested protein pair.
Evaluation Evaluate(const std::filesystem::path& folder);

// A few lines a person can read; each ends with a newline.
std::string SummaryText(const Evaluation& evaluation);

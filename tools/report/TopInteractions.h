#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <utility>

#include "tools/report/Names.h"
#include "tools/report/ReportData.h"
#include "tools/runfiles/PredictionFile.h"
#include "tools/toolbox/PairKey.h"

// The interactions a reader asks about first: the listed protein pairs most
// likely to interact, where each stands (observed, held out, new) and the
// motif pairs that may mediate it, from the binding variables the
// prediction file lists for it.

// Most mediating motif pairs shown beside an interaction.
inline constexpr std::size_t MEDIATORS_SHOWN = 3;
// Interaction probability from which a listed pair counts as predicted.
inline constexpr double PREDICTED = 0.5;

// What the top-interactions table is judged by.
struct InteractionTruth {
    const std::set<PairKey>* interacting = nullptr; // the --truth lists, or none
    const std::set<PairKey>* notInteracting = nullptr;
    const std::set<PairKey>* observed = nullptr; // pairs with observations in the run's inputs, or none
};

struct TopInteractions {
    TopInteractionsView view;
    // Interactions each motif pair explains: (among the top, among the
    // predicted). A motif pair explains an interaction when it is the
    // pair's most probable mediating motif pair, the first of a tie in
    // file order; a pair without binding variables is explained by none.
    std::map<PairKey, std::pair<std::size_t, std::size_t>> explains;
};

// The `top` most likely listed pairs (ties in file order, probabilities that
// are not numbers last) and at most `explainers` motif pairs by what they
// explain. `affinities` are the learned ones, for the explainers' rows. A
// pair is observed when the run's inputs observe it or the prediction file
// gives it a posterior.
TopInteractions FindTopInteractions(const Predictions& predictions, const Names& names, std::size_t top,
                                    std::size_t explainers, const InteractionTruth& truth,
                                    const std::map<PairKey, double>& affinities);

#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <utility>

#include "tools/toolbox/PairKey.h"

// A motif pair's learned affinity is judged only when the pair has at least
// this many binding variables on observed protein pairs. With fewer, EM's
// estimate is mostly the prior count over the few variables, and ranking
// such pairs against their planted values measures the noise of the
// simulation rather than the model.
constexpr int MIN_BINDING_VARIABLES = 5;

// How much evidence EM has about each active motif pair: the number of its
// binding variables on protein pairs that have at least one observation. A
// protein pair (i, j) carries one variable for every motif m1 of i and motif
// m2 of j whose pair is active; on a protein paired with itself two different
// motifs therefore give two variables. This is the count that divides the
// expected number of bindings in EM's affinity update, so a motif pair with
// few variables has an affinity set mostly by the prior.
//
// Reads protein_motifs.txt (protein, motif, length), active_motif_pairs.txt
// (motif, motif, starting affinity) and ppi_observations.txt (protein,
// protein, value, model0, model1) from the folder; throws ToolError. Every
// active pair is in the result, with 0 when it occurs on no observed pair.
// With `models`, also gathers the pairs of model ids (for state 0 and 1)
// that the observations name, from the same single reading of the file,
// which may be a pipe; with `reported`, the protein pairs with a reported
// observation (value 1), the degree-only baseline's input, likewise.
std::map<PairKey, int> CountBindingVariables(const std::filesystem::path& folder,
                                             std::set<std::pair<int, int>>* models = nullptr,
                                             std::set<PairKey>* reported = nullptr);

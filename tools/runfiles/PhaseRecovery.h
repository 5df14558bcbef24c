#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tools/runfiles/ModelStates.h"
#include "tools/runfiles/NoiseRates.h"
#include "tools/runfiles/RunLog.h"
#include "tools/toolbox/PairKey.h"

// What one finished EM phase had learned when it ended: a later phase can
// undo what an earlier one recovered, so each is judged on its own.
struct PhaseRecovery {
    std::string label; // as EmPhase's
    // Spearman of the affinities dumped after the phase against the planted
    // ones, over the judged pairs; not a number without planted affinities,
    // without a dump, or when the dump lacks a judged pair.
    double affinityCorrelation = 0.0;
    std::vector<NoiseRate> rates; // binary models dumped after the phase, protein-protein first
};

// One per finished phase of the log, in order. `judged` holds the motif
// pairs to rank with their planted affinities (empty: no truth); `ppi` and
// `ddi` say which state each model of the two sets serves.
std::vector<PhaseRecovery> RecoveryByPhase(const RunLog& log, const std::vector<std::pair<PairKey, double>>& judged,
                                           const std::map<int, ModelState>& ppi, const std::map<int, ModelState>& ddi);

// The motif pairs of `planted` with at least MIN_BINDING_VARIABLES binding
// variables in `support`, with their planted affinities.
std::vector<std::pair<PairKey, double>> JudgedPairs(const std::map<PairKey, double>& planted,
                                                    const std::map<PairKey, int>& support);

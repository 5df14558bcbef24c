#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "tools/runfiles/ModelStates.h"
#include "tools/toolbox/PairKey.h"

// What the report takes from the run's own input files, found through the
// command line that the log echoes (names relative to the run folder).
struct RunInputs {
    bool present = false; // false when the input files are not beside the log
    std::string problem;  // why not, for the report
    // Observed protein pairs that carry each active motif pair.
    std::map<PairKey, long long> carriers;
    // Distinct partners with which a protein has an observation of value 1
    // (reported), the degree a degree-only guess ranks by.
    std::map<int, int> degree;
    std::set<PairKey> observedPairs;
    // Observed pairs that interact for certain: an observation under no
    // model (id -1 or -2 for the state "does not interact") that the state
    // cannot give, so their interaction probability of 1 is the data's.
    std::set<PairKey> certainPairs;
    // Which state each model serves, from the observation files (and the
    // domain-domain option file), through the model files' ids; empty when
    // the files are not at hand. The domain-domain ones also when other
    // inputs are missing.
    std::map<int, ModelState> ppiStates;
    std::map<int, ModelState> ddiStates;
    // The domain-domain evidence (-d): its observation file as the command
    // line names it, and the motif pairs it lists (any value). Empty names
    // without -d; `ddiProblem` says why the pairs are not known when the
    // file is missing or malformed (the run's own reading is the judge of
    // that file, not the report's).
    std::string ddiFile;
    std::set<PairKey> ddiPairs;
    std::string ddiProblem;
};

// Reads the protein-motif, active-pair and observation files that the
// command line names, and the domain-domain observation file when there is
// one. Missing files leave `present` false; a malformed one
// throws ToolError naming it.
RunInputs ReadRunInputs(const std::filesystem::path& folder, const std::string& commandLine);

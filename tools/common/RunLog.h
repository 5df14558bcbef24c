#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tools/common/PairKey.h"

// One EM phase of a run as its summary line in the log reports it.
struct EmPhase {
    std::string label;  // "without domain-domain evidence" or "with domain-domain evidence"
    int rounds = 0;
    double logJoint = 0.0;
};

// What the evaluator takes from motifbind's log: the EM phases of training
// and the affinities EM learned, that is the unconditioned potentials dumped
// right after the last phase (those of the conditioned copy already mix in
// the domain-domain evidence, which is not what EM estimates).
struct RunLog {
    std::vector<EmPhase> phases;
    std::map<PairKey, double> affinities;

    double FinalLogJoint() const { return phases.back().logJoint; }
};

// Throws ToolError when the file is missing or holds no finished training
// (no phase summary, or no affinity section after the last one).
RunLog ReadRunLog(const std::filesystem::path& path);

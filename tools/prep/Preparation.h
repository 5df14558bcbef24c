#pragma once

#include "tools/prep/PrepConfig.h"
#include "tools/prep/PreparedSet.h"
#include "tools/prep/Warnings.h"

// Reads every input the configuration names and builds the input set:
// proteins with a known length, their motifs and coverage, one observation
// per source and pair, candidate motif pairs, domain-domain evidence, the
// hold-out and the prediction list. Throws ToolError for input it cannot
// use; lines it may safely skip are counted in `warnings`.
PreparedSet Prepare(const PrepConfig& config, Warnings& warnings);

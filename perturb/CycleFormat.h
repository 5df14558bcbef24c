#pragma once

#include <ostream>

#include "format/CycleLayout.h"
#include "perturb/Candidates.h"
#include "perturb/Cycle.h"

// Writes the log lines of one cycle as `layout` says; log joints appear as
// differences from `jprob`, the log joint of the trained model. The log is
// flushed after the cycle's last line.
void WriteCycle(const CycleLayout& layout, const Candidate& c, const CycleRecord& r, double jprob,
                std::ostream& outFile);

#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <vector>

#include "perturb/AnalysisKind.h"
#include "perturb/Candidates.h"
#include "perturb/Cycle.h"

// Told after every cycle written: cycles done and the total.
using CycleWatch = std::function<void(std::size_t done, std::size_t total)>;

// Runs the cycles of analysis `a` on `threads` threads and writes their
// lines to `outFile` and their mixture progress to `mixLog`, in candidate
// order, so that what is written does not depend on the thread count.
void RunCycles(const AnalysisKind& a, const Trained& t, const std::vector<Candidate>& cands, double jprob,
               std::ostream& outFile, std::ostream& mixLog, int threads, const CycleWatch& watch = {});

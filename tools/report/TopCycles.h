#pragma once

#include <cstddef>
#include <vector>

#include "tools/runfiles/RunLog.h"

// The perturbation cycles a report names: those whose forcing changed the
// log joint most, either way, kept while a log is read cycle by cycle.
class TopCycles {
public:
    explicit TopCycles(std::size_t most) : most_(most) {}

    // A cycle without a finite effect is passed over.
    void Add(PerturbationCycle&& cycle);
    // Largest |effect| first; equal ones in the order they were added.
    const std::vector<PerturbationCycle>& Cycles() const { return cycles_; }

private:
    std::size_t most_;
    std::vector<PerturbationCycle> cycles_;
};

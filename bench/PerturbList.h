#pragma once

#include <string>
#include <utility>
#include <vector>

#include "bench/InputSet.h"

// The candidate list the benchmark gives motifbind as its binding-pairs file
// (positional 10), chosen so the number of perturbation cycles is small and
// known in advance.
struct PerturbList {
    // Protein pairs (with -p 2: motif pairs), one per line of the file.
    std::vector<std::pair<int, int>> entries;
    // Cycles motifbind will run on them.
    long cycles = 0;
};

// With -p 1 and -p 3: the first `count` observed protein pairs that give at
// least one cycle under the bound `pertSize` (-1: none). A -p 1 cycle is one
// motif below the bound on either protein, a -p 3 cycle one pair of such
// motifs (one on each protein). With -p 2: the first `count` active motif
// pairs with both ids below the bound, one cycle each. Any other `perType`
// runs no analysis: the first `count` observed pairs, for the binding
// predictions only.
PerturbList ChoosePerturbList(const InputSet& set, int perType, int count, int pertSize);

// Throws ToolError when the file cannot be written.
void WritePerturbList(const PerturbList& list, const std::string& path);

#pragma once

#include <istream>
#include <string>
#include <utility>
#include <vector>

// What the benchmark needs from a data set's input files to size the work of
// one EM pass and to pick perturbation candidates. Files are read like
// motifbind reads them: whitespace-separated records, reading stops at the
// first token that is not a number.
struct InputSet {
    long observations = 0; // records of the observation file
    // Distinct unordered protein pairs with observations, in order of first
    // appearance and as first written (prot1, prot2).
    std::vector<std::pair<int, int>> observedPairs;
    // Per protein id, its distinct motif ids in increasing order.
    std::vector<std::vector<int>> motifsOf;
    // Distinct unordered active motif pairs, in file order, as first written.
    std::vector<std::pair<int, int>> activePairs;

    const std::vector<int>& Motifs(int prot) const;
};

// Throws ToolError (naming `what` and the record) for a negative id.
InputSet ReadInputSet(std::istream& observations, std::istream& proteinMotifs, std::istream& activePairs);

// The same from files; throws ToolError when one cannot be opened.
InputSet ReadInputFiles(const std::string& observations, const std::string& proteinMotifs,
                        const std::string& activePairs);

// The size of one EM pass.
struct WorkCounts {
    long observedPairs = 0;
    // Ordered (motif of prot1, motif of prot2) combinations over all observed
    // pairs: every one is looked at in a pass.
    long long motifCombinations = 0;
    // Those combinations whose unordered motif pair is active: the binding
    // variables. On a self pair (i, i) two different motifs give two.
    long long bindingVariables = 0;
    long activePairs = 0;
};

WorkCounts CountWork(const InputSet& set);

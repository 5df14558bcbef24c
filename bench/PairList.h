#pragma once

#include <ostream>
#include <string>

// The list of protein pairs whose interaction motifbind predicts (positional
// argument 9): how long a data set's list is, and a list of every pair.

// Records of two integers in the file, counted as motifbind reads them: up
// to the first token that is not an integer. Throws ToolError when the file
// cannot be opened.
long long CountPairRecords(const std::string& path);

// Every unordered pair of `proteins` proteins, a protein with itself
// included.
long long AllPairsCount(long long proteins);

// <folder>/all_pairs_<proteins>.txt, every pair "i<tab>j" with i >= j, in
// ascending i, then j. Written once through a buffer (into a scratch name,
// renamed when complete) and reused after that; progress goes to
// `progress`. Throws ToolError.
std::string EnsureAllPairsList(const std::string& folder, long long proteins, std::ostream& progress);

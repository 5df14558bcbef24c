#pragma once

#include <utility>
#include <vector>

// Residues covered by the union of ranges (first, last), both ends included,
// counted from 1: residues under overlapping domains count once. Counted in
// 64 bits: ranges may reach the largest int, and their union never exceeds
// the protein they lie on.
long long CoveredResidues(std::vector<std::pair<int, int>> ranges);

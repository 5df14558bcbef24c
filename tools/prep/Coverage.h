#pragma once

#include <utility>
#include <vector>

// Residues covered by the union of ranges (first, last), both ends included,
// counted from 1: residues under overlapping domains count once.
int CoveredResidues(std::vector<std::pair<int, int>> ranges);

#pragma once

#include <vector>

// Spearman's rank correlation of two equally long lists: the Pearson
// correlation of their average ranks, so ties are handled. It measures
// whether EM orders the motif pairs as the planted affinities do, whatever
// the scale. Not a number when there are fewer than two values, when either
// list is constant, or when a value is not a number.
double SpearmanCorrelation(const std::vector<double>& x, const std::vector<double>& y);

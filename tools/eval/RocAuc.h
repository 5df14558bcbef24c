#pragma once

#include <vector>

// Area under the ROC curve of a score that should be higher for the positive
// cases: the probability that a randomly chosen positive scores above a
// randomly chosen negative, a tie counting one half (the Mann-Whitney
// statistic). 0.5 is a score that knows nothing, 1 a perfect separation. Not
// a number when either class is empty or a score is not a number.
double AreaUnderRoc(const std::vector<double>& score, const std::vector<bool>& positive);

#pragma once

#include <utility>
#include <vector>

// How well a score ranks pairs against the truth, shared by motifbind-eval
// and the report so that both give the same areas.

// A pair judged against the truth: a score (higher means more likely to be
// positive) and whether it is.
struct ScoredPair {
    double score = 0.0;
    bool positive = false;
};

struct Curve {
    std::vector<std::pair<double, double>> points;
    double area = 0.0;
};

// The ROC curve, (false-positive rate, true-positive rate): one point per
// distinct score from (0, 0) to (1, 1), tied scores taken together. The area
// is the chance that a positive outscores a negative, ties counted half (the
// Mann-Whitney statistic), counted exactly and divided once. NaN, and no
// points, without pairs of both kinds or when a score is not a number.
Curve RocCurve(const std::vector<ScoredPair>& pairs);

// The precision-recall curve, (recall, precision), one point per distinct
// score; the area is the average precision: the precision at each distinct
// score weighted by the recall it adds. NaN, and no points, without
// positives or when a score is not a number.
Curve PrecisionRecallCurve(const std::vector<ScoredPair>& pairs);

#pragma once

#include <string>
#include <vector>

#include "tools/report/ReportData.h"

// A pair judged against the truth: a score (higher means more likely to
// interact) and whether it does.
struct ScoredPair {
    double score = 0.0;
    bool interacting = false;
};

// The ROC curve: one point per distinct score, from (0, 0) to (1, 1), tied
// scores taken together; the area under it by the trapezoid rule, which is
// the chance that an interacting pair outscores a non-interacting one, ties
// counted half. NaN without pairs of both kinds.
CurveView RocCurve(const std::vector<ScoredPair>& pairs, const std::string& label);

// The precision-recall curve, one point per distinct score; the area is the
// average precision: the precision at each distinct score weighted by the
// recall it adds. NaN without interacting pairs.
CurveView PrecisionRecallCurve(const std::vector<ScoredPair>& pairs, const std::string& label);

#include "tools/eval/RocAuc.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "tools/common/Ranks.h"

double AreaUnderRoc(const std::vector<double>& score, const std::vector<bool>& positive)
{
    if (score.size() != positive.size()) {
        throw std::invalid_argument("AreaUnderRoc: lists of different lengths");
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    double pos = 0.0;
    for (std::size_t k = 0; k < score.size(); ++k) {
        if (std::isnan(score[k])) {
            return nan;
        }
        pos += positive[k] ? 1.0 : 0.0;
    }
    const double neg = static_cast<double>(score.size()) - pos;
    if (pos == 0.0 || neg == 0.0) {
        return nan;
    }
    // The positives' rank sum, less the least it can be (all positives
    // below all negatives), counts the (positive, negative) pairs in which
    // the positive scores higher, ties halved by the average ranks.
    const std::vector<double> ranks = AverageRanks(score);
    double rankSum = 0.0;
    for (std::size_t k = 0; k < ranks.size(); ++k) {
        if (positive[k]) {
            rankSum += ranks[k];
        }
    }
    return (rankSum - pos * (pos + 1.0) / 2.0) / (pos * neg);
}

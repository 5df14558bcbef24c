#include "tools/stats/RankCorrelation.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "tools/stats/Ranks.h"

namespace {

bool AnyNan(const std::vector<double>& v)
{
    for (double x : v) {
        if (std::isnan(x)) {
            return true;
        }
    }
    return false;
}

} // namespace

double SpearmanCorrelation(const std::vector<double>& x, const std::vector<double>& y)
{
    if (x.size() != y.size()) {
        throw std::invalid_argument("SpearmanCorrelation: lists of different lengths");
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    if (x.size() < 2 || AnyNan(x) || AnyNan(y)) {
        return nan;
    }
    const std::vector<double> rx = AverageRanks(x);
    const std::vector<double> ry = AverageRanks(y);
    // Both rank lists have the mean (n + 1) / 2.
    const double mean = 0.5 * static_cast<double>(x.size() + 1);
    double sxy = 0.0;
    double sxx = 0.0;
    double syy = 0.0;
    for (std::size_t k = 0; k < rx.size(); ++k) {
        const double dx = rx[k] - mean;
        const double dy = ry[k] - mean;
        sxy += dx * dy;
        sxx += dx * dx;
        syy += dy * dy;
    }
    if (sxx == 0.0 || syy == 0.0) {
        return nan;
    }
    return sxy / std::sqrt(sxx * syy);
}

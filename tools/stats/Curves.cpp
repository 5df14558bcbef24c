#include "tools/stats/Curves.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct Group {
    double positives = 0.0;
    double negatives = 0.0;
};

// Pairs grouped by score, highest first; false when a score is NaN, which
// has no place in the order.
bool Groups(std::vector<ScoredPair> pairs, std::vector<Group>& groups, double& pos, double& neg)
{
    pos = 0.0;
    neg = 0.0;
    for (const ScoredPair& p : pairs) {
        if (std::isnan(p.score)) {
            return false;
        }
        (p.positive ? pos : neg) += 1.0;
    }
    std::sort(pairs.begin(), pairs.end(), [](const ScoredPair& a, const ScoredPair& b) { return a.score > b.score; });
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (i == 0 || pairs[i].score != pairs[i - 1].score) {
            groups.emplace_back();
        }
        (pairs[i].positive ? groups.back().positives : groups.back().negatives) += 1.0;
    }
    return true;
}

Curve NoCurve()
{
    Curve c;
    c.area = std::numeric_limits<double>::quiet_NaN();
    return c;
}

} // namespace

Curve RocCurve(const std::vector<ScoredPair>& pairs)
{
    std::vector<Group> groups;
    double pos = 0.0;
    double neg = 0.0;
    if (!Groups(pairs, groups, pos, neg) || pos == 0.0 || neg == 0.0) {
        return NoCurve();
    }
    Curve c;
    c.points.emplace_back(0.0, 0.0);
    double tp = 0.0;
    double fp = 0.0;
    // Wins of positives over negatives, a tie a half: whole and half
    // counts, exact in a double, so the one division gives the same area
    // as any other exact count of it.
    double wins = 0.0;
    for (const Group& g : groups) {
        fp += g.negatives;
        tp += g.positives;
        wins += g.positives * (neg - fp) + g.positives * g.negatives / 2.0;
        c.points.emplace_back(fp / neg, tp / pos);
    }
    c.area = wins / (pos * neg);
    return c;
}

Curve PrecisionRecallCurve(const std::vector<ScoredPair>& pairs)
{
    std::vector<Group> groups;
    double pos = 0.0;
    double neg = 0.0;
    if (!Groups(pairs, groups, pos, neg) || pos == 0.0) {
        return NoCurve();
    }
    Curve c;
    double tp = 0.0;
    double all = 0.0;
    double area = 0.0;
    for (const Group& g : groups) {
        tp += g.positives;
        all += g.positives + g.negatives;
        const double precision = tp / all;
        area += precision * g.positives / pos;
        c.points.emplace_back(tp / pos, precision);
    }
    c.area = area;
    return c;
}

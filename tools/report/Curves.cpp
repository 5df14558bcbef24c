#include "tools/report/Curves.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Pairs grouped by score, highest first: (interacting, not) per group.
std::vector<std::pair<std::size_t, std::size_t>> Groups(std::vector<ScoredPair> pairs)
{
    std::sort(pairs.begin(), pairs.end(), [](const ScoredPair& a, const ScoredPair& b) { return a.score > b.score; });
    std::vector<std::pair<std::size_t, std::size_t>> groups;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (i == 0 || pairs[i].score != pairs[i - 1].score) {
            groups.emplace_back(0, 0);
        }
        (pairs[i].interacting ? groups.back().first : groups.back().second) += 1;
    }
    return groups;
}

void Totals(const std::vector<std::pair<std::size_t, std::size_t>>& groups, std::size_t& pos, std::size_t& neg)
{
    pos = 0;
    neg = 0;
    for (const auto& [p, n] : groups) {
        pos += p;
        neg += n;
    }
}

} // namespace

CurveView RocCurve(const std::vector<ScoredPair>& pairs, const std::string& label)
{
    CurveView c;
    c.label = label;
    const auto groups = Groups(pairs);
    std::size_t pos = 0;
    std::size_t neg = 0;
    Totals(groups, pos, neg);
    if (pos == 0 || neg == 0) {
        c.area = std::numeric_limits<double>::quiet_NaN();
        return c;
    }
    c.points.emplace_back(0.0, 0.0);
    std::size_t tp = 0;
    std::size_t fp = 0;
    double area = 0.0;
    for (const auto& [p, n] : groups) {
        const double x0 = static_cast<double>(fp) / static_cast<double>(neg);
        const double y0 = static_cast<double>(tp) / static_cast<double>(pos);
        tp += p;
        fp += n;
        const double x1 = static_cast<double>(fp) / static_cast<double>(neg);
        const double y1 = static_cast<double>(tp) / static_cast<double>(pos);
        area += (x1 - x0) * (y0 + y1) / 2.0;
        c.points.emplace_back(x1, y1);
    }
    c.area = area;
    return c;
}

CurveView PrecisionRecallCurve(const std::vector<ScoredPair>& pairs, const std::string& label)
{
    CurveView c;
    c.label = label;
    const auto groups = Groups(pairs);
    std::size_t pos = 0;
    std::size_t neg = 0;
    Totals(groups, pos, neg);
    if (pos == 0) {
        c.area = std::numeric_limits<double>::quiet_NaN();
        return c;
    }
    std::size_t tp = 0;
    std::size_t all = 0;
    double area = 0.0;
    for (const auto& [p, n] : groups) {
        tp += p;
        all += p + n;
        const double recall = static_cast<double>(tp) / static_cast<double>(pos);
        const double precision = static_cast<double>(tp) / static_cast<double>(all);
        area += precision * static_cast<double>(p) / static_cast<double>(pos);
        c.points.emplace_back(recall, precision);
    }
    c.area = area;
    return c;
}

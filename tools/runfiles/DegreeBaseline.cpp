#include "tools/runfiles/DegreeBaseline.h"

std::map<int, int> PartnerDegrees(const std::set<PairKey>& reported)
{
    std::map<int, int> degrees;
    for (const PairKey& p : reported) {
        ++degrees[p.first];
        if (p.second != p.first) {
            ++degrees[p.second];
        }
    }
    return degrees;
}

double DegreeScore(const std::map<int, int>& degrees, const PairKey& pair)
{
    const auto of = [&degrees](int p) {
        const auto it = degrees.find(p);
        return it == degrees.end() ? 0.0 : static_cast<double>(it->second);
    };
    return of(pair.first) * of(pair.second);
}

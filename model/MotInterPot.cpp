#include "model/MotInterPot.h"

#include <cmath>
#include <ostream>

#include "format/LogLabels.h"
#include "model/ObsModel.h"

void MotInterPot::Cond(const MotInterPot& mip, const ObsModel& dm, const ProtInter& di)
{
    const auto& all = di.GetAllInter();
    for (auto& [k, aff] : actPair) {
        double p0 = 1.0, p1 = 1.0;
        const auto it = all.find(k);
        if (it != all.end()) {
            p0 = dm.GetProb(0, it->second);
            p1 = dm.GetProb(1, it->second);
        }
        const auto m = mip.actPair.find(k);
        if (m == mip.actPair.end())
            continue; // both sets are kept with the same keys; never guess one
        const double theta = m->second;
        const double den = (1 - theta) * p0 + theta * p1;
        // Evidence impossible under both values says nothing: keep the prior.
        aff = (den != 0.0 && std::isfinite(den)) ? theta * p1 / den : theta;
    }
    leak = mip.leak;
}

void MotInterPot::Print(std::ostream& outFile) const
{
    outFile << loglabel::AFFINITY_START << '\n';
    for (const auto& [k, aff] : actPair) {
        const auto [m1, m2] = RevIndex(k);
        outFile << m1 << "\t" << m2 << "\t" << aff << '\n';
    }
    outFile << loglabel::AFFINITY_END << '\n';
    outFile << loglabel::PAIR_COUNT << actPair.size() << '\n';
    outFile << loglabel::LEAK << leak << '\n';
}

#include "model/ObsModel.h"

#include <cmath>
#include <ostream>

#include "dist/Tolerances.h"
#include "model/MotInterPot.h"

ObsModel::ObsModel(const ObsModel& old) : stats(old.stats)
{
    dists.reserve(old.dists.size());
    for (const auto& d : old.dists)
        dists.push_back(d->Duplicate());
}

void ObsModel::AddDist(std::unique_ptr<Distribution> dist)
{
    dists.push_back(std::move(dist));
    stats.emplace_back();
}

double ObsModel::GetOneProb(int interval, const interdatum& obsval) const
{
    const int id = obsval.ModelId(interval);
    if (id == -1)
        return std::fabs(obsval.val - interval) < g_eps ? 1.0 : 0.0;
    if (id == -2)
        return (0.0 <= obsval.val && obsval.val <= 1.0) ? 1.0 : 0.0;
    return dists[id]->GetProb(obsval.val);
}

void ObsModel::AddOneStat(double prob1, const interdatum& obsval)
{
    const double w[2] = {1 - prob1, prob1};
    for (int a = 0; a < 2; ++a) {
        const int id = obsval.ModelId(a);
        if (id >= 0)
            stats[id].emplace_back(w[a], obsval.val);
    }
}

void ObsModel::ClearStat()
{
    // The lists keep their capacity: every EM round fills them again.
    for (auto& s : stats)
        s.clear();
}

void ObsModel::M2Step(MotInterPot* micp, const MotInterPot* mip, const ProtInter* di, std::ostream& log)
{
    for (std::size_t i = 0; i < dists.size(); ++i)
        dists[i]->Learn(stats[i], log);
    if (micp)
        micp->Cond(*mip, *this, *di);
    ClearStat();
}

void ObsModel::Print(std::ostream& out) const
{
    out << "*** # models:\t" << dists.size() << std::endl;
    out << "***s Model info (stat size, ID, type, (param)+):" << std::endl;
    for (std::size_t i = 0; i < dists.size(); ++i) {
        out << stats[i].size() << "\t" << i << "\t";
        dists[i]->Print(out, 1);
    }
    out << "***e Model info." << std::endl;
}

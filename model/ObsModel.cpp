#include "model/ObsModel.h"

#include <cmath>
#include <ostream>

#include "format/LogLabels.h"
#include "model/MotInterPot.h"

ObsModel::ObsModel(const ObsModel& old) : stats(old.stats), sums(old.sums), keep(old.keep), noisePrior(old.noisePrior)
{
    dists.reserve(old.dists.size());
    for (const auto& d : old.dists)
        dists.push_back(d->Duplicate());
}

void ObsModel::Assign(const ObsModel& old)
{
    dists.clear();
    for (const auto& d : old.dists)
        dists.push_back(d->Duplicate());
    stats.resize(old.stats.size());
    for (std::size_t i = 0; i < stats.size(); ++i)
        stats[i].assign(old.stats[i].begin(), old.stats[i].end());
    sums = old.sums;
    keep = old.keep;
    noisePrior = old.noisePrior;
}

void ObsModel::AddDist(std::unique_ptr<Distribution> dist)
{
    keep.push_back(!dist || dist->NeedsList());
    dists.push_back(std::move(dist));
    stats.emplace_back();
    sums.emplace_back();
}

void ObsModel::ClearStat()
{
    // The lists keep their capacity: every EM round fills them again.
    for (auto& s : stats)
        s.clear();
    for (auto& s : sums)
        s = StatSums();
}

void ObsModel::ReleaseStat()
{
    for (auto& s : stats)
        StatList().swap(s);
    for (auto& s : sums)
        s = StatSums();
}

void ObsModel::ReserveStat(const std::vector<std::size_t>& counts)
{
    for (std::size_t i = 0; i < stats.size() && i < counts.size(); ++i)
        if (keep[i] && stats[i].capacity() < counts[i])
            stats[i].reserve(counts[i]);
}

void ObsModel::M2Step(MotInterPot* micp, const MotInterPot* mip, const ProtInter* di, std::ostream& log)
{
    for (std::size_t i = 0; i < dists.size(); ++i)
        dists[i]->LearnSums(sums[i], stats[i], log);
    if (micp)
        micp->Cond(*mip, *this, *di);
    ClearStat();
}

void ObsModel::SetNoisePrior(double strength)
{
    for (auto& d : dists)
        if (d)
            d->SetNoisePrior(strength);
    noisePrior = strength > 0.0;
}

double ObsModel::LogPrior() const
{
    double l = 0.0;
    for (const auto& d : dists)
        if (d)
            l += d->LogPrior();
    return l;
}

void ObsModel::Print(std::ostream& out) const
{
    out << loglabel::MODEL_COUNT << dists.size() << '\n';
    out << loglabel::MODEL_START << '\n';
    for (std::size_t i = 0; i < dists.size(); ++i) {
        out << sums[i].n << "\t" << i << "\t";
        dists[i]->Print(out, 1);
    }
    out << loglabel::MODEL_END << '\n';
}

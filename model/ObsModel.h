#pragma once

#include <cmath>
#include <memory>
#include <ostream>
#include <vector>

#include "dist/Distribution.h"
#include "dist/Tolerances.h"
#include "model/ProtInter.h"

class MotInterPot;

// A set of observation distributions addressed by model ID (the position in
// the set) and the weighted values the E-step collects for each: their
// running sums always, and their list only for a distribution whose learning
// needs the values themselves (Distribution::NeedsList).
class ObsModel {
public:
    ObsModel() = default;
    ObsModel(const ObsModel& old);
    ObsModel(ObsModel&&) = default;
    ObsModel& operator=(const ObsModel&) = delete;
    ObsModel& operator=(ObsModel&&) = default;
    // Becomes a copy of `old`, keeping the room of its own statistics.
    void Assign(const ObsModel& old);

    // The set takes ownership of `dist`.
    void AddDist(std::unique_ptr<Distribution> dist);
    std::size_t Size() const { return dists.size(); }
    const Distribution& GetDist(std::size_t i) const { return *dists[i]; }
    // The values collected for model i: their running sums, and their list
    // when the model keeps one (empty otherwise).
    const StatSums& GetSums(std::size_t i) const { return sums[i]; }
    const StatList& GetStat(std::size_t i) const { return stats[i]; }
    bool KeepsList(std::size_t i) const { return keep[i] != 0; }

    // Probability of one observation given the actual value `interval` (0/1).
    double GetOneProb(int interval, const interdatum& obsval) const
    {
        const int id = obsval.ModelId(interval);
        if (id == -1)
            return std::fabs(obsval.val - interval) < g_eps ? 1.0 : 0.0;
        if (id == -2)
            return (0.0 <= obsval.val && obsval.val <= 1.0) ? 1.0 : 0.0;
        return dists[id]->GetProb(obsval.val);
    }
    // Product over a pair's observations, which are independent given the
    // actual value.
    double GetProb(int interval, const InterList& obsvals) const
    {
        double p = 1.0;
        for (const auto& d : obsvals)
            p *= GetOneProb(interval, d);
        return p;
    }

    // For a caller that hands one model's values over itself, in order: the
    // running sums to add them to, and the list to append them to when the
    // model keeps one (else null). Together they are AddValue.
    StatSums& SumsOf(std::size_t i) { return sums[i]; }
    StatList* ListOf(std::size_t i) { return keep[i] ? &stats[i] : nullptr; }
    // One weighted value for model `id` (>= 0).
    void AddValue(int id, double w, double val)
    {
        sums[id].Add(w, val);
        if (keep[id])
            stats[id].emplace_back(w, val);
    }
    // `prob1` is the posterior probability that the actual value is 1.
    void AddOneStat(double prob1, const interdatum& obsval)
    {
        const double w[2] = {1 - prob1, prob1};
        for (int a = 0; a < 2; ++a) {
            const int id = obsval.ModelId(a);
            if (id >= 0)
                AddValue(id, w[a], obsval.val);
        }
    }
    void AddStat(double prob1, const InterList& obsvals)
    {
        for (const auto& d : obsvals)
            AddOneStat(prob1, d);
    }
    void ClearStat();
    // Clears the statistics and gives back the room they took.
    void ReleaseStat();
    // Room for at least counts[i] values in the statistics of model i, so
    // that filling them in every EM round allocates nothing.
    void ReserveStat(const std::vector<std::size_t>& counts);

    // Every distribution re-learns from its statistics (reporting iterative
    // learning on `log`); then `micp`, when given, is recomputed as `mip`
    // conditioned on `di` under this set; the statistics are cleared.
    void M2Step(MotInterPot* micp, const MotInterPot* mip, const ProtInter* di, std::ostream& log);

    void Print(std::ostream& out) const;

    // Every distribution gets a prior of `strength` pseudo-counts centred on
    // its present parameters (binary models; the other kinds have none).
    void SetNoisePrior(double strength);
    bool HasNoisePrior() const { return noisePrior; }
    // The sum of the distributions' log prior densities.
    double LogPrior() const;

private:
    std::vector<std::unique_ptr<Distribution>> dists;
    std::vector<StatList> stats;
    std::vector<StatSums> sums;
    std::vector<unsigned char> keep; // per model: NeedsList()
    bool noisePrior = false;
};

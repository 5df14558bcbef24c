#include "infer/EMRound.h"

#include <cmath>
#include <map>

#include "infer/Likelihood.h"
#include "model/Globals.h"

void EnM1Step(const ProtMot& pm, MotInterPot& mip, const MotInterPot& micp, const ProtInter& pi, ObsModel& om,
              ObsModel& dm, const ProtInter& di)
{
    std::map<int, int> count;
    std::map<int, double> ratioSum;
    double leakRatioSum = 0.0;
    long long leakCount = 0;
    const auto& act = micp.GetActPair();
    const auto& ddi = di.GetAllInter();

    for (const auto& [key, obs] : pi.GetAllInter()) {
        const auto [i, j] = pi.RevIndex(key);
        const double p0 = om.GetProb(0, obs);
        const double p1 = om.GetProb(1, obs);
        const double q = AlNonInterProb(pm, micp, i, j);
        const double den = (1 - q) * p1 + q * p0;
        double r = p1 / den;
        // Observations impossible under both states carry no usable evidence:
        // the pair's variables keep their prior and its observations teach
        // the observation models nothing.
        const bool usable = den != 0.0 && std::isfinite(den) && std::isfinite(r);
        if (usable)
            om.AddStat((1 - q) * r, obs);
        else
            r = 1.0;

        leakRatioSum += (pm.NumLeak(i, j) - pm.NumNBLeak(i, j)) * r;
        leakCount += pm.NumLeak(i, j);

        const bool forced = pm.WithNonBind(i, j);
        for (const auto& [m1, l1] : pm.GetMots(i)) {
            for (const auto& [m2, l2] : pm.GetMots(j)) {
                const int k = MotInterPot::Index(m1, m2);
                const auto a = act.find(k);
                if (a == act.end())
                    continue;
                const auto d = ddi.find(k);
                count[k] += 1;
                if (forced && pm.IsNonBind(i, j, m1, m2)) {
                    if (d != ddi.end())
                        dm.AddStat(0.0, d->second);
                    continue;
                }
                ratioSum[k] += r;
                if (d != ddi.end())
                    dm.AddStat(a->second * r, d->second);
            }
        }
    }

    for (const auto& [k, thetaC] : act) {
        const auto c = count.find(k);
        const auto s = ratioSum.find(k);
        const double rs = s == ratioSum.end() ? 0.0 : s->second;
        const int n = c == count.end() ? 0 : c->second;
        mip.SetPotIndex(k, (thetaC * rs + g_aPos) / (n + g_aAll));
    }
    mip.SetLeak((micp.GetLeak() * leakRatioSum + g_aPos) / (double(leakCount) + g_aAll));
    g_curjProbChange = 1;
}

void EMStep(const ProtMot& pm, MotInterPot& mip, MotInterPot& micp, const ProtInter& pi, ObsModel& om,
            ObsModel& dm, const ProtInter& di)
{
    EnM1Step(pm, mip, micp, pi, om, dm, di);
    om.M2Step(nullptr, nullptr, nullptr);
    dm.M2Step(&micp, &mip, &di);
}

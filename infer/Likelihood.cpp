#include "infer/Likelihood.h"

#include <cmath>

#include "model/Globals.h"

double IntPow(double x, int n)
{
    if (n < 0)
        return 1.0 / IntPow(x, -n);
    double result = 1.0;
    double base = x;
    while (n > 0) {
        if (n & 1)
            result *= base;
        n >>= 1;
        if (n > 0)
            base *= base;
    }
    return result;
}

double AlNonInterProb(const ProtMot& pm, const MotInterPot& micp, int prot1, int prot2)
{
    double q = IntPow(1 - micp.GetLeak(), pm.NumActLeak(prot1, prot2));
    const auto& act = micp.GetActPair();
    for (const auto& [m1, l1] : pm.GetMots(prot1)) {
        for (const auto& [m2, l2] : pm.GetMots(prot2)) {
            if (pm.IsNonBind(prot1, prot2, m1, m2))
                continue;
            const auto it = act.find(MotInterPot::Index(m1, m2));
            if (it == act.end())
                continue;
            q = q * (1 - it->second);
        }
    }
    return q;
}

double LogJointProb(const ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp,
                    ObsModel& om, ObsModel& dm, const ProtInter& di, std::ostream&, int part)
{
    if (part == 0 && g_curjProbChange == 0 && !om.Dirty() && !dm.Dirty())
        return g_curjProb;
    double l = 0.0;
    const double lambda = mip.GetLeak();
    const auto& act = mip.GetActPair();
    const auto& ddi = di.GetAllInter();
    for (const auto& [key, obs] : pi.GetAllInter()) {
        const auto [i, j] = pi.RevIndex(key);
        if ((part == 1 && !IsActPos(obs)) || (part == 2 && !IsActNeg(obs)))
            continue;
        const double q = AlNonInterProb(pm, micp, i, j);
        const double p0 = om.GetProb(0, obs);
        const double p1 = om.GetProb(1, obs);
        l += std::log((1 - q) * p1 + q * p0);
        const bool forced = pm.WithNonBind(i, j);
        // Only add a term for leak variables that are actually fixed, so a
        // leak probability of 1 cannot turn 0 fixed variables into 0 * -inf.
        if (forced && pm.NumNBLeak(i, j) != 0)
            l += pm.NumNBLeak(i, j) * std::log(1 - lambda);
        for (const auto& [m1, l1] : pm.GetMots(i)) {
            for (const auto& [m2, l2] : pm.GetMots(j)) {
                const int k = MotInterPot::Index(m1, m2);
                const auto a = act.find(k);
                if (a == act.end())
                    continue;
                const double theta = a->second;
                const auto d = ddi.find(k);
                if (forced && pm.IsNonBind(i, j, m1, m2)) {
                    if (d != ddi.end())
                        l += std::log(dm.GetProb(0, d->second));
                    l += std::log(1 - theta);
                } else if (d != ddi.end()) {
                    l += std::log((1 - theta) * dm.GetProb(0, d->second) + theta * dm.GetProb(1, d->second));
                }
            }
        }
    }
    if (part == 0) {
        for (const auto& [k, theta] : act)
            l += g_aNeg * std::log(1 - theta) + g_aPos * std::log(theta);
        l += g_aNeg * std::log(1 - lambda) + g_aPos * std::log(lambda);
        g_curjProb = l;
        g_curjProbChange = 0;
        om.SetClean();
        dm.SetClean();
    }
    return l;
}

int IsOneAct(const interdatum& obsval, int interval)
{
    return obsval.modelId0 == -1 && obsval.modelId1 == -1 && std::fabs(obsval.val - interval) < g_eps;
}

int IsActPos(const InterList& obsvals)
{
    for (const auto& d : obsvals)
        if (IsOneAct(d, 1))
            return 1;
    return 0;
}

int IsActNeg(const InterList& obsvals)
{
    for (const auto& d : obsvals)
        if (IsOneAct(d, 0))
            return 1;
    return 0;
}

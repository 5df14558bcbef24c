#include "support/ReferenceModel.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "format/PairIndex.h"

namespace testutil {

namespace {

double PowInt(double x, int n) // square-and-multiply, n >= 0
{
    double r = 1.0;
    for (; n > 0; n >>= 1, x *= x)
        if (n & 1)
            r *= x;
    return r;
}

bool With(const RefForce& f, int i, int j)
{
    return f.p1 != -1 && ((i == f.p1 && j == f.p2) || (i == f.p2 && j == f.p1));
}

bool Forced(const RefForce& f, int i, int j, int m1, int m2)
{
    if (f.p1 == -1)
        return false;
    return (i == f.p1 && j == f.p2 && m1 == f.m1 && (f.m2 == -1 || f.m2 == m2)) ||
           (j == f.p1 && i == f.p2 && m2 == f.m1 && (f.m2 == -1 || f.m2 == m1));
}

} // namespace

RefDist RefDist::Binary(double p0)
{
    RefDist d;
    d.p0 = p0;
    return d;
}

RefDist RefDist::Gaussian(double mean, double var)
{
    RefDist d;
    d.kind = GAUSSIAN;
    d.mean = mean;
    d.var = var;
    return d;
}

RefDist RefDist::Mixture(std::vector<std::pair<double, RefDist>> parts)
{
    RefDist d;
    d.kind = MIXTURE;
    d.parts = std::move(parts);
    return d;
}

double RefDist::Prob(double v) const
{
    if (kind == BINARY)
        return std::fabs(v) < 1e-05 ? p0 : 1 - p0;
    if (kind == GAUSSIAN) {
        const double d = v - mean;
        return std::exp(((d / var) * d) * (-0.5)) / std::sqrt(var * 6.28318);
    }
    double p = 0.0;
    for (const auto& [w, c] : parts)
        p += w * c.Prob(v);
    return p;
}

void RefDist::Learn(const std::vector<std::pair<double, double>>& ss)
{
    double w = 0.0, zero = 0.0, sum = 0.0, sq = 0.0;
    for (const auto& [wt, v] : ss) {
        w += wt;
        zero += std::fabs(v) < 1e-05 ? wt : 0.0;
        sum += wt * v;
    }
    if (kind == BINARY) {
        p0 = a0 + a1 > 0.0 ? (zero + a0) / (w + (a0 + a1)) : zero / w;
        return;
    }
    mean = (1 / w) * sum;
    for (const auto& [wt, v] : ss)
        sq += wt * ((v - mean) * (v - mean));
    var = (1 / w) * sq;
}

double RefDist::LogPrior() const
{
    double l = 0.0;
    if (a0 > 0.0)
        l += a0 * std::log(p0);
    if (a1 > 0.0)
        l += a1 * std::log(1 - p0);
    return l;
}

void SetPrior(std::vector<RefDist>& dists, double s)
{
    for (RefDist& d : dists)
        if (d.kind == RefDist::BINARY) {
            d.a0 = s * d.p0;
            d.a1 = s * (1 - d.p0);
        }
}

namespace {

double LogPrior(const std::vector<RefDist>& dists)
{
    double l = 0.0;
    for (const RefDist& d : dists)
        l += d.LogPrior();
    return l;
}

} // namespace

void ReferenceModel::AddObs(int a, int b, double val, int id0, int id1)
{
    obs[PairIndex(a, b)].push_back({val, {id0, id1}});
}

void ReferenceModel::AddDdi(int a, int b, double val, int id0, int id1)
{
    ddi[PairIndex(a, b)].push_back({val, {id0, id1}});
}

void ReferenceModel::Condition()
{
    for (auto& [k, th] : thetaC) {
        const auto d = ddi.find(k);
        if (d == ddi.end())
            continue;
        const double p0 = P(0, d->second, ddiDists), p1 = P(1, d->second, ddiDists);
        th = theta.at(k) * p1 / ((1 - theta.at(k)) * p0 + theta.at(k) * p1);
    }
}

int ReferenceModel::NumLeak(int p, int q) const
{
    if (leakType != 1)
        return leakType == 0 ? 1 : 0;
    const int n = len[p] * len[q] - cover[p] * cover[q];
    return int(std::sqrt(10.0 * n / leakGroup)) + 1;
}

int ReferenceModel::ForcedLeak(int p1, int p2, int m1) const
{
    if (leakType != 1)
        return 0;
    const int ml = mots[p1].at(m1);
    const int a = int(std::sqrt(10.0 * (len[p2] * len[p1] - cover[p2] * cover[p1]) / leakGroup));
    const int b = int(std::sqrt(10.0 * (len[p2] * (len[p1] - ml) - cover[p2] * (cover[p1] - ml)) / leakGroup));
    return a - b;
}

double ReferenceModel::P(int h, const std::vector<RefObs>& list, const std::vector<RefDist>& ds) const
{
    double p = 1.0;
    for (const auto& o : list) {
        const int id = o.id[h];
        if (id == -1)
            p *= std::fabs(o.val - h) < 1e-05 ? 1.0 : 0.0;
        else
            p *= ds[id].Prob(o.val);
    }
    return p;
}

double ReferenceModel::Q(const std::map<int, double>& th, double lk, int i, int j, const RefForce& f) const
{
    double q = PowInt(1 - lk, NumLeak(i, j) - (With(f, i, j) ? f.nbLeak : 0));
    for (const auto& [m1, l1] : mots[i])
        for (const auto& [m2, l2] : mots[j])
            if (!Forced(f, i, j, m1, m2) && th.count(PairIndex(m1, m2)))
                q = q * (1 - th.at(PairIndex(m1, m2)));
    return q;
}

double ReferenceModel::LogJoint(int part, const RefForce& f) const
{
    double l = 0.0;
    for (const auto& [k, list] : obs) {
        const auto [i, j] = PairRevIndex64(k);
        bool pos = false;
        for (const auto& o : list)
            pos = pos || (o.id[0] == -1 && o.id[1] == -1 && std::fabs(o.val - 1) < 1e-05);
        if (part == 1 && !pos)
            continue;
        const double q = Q(thetaC, leakC, i, j, f);
        l += std::log((1 - q) * P(1, list, dists) + q * P(0, list, dists));
        if (With(f, i, j))
            l += f.nbLeak * std::log(1 - leakC);
        if (ddiUse != PER_VARIABLE)
            continue;
        for (const auto& [m1, l1] : mots[i])
            for (const auto& [m2, l2] : mots[j]) {
                const int km = PairIndex(m1, m2);
                if (!theta.count(km))
                    continue;
                const double th = theta.at(km);
                const auto dl = ddi.find(km);
                if (With(f, i, j) && Forced(f, i, j, m1, m2)) {
                    if (dl != ddi.end())
                        l += std::log(P(0, dl->second, ddiDists));
                    l += std::log(1 - th);
                } else if (dl != ddi.end()) {
                    l += std::log((1 - th) * P(0, dl->second, ddiDists) + th * P(1, dl->second, ddiDists));
                }
            }
    }
    if (part != 0)
        return l;
    // Each list once, in motif pair order.
    if (ddiUse == SHARED)
        for (const auto& [k, list] : ddi)
            l += std::log((1 - theta.at(k)) * P(0, list, ddiDists) + theta.at(k) * P(1, list, ddiDists));
    for (const auto& [k, t] : theta)
        l += aNeg * std::log(1 - t) + aPos * std::log(t);
    l += aNeg * std::log(1 - leak) + aPos * std::log(leak);
    if (noisePrior) {
        l += LogPrior(dists);
        if (ddiUse == SHARED)
            l += LogPrior(ddiDists);
    }
    return l;
}

void ReferenceModel::Round()
{
    std::map<int, int> count;
    std::map<int, double> ratio;
    double leakRatio = 0.0;
    int leakCount = 0;
    std::vector<std::vector<std::pair<double, double>>> stats(dists.size());
    for (const auto& [k, list] : obs) {
        const auto [i, j] = PairRevIndex64(k);
        const double p0 = P(0, list, dists), p1 = P(1, list, dists), q = Q(thetaC, leakC, i, j);
        const double r = p1 / ((1 - q) * p1 + q * p0);
        const double w = (1 - q) * r; // posterior of interaction
        for (const auto& o : list) {
            stats[o.id[0]].push_back({1 - w, o.val});
            stats[o.id[1]].push_back({w, o.val});
        }
        leakRatio += r;
        leakCount += 1;
        for (const auto& [m1, l1] : mots[i])
            for (const auto& [m2, l2] : mots[j])
                if (thetaC.count(PairIndex(m1, m2))) {
                    count[PairIndex(m1, m2)] += 1;
                    ratio[PairIndex(m1, m2)] += r;
                }
    }
    std::vector<std::vector<std::pair<double, double>>> ddiStats(ddiDists.size());
    for (const auto& [k, tc] : thetaC) {
        const auto d = ddi.find(k);
        if (ddiUse != SHARED || d == ddi.end()) {
            theta[k] = (tc * ratio[k] + aPos) / (count[k] + aAll);
            continue;
        }
        // The motif pair's state: one more expected count, and one
        // weighted copy of its list for the DDI models.
        const double p0 = P(0, d->second, ddiDists), p1 = P(1, d->second, ddiDists);
        const double z = tc * p1 / ((1 - tc) * p0 + tc * p1);
        for (const auto& o : d->second) {
            ddiStats[o.id[0]].push_back({1 - z, o.val});
            ddiStats[o.id[1]].push_back({z, o.val});
        }
        theta[k] = (tc * ratio[k] + z + aPos) / (count[k] + 1.0 + aAll);
    }
    leak = (leakC * leakRatio + aPos) / (leakCount + aAll);
    for (std::size_t m = 0; m < dists.size(); ++m)
        dists[m].Learn(stats[m]);
    for (std::size_t m = 0; m < ddiDists.size(); ++m)
        if (!ddiStats[m].empty())
            ddiDists[m].Learn(ddiStats[m]);
    if (ddiUse == SHARED) {
        thetaC = theta;
    } else {
        // Conditioning without DDI evidence: P0 = P1 = 1.
        for (auto& [k, tc] : thetaC)
            tc = theta[k] * 1.0 / ((1 - theta[k]) * 1.0 + theta[k] * 1.0);
    }
    leakC = leak;
}

int ReferenceModel::RunEM(std::string& lines)
{
    double prev = LogJoint();
    lines += "*** Start of EM, before round 0. Log joint:\t" + G15(prev) + "\n";
    for (int t = 0; t < 100000; ++t) {
        Round();
        if (t % 3 == 2) {
            const double l = LogJoint();
            lines += "*** (After EM round, Log joint):\t" + std::to_string(t) + "\t" + G15(l) + "\n";
            if (l < prev + 0.01)
                return t + 1;
            prev = l;
        }
    }
    return -1;
}

std::string ReferenceModel::Potentials(const std::string& banner, const std::map<int, double>& th, double lk) const
{
    std::string s = banner + "\n***s Motif pair affinity:\n";
    for (const auto& [k, t] : th) {
        const auto [i, j] = PairRevIndex64(k);
        s += std::to_string(i) + "\t" + std::to_string(j) + "\t" + G15(t) + "\n";
    }
    return s + "***e Motif pair affinity.\n*** Total # motif pairs:\t" + std::to_string(th.size()) +
           "\n*** Leak probability:\t" + G15(lk) + "\n";
}

std::string ReferenceModel::PairSection(const std::string& pairs) const
{
    std::ostringstream out;
    out << "***s Predicted non-interaction probability for protein pairs:\t(1st, 2nd, prob w/o evidence, "
           "prob w/ evidence/H)\n";
    std::istringstream in(pairs);
    int a, b;
    while (in >> a >> b) {
        const auto [i, j] = PairRevIndex64(PairIndex(a, b));
        const double qc = Q(thetaC, leakC, i, j);
        out << i << "\t" << j << "\t" << Q(theta, leak, i, j) << "," << qc << "\t";
        const auto it = obs.find(PairIndex(i, j));
        if (it == obs.end())
            out << "H\n";
        else
            out << qc * P(0, it->second, dists) / ((1 - qc) * P(1, it->second, dists) + qc * P(0, it->second, dists))
                << "\n";
    }
    out << "***e Predicted non-interaction probability for protein pairs.\n";
    return out.str();
}

std::string ReferenceModel::BindSection(const std::string& pairs) const
{
    std::ostringstream out;
    out << "***s Binding variable:\t(1st prot, 2nd prot, 1st mot, 2nd mot, mot affinity, P(B=1) w/ "
           "evidence/H)\n";
    std::istringstream in(pairs);
    int a, b;
    while (in >> a >> b) {
        const auto [i, j] = PairRevIndex64(PairIndex(a, b));
        const auto it = obs.find(PairIndex(i, j));
        double r = 0.0;
        if (it != obs.end()) {
            const double qc = Q(thetaC, leakC, i, j), p0 = P(0, it->second, dists), p1 = P(1, it->second, dists);
            r = p1 / ((1 - qc) * p1 + qc * p0);
        }
        for (const auto& [m1, l1] : mots[i])
            for (const auto& [m2, l2] : mots[j]) {
                const int k = PairIndex(m1, m2);
                if (!thetaC.count(k))
                    continue;
                out << i << "\t" << j << "\t" << m1 << "\t" << m2 << "\t" << theta.at(k) << "," << thetaC.at(k) << "\t";
                if (it == obs.end())
                    out << "H\n";
                else
                    out << thetaC.at(k) * r << "\n";
            }
    }
    out << "***e Binding variable.\n";
    return out.str();
}

std::string G15(double x)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", x);
    return buf;
}

} // namespace testutil

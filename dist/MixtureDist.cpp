#include "dist/MixtureDist.h"

#include <cmath>
#include <ostream>
#include <limits>

#include "dist/Tolerances.h"

MixtureDist::MixtureDist(std::istream& modelFile, int depthLeft)
{
    int s = 0;
    modelFile >> maxIter >> s;
    for (int i = 0; i < s && modelFile; ++i) {
        double w = 0.0;
        if (!(modelFile >> w))
            break;
        DistRead d = ReadDist(modelFile, depthLeft);
        if (!d.dist) {
            badWord = d.badWord;
            tooDeep = d.tooDeep;
            break;
        }
        weights.push_back(w);
        dists.push_back(std::move(d.dist));
    }
}

MixtureDist::MixtureDist(const MixtureDist& other)
    : Distribution(other), maxIter(other.maxIter), weights(other.weights), badWord(other.badWord),
      tooDeep(other.tooDeep)
{
    dists.reserve(other.dists.size());
    for (const auto& d : other.dists)
        dists.push_back(d->Duplicate());
}

double MixtureDist::GetProb(double val) const
{
    double p = 0.0;
    for (std::size_t i = 0; i < dists.size(); ++i)
        p += dists[i]->GetProb(val) * weights[i];
    return p;
}

void MixtureDist::GetProbs(const double* vals, double* out, std::size_t n) const
{
    // Component by component, each value's sum still taken in component order.
    std::vector<double> part(n);
    for (std::size_t k = 0; k < n; ++k)
        out[k] = 0.0;
    for (std::size_t i = 0; i < dists.size(); ++i) {
        dists[i]->GetProbs(vals, part.data(), n);
        for (std::size_t k = 0; k < n; ++k)
            out[k] += part[k] * weights[i];
    }
}

void MixtureDist::Learn(const StatList& ss, std::ostream& log)
{
    const std::size_t n = dists.size();
    double prevLL = -std::numeric_limits<double>::infinity();
    std::vector<double> r(n), t(n);
    std::vector<StatList> lists(n);
    int iter = 0;
    while (maxIter > 0) {
        for (std::size_t i = 0; i < n; ++i) {
            t[i] = 0.0;
            lists[i].clear();
        }
        double ll = 0.0;
        for (const auto& [w, v] : ss) {
            if (!(w > g_tinyeps))
                continue;
            double total = 0.0;
            for (std::size_t i = 0; i < n; ++i) {
                r[i] = dists[i]->GetProb(v) * weights[i];
                total += r[i];
            }
            // No component can produce this value: it carries no information
            // about how to share it out.
            if (!(total > 0.0))
                continue;
            ll += std::log(total) * w;
            for (std::size_t i = 0; i < n; ++i) {
                const double rho = r[i] * (1 / total) * w;
                lists[i].emplace_back(rho, v);
                t[i] += rho;
            }
        }
        log << "Log likelihood at start of iteration " << iter << ": " << ll << std::endl;
        double sum = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            dists[i]->Learn(lists[i], log);
            sum += t[i];
        }
        if (sum > 0.0 && std::isfinite(sum))
            for (std::size_t i = 0; i < n; ++i)
                weights[i] = t[i] * (1 / sum);
        if (ll - prevLL < double(ss.size()) * g_eps)
            break;
        prevLL = ll;
        ++iter;
        if (iter >= maxIter)
            break;
    }
    if (iter == maxIter)
        log << "Warning: not converge. Too many iters: " << iter << std::endl;
    else
        log << "Converged in " << iter << " iterations" << std::endl;
}

bool MixtureDist::Assert(double val) const
{
    for (const auto& d : dists)
        if (!d->Assert(val))
            return false;
    return true;
}

void MixtureDist::Print(std::ostream& out, int sep) const
{
    out << "OM_MIXTURE\t" << maxIter << "\t" << dists.size();
    if (sep == 1)
        out << '\n';
    for (std::size_t i = 0; i < dists.size(); ++i) {
        if (sep == 0)
            out << '\t';
        out << weights[i] << '\t';
        dists[i]->Print(out, sep);
    }
}

std::unique_ptr<Distribution> MixtureDist::Duplicate() const { return std::make_unique<MixtureDist>(*this); }

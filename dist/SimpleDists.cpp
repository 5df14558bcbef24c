#include "dist/SimpleDists.h"

#include <cmath>

#include "dist/Tolerances.h"

namespace {

double TotalWeight(const StatList& ss)
{
    double w = 0.0;
    for (const auto& [wt, v] : ss)
        w += wt;
    return w;
}

// Sum of weight * value, in list order.
double WeightedSum(const StatList& ss)
{
    double sum = 0.0;
    for (const auto& [wt, v] : ss)
        sum += wt * v;
    return sum;
}

// Learning needs a positive, finite total weight; otherwise the data say
// nothing and the parameters stay.
bool Usable(double w) { return w > 0.0 && std::isfinite(w); }

void EndPrint(std::ostream& out, int sep)
{
    if (sep == 1)
        out << '\n';
}

} // namespace

// ---- BinaryDist

BinaryDist::BinaryDist(std::istream& modelFile) { modelFile >> prob0; }

double BinaryDist::GetProb(double val) const { return std::fabs(val) < g_eps ? prob0 : 1 - prob0; }

void BinaryDist::Learn(const StatList& ss, std::ostream&)
{
    // Both sums in list order, in one pass.
    double w = 0.0, zero = 0.0;
    for (const auto& [wt, v] : ss) {
        w += wt;
        if (std::fabs(v) < g_eps)
            zero += wt;
    }
    LearnFrom(w, zero);
}

bool BinaryDist::NeedsList() const { return false; }

void BinaryDist::LearnSums(const StatSums& sums, const StatList&, std::ostream&) { LearnFrom(sums.w, sums.zero); }

void BinaryDist::LearnFrom(double w, double zero)
{
    if (prior0 + prior1 > 0.0) {
        // The MAP estimate: the pseudo-counts join the data, so the rate
        // stays inside (0, 1) whatever the data say.
        if (!std::isfinite(w))
            return;
        const double p = (zero + prior0) / (w + (prior0 + prior1));
        if (std::isfinite(p))
            prob0 = p;
        return;
    }
    if (!Usable(w))
        return;
    const double p = zero / w;
    if (std::isfinite(p))
        prob0 = p;
}

void BinaryDist::GetProbs(const double* vals, double* out, std::size_t n) const
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = BinaryDist::GetProb(vals[i]);
}

void BinaryDist::SetNoisePrior(double strength)
{
    prior0 = strength * prob0;
    prior1 = strength * (1 - prob0);
}

double BinaryDist::LogPrior() const
{
    // A side without pseudo-counts adds nothing, so a rate at its end is no
    // 0 * -inf.
    double l = 0.0;
    if (prior0 > 0.0)
        l += prior0 * std::log(prob0);
    if (prior1 > 0.0)
        l += prior1 * std::log(1 - prob0);
    return l;
}

bool BinaryDist::Assert(double val) const { return std::fabs(val) < g_eps || std::fabs(val - 1) < g_eps; }

void BinaryDist::Print(std::ostream& out, int sep) const
{
    out << "OM_BINARY\t" << prob0;
    EndPrint(out, sep);
}

std::unique_ptr<Distribution> BinaryDist::Duplicate() const { return std::make_unique<BinaryDist>(*this); }

// ---- GaussianDist

GaussianDist::GaussianDist(std::istream& modelFile)
{
    modelFile >> mean >> var;
    norm = Norm(var);
}

double GaussianDist::Norm(double v) { return std::sqrt(v * 6.28318); }

double GaussianDist::GetProb(double val) const
{
    const double d = val - mean;
    return std::exp(((d / var) * d) * (-0.5)) / norm;
}

void GaussianDist::Learn(const StatList& ss, std::ostream&) { LearnFrom(TotalWeight(ss), WeightedSum(ss), ss); }

// The variance needs a second pass around the new mean: the values stay.
bool GaussianDist::NeedsList() const { return true; }

void GaussianDist::LearnSums(const StatSums& sums, const StatList& ss, std::ostream&)
{
    LearnFrom(sums.w, sums.wv, ss);
}

void GaussianDist::GetProbs(const double* vals, double* out, std::size_t n) const
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = GaussianDist::GetProb(vals[i]);
}

void GaussianDist::LearnFrom(double w, double sum, const StatList& ss)
{
    if (!Usable(w))
        return;
    const double m = (1 / w) * sum;
    if (!std::isfinite(m))
        return;
    double sq = 0.0;
    for (const auto& [wt, v] : ss)
        sq += wt * ((v - m) * (v - m));
    const double vr = (1 / w) * sq;
    if (!(vr > 0.0) || !std::isfinite(vr))
        return;
    mean = m;
    var = vr;
    norm = Norm(var);
}

bool GaussianDist::Assert(double) const { return true; }

void GaussianDist::Print(std::ostream& out, int sep) const
{
    out << "OM_GAUSSIAN\t" << mean << "\t" << var;
    EndPrint(out, sep);
}

std::unique_ptr<Distribution> GaussianDist::Duplicate() const { return std::make_unique<GaussianDist>(*this); }

// ---- ExponentialDist

ExponentialDist::ExponentialDist(std::istream& modelFile) { modelFile >> shift >> left >> lambda; }

double ExponentialDist::GetProb(double val) const
{
    if (left == 0)
        return lambda * std::exp(-((val - shift) * lambda));
    return lambda * std::exp(-((shift - val) * lambda));
}

void ExponentialDist::Learn(const StatList& ss, std::ostream&) { LearnFrom(TotalWeight(ss), WeightedSum(ss)); }

bool ExponentialDist::NeedsList() const { return false; }

void ExponentialDist::LearnSums(const StatSums& sums, const StatList&, std::ostream&) { LearnFrom(sums.w, sums.wv); }

void ExponentialDist::GetProbs(const double* vals, double* out, std::size_t n) const
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = ExponentialDist::GetProb(vals[i]);
}

void ExponentialDist::LearnFrom(double w, double sum)
{
    if (!Usable(w))
        return;
    const double m = sum / w;
    const double lam = left == 0 ? 1 / (m - shift) : 1 / (shift - m);
    if (lam > 0.0 && std::isfinite(lam))
        lambda = lam;
}

bool ExponentialDist::Assert(double val) const { return left == 0 ? val >= shift : val <= shift; }

void ExponentialDist::Print(std::ostream& out, int sep) const
{
    out << "OM_EXPONENTIAL\t" << shift << "\t" << left << "\t" << lambda;
    EndPrint(out, sep);
}

std::unique_ptr<Distribution> ExponentialDist::Duplicate() const { return std::make_unique<ExponentialDist>(*this); }

// ---- UniformDist

UniformDist::UniformDist(std::istream& modelFile)
{
    modelFile >> begin >> end;
    density = 1 / (end - begin);
    modelFile >> inclusive;
}

double UniformDist::GetProb(double val) const
{
    if (begin < val && val < end)
        return density;
    if (val == begin)
        return (inclusive & ~1) == 2 ? density : 0.0;
    if (val == end)
        return (inclusive & 1) ? density : 0.0;
    return 0.0;
}

void UniformDist::Learn(const StatList&, std::ostream&) {}

bool UniformDist::NeedsList() const { return false; }

void UniformDist::LearnSums(const StatSums&, const StatList&, std::ostream&) {}

void UniformDist::GetProbs(const double* vals, double* out, std::size_t n) const
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = UniformDist::GetProb(vals[i]);
}

bool UniformDist::Assert(double) const { return true; }

void UniformDist::Print(std::ostream& out, int sep) const
{
    out << "OM_UNIFORM\t" << begin << "\t" << end << "\t" << inclusive;
    EndPrint(out, sep);
}

std::unique_ptr<Distribution> UniformDist::Duplicate() const { return std::make_unique<UniformDist>(*this); }

#pragma once

#include "dist/Distribution.h"

// Observed value 0 with probability prob0, anything else counts as 1.
class BinaryDist final : public Distribution {
public:
    explicit BinaryDist(std::istream& modelFile);
    explicit BinaryDist(double p0) : prob0(p0) {}
    double GetProb(double val) const override;
    void Learn(const StatList& ss, std::ostream& log) override;
    bool NeedsList() const override;
    void LearnSums(const StatSums& sums, const StatList& ss, std::ostream& log) override;
    void GetProbs(const double* vals, double* out, std::size_t n) const override;
    bool Assert(double val) const override;
    void Print(std::ostream& out, int sep) const override;
    std::unique_ptr<Distribution> Duplicate() const override;
    void SetNoisePrior(double strength) override;
    double LogPrior() const override;
    double GetProb0() const { return prob0; }

private:
    double prob0 = 0.0;
    // Beta pseudo-counts of an observed 0 and of anything else; both 0
    // without a prior.
    double prior0 = 0.0;
    double prior1 = 0.0;

    void LearnFrom(double w, double zero);
};

// Normal density; `var` is the variance.
class GaussianDist final : public Distribution {
public:
    explicit GaussianDist(std::istream& modelFile);
    GaussianDist(double m, double v) : mean(m), var(v), norm(Norm(v)) {}
    double GetProb(double val) const override;
    void Learn(const StatList& ss, std::ostream& log) override;
    bool NeedsList() const override;
    void LearnSums(const StatSums& sums, const StatList& ss, std::ostream& log) override;
    void GetProbs(const double* vals, double* out, std::size_t n) const override;
    bool Assert(double val) const override;
    void Print(std::ostream& out, int sep) const override;
    std::unique_ptr<Distribution> Duplicate() const override;
    double GetMean() const { return mean; }
    double GetVar() const { return var; }

private:
    double mean = 0.0;
    double var = 0.0;
    // sqrt(2 pi var), kept with var: the density needs it for every value.
    double norm = 0.0;

    static double Norm(double v);
    // The estimate from the total weight, the weighted sum and, for the
    // second pass around the new mean, the values.
    void LearnFrom(double w, double sum, const StatList& ss);
};

// lambda * exp(-lambda * distance from shift), to the right of the shift
// (left = 0) or to the left (left = 1). Shift and side never change.
class ExponentialDist final : public Distribution {
public:
    explicit ExponentialDist(std::istream& modelFile);
    ExponentialDist(double c, int l, double lam) : shift(c), lambda(lam), left(l) {}
    double GetProb(double val) const override;
    void Learn(const StatList& ss, std::ostream& log) override;
    bool NeedsList() const override;
    void LearnSums(const StatSums& sums, const StatList& ss, std::ostream& log) override;
    void GetProbs(const double* vals, double* out, std::size_t n) const override;
    bool Assert(double val) const override;
    void Print(std::ostream& out, int sep) const override;
    std::unique_ptr<Distribution> Duplicate() const override;
    double GetLambda() const { return lambda; }

private:
    double shift = 0.0;
    double lambda = 0.0;
    int left = 0;

    void LearnFrom(double w, double sum);
};

// Constant density on [begin, end]; `inclusive` says which ends belong:
// 0 both open, 1 end closed, 2 begin closed, 3 both closed. Never learns.
class UniformDist final : public Distribution {
public:
    explicit UniformDist(std::istream& modelFile);
    UniformDist(double b, double e, int inc) : begin(b), end(e), density(1.0 / (e - b)), inclusive(inc) {}
    double GetProb(double val) const override;
    void Learn(const StatList& ss, std::ostream& log) override;
    bool NeedsList() const override;
    void LearnSums(const StatSums& sums, const StatList& ss, std::ostream& log) override;
    void GetProbs(const double* vals, double* out, std::size_t n) const override;
    bool Assert(double val) const override;
    void Print(std::ostream& out, int sep) const override;
    std::unique_ptr<Distribution> Duplicate() const override;

private:
    double begin = 0.0;
    double end = 0.0;
    double density = 0.0;
    int inclusive = 0;
};

#pragma once

#include <cmath>
#include <cstddef>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "dist/Tolerances.h"

// Weighted observed values handed to Learn: (weight, value).
using StatList = std::vector<std::pair<double, double>>;

// Running sums of the weighted values handed to a distribution, each taken
// in the order the values came: the very sums a Learn on their list forms
// in its first pass, so that a kind whose estimate needs nothing else learns
// the same from them without the list.
struct StatSums {
    std::size_t n = 0; // values added
    double w = 0.0;    // sum of the weights
    double wv = 0.0;   // sum of weight * value
    double zero = 0.0; // sum of the weights of values within g_eps of 0

    void Add(double wt, double v)
    {
        ++n;
        w += wt;
        wv += wt * v;
        // Adding 0 instead of skipping changes nothing: the sum starts at +0
        // and so can never be -0, the one value that + 0 would change.
        zero += std::fabs(v) < g_eps ? wt : 0.0;
    }
};

// An observation distribution: the probability (or density) of an observed
// value given the actual value of a hidden binary variable, re-estimated from
// weighted values in the M-step.
class Distribution {
public:
    virtual ~Distribution() = default;
    virtual double GetProb(double val) const = 0;
    // Re-estimates the parameters from weighted values; a distribution that
    // learns iteratively reports its progress on `log`.
    virtual void Learn(const StatList& ss, std::ostream& log) = 0;
    // Whether learning needs the weighted values themselves; a kind that
    // needs only their running sums says no, and its values are not kept.
    virtual bool NeedsList() const { return true; }
    // Learn from the running sums of the values and, when NeedsList(), their
    // list (empty otherwise): bit for bit the result of Learn on the list.
    virtual void LearnSums(const StatSums& sums, const StatList& ss, std::ostream& log)
    {
        (void)sums;
        Learn(ss, log);
    }
    // GetProb of n values into out, in one pass.
    virtual void GetProbs(const double* vals, double* out, std::size_t n) const
    {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = GetProb(vals[i]);
    }
    virtual bool Assert(double val) const = 0;
    // Token and parameters separated by tabs, in file syntax order; sep 1 ends
    // with a newline (no flush), any other value ends with nothing.
    virtual void Print(std::ostream& out, int sep) const = 0;
    virtual std::unique_ptr<Distribution> Duplicate() const = 0;
    // A Beta prior of `strength` pseudo-counts centred on the present
    // parameters, for the kinds that have one (binary models); 0 removes it.
    virtual void SetNoisePrior(double strength) { (void)strength; }
    // ln of that prior's density at the present parameters, up to a constant.
    virtual double LogPrior() const { return 0.0; }
};

// How deep mixtures may nest: a mixture of plain components is depth 1, a
// mixture holding such a mixture depth 2. Reading is recursive, so the bound
// keeps a hostile model file from exhausting the stack.
constexpr int MAXMIXDEPTH = 8;

// What reading one distribution gave: the distribution, or nothing with the
// reason. With neither a bad word nor too deep a nesting, a missing
// distribution or a failed stream means the parameters were cut short.
struct DistRead {
    std::unique_ptr<Distribution> dist;
    std::string badWord;  // a type word that names no kind (also inside a mixture)
    bool tooDeep = false; // mixtures nest more than MAXMIXDEPTH deep
};

// Reads a type word and the parameters of that kind; `depthLeft` mixture
// levels may still follow (MAXMIXDEPTH at the top of a model record).
DistRead ReadDist(std::istream& modelFile, int depthLeft = MAXMIXDEPTH);

// ReadDist at the top level, for callers that need only the distribution:
// nothing for a bad word (then `badWord`, when given, receives it) or too
// deep a nesting.
std::unique_ptr<Distribution> ReadDistribution(std::istream& modelFile, std::string* badWord = nullptr);

// The known type words, for messages.
extern const char* const DIST_TOKENS;

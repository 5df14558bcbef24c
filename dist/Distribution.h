#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// Weighted observed values handed to Learn: (weight, value).
using StatList = std::vector<std::pair<double, double>>;

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
    virtual bool Assert(double val) const = 0;
    // Token and parameters separated by tabs, in file syntax order; sep 1 ends
    // with a newline (no flush), any other value ends with nothing.
    virtual void Print(std::ostream& out, int sep) const = 0;
    virtual std::unique_ptr<Distribution> Duplicate() const = 0;
};

// Reads a type word and the parameters of that kind. Returns nothing for a
// word that names no kind (also inside a mixture); then `badWord`, when given,
// receives that word. A stream left failed means the parameters were cut short.
std::unique_ptr<Distribution> ReadDistribution(std::istream& modelFile, std::string* badWord = nullptr);

// The known type words, for messages.
extern const char* const DIST_TOKENS;

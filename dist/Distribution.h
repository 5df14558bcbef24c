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

// How deep mixtures may nest: a mixture of plain components is depth 1, a
// mixture holding such a mixture depth 2. Reading is recursive, so the bound
// keeps a hostile model file from exhausting the stack.
constexpr int MAXMIXDEPTH = 8;

// What reading one distribution gave: the distribution, or nothing with the
// reason. With neither a bad word nor too deep a nesting, a missing
// distribution or a failed stream means the parameters were cut short.
struct DistRead {
    std::unique_ptr<Distribution> dist;
    std::string badWord; // a type word that names no kind (also inside a mixture)
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

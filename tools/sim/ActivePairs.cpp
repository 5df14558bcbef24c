#include "tools/sim/ActivePairs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <tuple>

#include "tools/sim/PairPool.h"
#include "tools/stats/Rng.h"
#include "tools/stats/WeightedPicker.h"
#include "tools/toolbox/PairKey.h"

namespace {

constexpr double STRONG_AFFINITY_MIN = 0.3;
constexpr double STRONG_AFFINITY_MAX = 0.9;
constexpr double WEAK_AFFINITY_MIN = 0.005;
constexpr double WEAK_AFFINITY_MAX = 0.05;

enum Stream : std::uint64_t { PAIR_STREAM = 21, AFFINITY_STREAM = 22 };

// Planted values are kept to six significant digits, the precision of the
// ground-truth file, so that the file states them exactly.
double Rounded(double x)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", x);
    return std::strtod(buf, nullptr);
}

} // namespace

ActivePairs::ActivePairs(const SimConfig& config, const ProteinSet& proteins, std::uint64_t seed)
{
    const long long numMot = config.motifs;
    const long long total = config.ActivePairCount();
    const long long distinctCap = numMot * (numMot - 1) / 2;
    // Self pairs (a family binding its own kind, as in homodimers) take their
    // share, adjusted when the other kind has too few pairs to go round.
    long long self = std::llround(config.selfMotifFrac * static_cast<double>(total));
    self = std::clamp(self, std::max(0LL, total - distinctCap), std::min(total, numMot));

    Rng rng(seed, PAIR_STREAM);
    const WeightedPicker picker(proteins.FamilyWeights());
    PairPool pool(config.motifs);
    std::vector<std::pair<int, int>> chosen = pool.Draw(self, true, rng, [&](Rng& r) {
        const int m = static_cast<int>(picker.Pick(r));
        return std::optional(std::make_pair(m, m));
    });
    const std::vector<std::pair<int, int>> distinct = pool.Draw(total - self, false, rng, [&](Rng& r) {
        const int a = static_cast<int>(picker.Pick(r));
        const int b = static_cast<int>(picker.Pick(r));
        return std::optional(std::make_pair(a, b));
    });
    chosen.insert(chosen.end(), distinct.begin(), distinct.end());
    std::sort(chosen.begin(), chosen.end(), [](const auto& a, const auto& b) {
        return PairIndex64(a.first, a.second) < PairIndex64(b.first, b.second);
    });

    Rng affRng(seed, AFFINITY_STREAM);
    pairs_.reserve(chosen.size());
    for (const auto& [a, b] : chosen) {
        ActivePair ap;
        std::tie(ap.larger, ap.smaller) = MakePairKey(a, b);
        ap.strong = affRng.Bernoulli(config.strongFrac);
        ap.affinity = Rounded(ap.strong ? affRng.Uniform(STRONG_AFFINITY_MIN, STRONG_AFFINITY_MAX)
                                        : affRng.LogUniform(WEAK_AFFINITY_MIN, WEAK_AFFINITY_MAX));
        lookup_.emplace(PairIndex64(a, b), ap.affinity);
        pairs_.push_back(ap);
    }
}

double ActivePairs::Affinity(int mot1, int mot2) const
{
    const auto it = lookup_.find(PairIndex64(mot1, mot2));
    return it == lookup_.end() ? -1.0 : it->second;
}

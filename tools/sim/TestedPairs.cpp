#include "tools/sim/TestedPairs.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>

#include "tools/stats/Rng.h"
#include "tools/toolbox/PairKey.h"

namespace {

enum Stream : std::uint64_t { SELECT_STREAM = 31, STATE_STREAM = 32 };

} // namespace

std::vector<TestedPair> DrawTestedPairs(const SimConfig& config, const ProteinSet& proteins, const ActivePairs& active,
                                        const NoisyOr& noisyOr, PairPool& pool, std::uint64_t seed)
{
    Rng rng(seed, SELECT_STREAM);
    const long long self = std::llround(config.selfFrac * static_cast<double>(config.pairs));
    const long long distinct = config.pairs - self;
    const long long enriched = std::llround(config.enrich * static_cast<double>(distinct));

    std::vector<std::pair<int, int>> drawn = pool.Draw(self, true, rng);
    const auto& actives = active.All();
    const auto proposeCarriers = [&](Rng& r) -> std::optional<std::pair<int, int>> {
        const ActivePair& ap = actives[static_cast<std::size_t>(r.Below(actives.size()))];
        const auto& withLarger = proteins.Carriers(ap.larger);
        const auto& withSmaller = proteins.Carriers(ap.smaller);
        if (withLarger.empty() || withSmaller.empty()) {
            return std::nullopt;
        }
        const int p = withLarger[static_cast<std::size_t>(r.Below(withLarger.size()))];
        const int q = withSmaller[static_cast<std::size_t>(r.Below(withSmaller.size()))];
        return std::make_pair(p, q);
    };
    const auto biased = pool.Draw(enriched, false, rng, proposeCarriers);
    const auto uniform = pool.Draw(distinct - enriched, false, rng);
    drawn.insert(drawn.end(), biased.begin(), biased.end());
    drawn.insert(drawn.end(), uniform.begin(), uniform.end());
    std::sort(drawn.begin(), drawn.end(), [](const auto& a, const auto& b) {
        return PairIndex64(a.first, a.second) < PairIndex64(b.first, b.second);
    });

    Rng stateRng(seed, STATE_STREAM);
    std::vector<TestedPair> tested;
    tested.reserve(drawn.size());
    for (const auto& [a, b] : drawn) {
        TestedPair t;
        t.first = a;
        t.second = b;
        std::tie(t.larger, t.smaller) = MakePairKey(a, b);
        t.nonInterProb = noisyOr.NonInterProb(t.larger, t.smaller);
        t.numBindingVars = static_cast<int>(noisyOr.Variables(t.larger, t.smaller).size());
        t.draw = noisyOr.Sample(t.larger, t.smaller, stateRng);
        tested.push_back(std::move(t));
    }
    return tested;
}

#include "tools/sim/PredictionLists.h"

#include <algorithm>
#include <set>

#include "tools/stats/Rng.h"
#include "tools/toolbox/PairKey.h"

namespace {

enum Stream : std::uint64_t { EXTRA_STREAM = 61, BIND_STREAM = 62 };

void Shuffle(std::vector<std::pair<int, int>>& v, Rng& rng)
{
    for (std::size_t i = v.size(); i > 1; --i) {
        std::swap(v[i - 1], v[static_cast<std::size_t>(rng.Below(i))]);
    }
}

void SortByIndex(std::vector<std::pair<int, int>>& v)
{
    std::sort(v.begin(), v.end(), [](const auto& a, const auto& b) {
        return PairIndex64(a.first, a.second) < PairIndex64(b.first, b.second);
    });
}

// Takes up to `count` pairs, preferred ones first (each group in random
// order), and returns them in ascending pair index.
std::vector<std::pair<int, int>> TakePreferred(std::vector<std::pair<int, int>> preferred,
                                               std::vector<std::pair<int, int>> others, long long count, Rng& rng)
{
    Shuffle(preferred, rng);
    Shuffle(others, rng);
    preferred.insert(preferred.end(), others.begin(), others.end());
    if (static_cast<long long>(preferred.size()) > count) {
        preferred.resize(static_cast<std::size_t>(count));
    }
    SortByIndex(preferred);
    return preferred;
}

} // namespace

PredictionLists DrawPredictionLists(const SimConfig& config, const std::vector<TestedPair>& tested,
                                    const ActivePairs& active, PairPool& pool, std::uint64_t seed)
{
    PredictionLists lists;
    for (const TestedPair& t : tested) {
        lists.interaction.emplace_back(t.larger, t.smaller);
    }
    Rng extraRng(seed, EXTRA_STREAM);
    std::vector<std::pair<int, int>> extra;
    for (const auto& [a, b] : pool.Draw(std::min(config.predictExtra, pool.Free(false)), false, extraRng)) {
        extra.push_back(MakePairKey(a, b));
    }
    SortByIndex(extra);
    lists.interaction.insert(lists.interaction.end(), extra.begin(), extra.end());

    Rng bindRng(seed, BIND_STREAM);
    std::vector<std::pair<int, int>> preferred;
    std::vector<std::pair<int, int>> others;
    if (config.perType == 2) {
        std::set<std::pair<int, int>> bound;
        for (const TestedPair& t : tested) {
            for (const auto& [m1, m2] : t.draw.fired) {
                bound.insert(MakePairKey(m1, m2));
            }
        }
        for (const ActivePair& ap : active.All()) {
            (bound.count({ap.larger, ap.smaller}) ? preferred : others).emplace_back(ap.larger, ap.smaller);
        }
    } else {
        for (const TestedPair& t : tested) {
            if (t.numBindingVars > 0) {
                (t.draw.state == 1 ? preferred : others).emplace_back(t.larger, t.smaller);
            }
        }
    }
    lists.binding = TakePreferred(std::move(preferred), std::move(others), config.bindPairs, bindRng);
    return lists;
}

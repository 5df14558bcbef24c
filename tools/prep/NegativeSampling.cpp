#include "tools/prep/NegativeSampling.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "tools/stats/WeightedPicker.h"
#include "tools/toolbox/ToolError.h"

namespace {

// Partner draws for one first protein before both are drawn anew: a protein
// whose every partner is reported or drawn must not hold the sampler.
constexpr int PARTNER_TRIES = 50;
// Draws allowed per requested pair, plus a floor for small requests.
constexpr std::uint64_t TRIES_PER_PAIR = 100;
constexpr std::uint64_t TRIES_FLOOR = 10000;
// Rounds of fitting the partner weights; the shares settle after a few.
constexpr int FIT_ROUNDS = 8;
// Most pairs listed to draw the last free ones from when random draws run out.
constexpr std::uint64_t MAX_LISTED = 20000000;

// The reported pairs of two different proteins of the sample, as indexes into
// `proteins` (sorted), each pair in both directions: offsets and partners.
struct ReportedGraph {
    std::vector<std::size_t> start;
    std::vector<std::size_t> partner;
    std::uint64_t pairs = 0;
};

ReportedGraph Reported(const std::vector<int>& proteins, const ReportedPairs& reported)
{
    const auto index = [&](int id) -> std::size_t {
        const auto it = std::lower_bound(proteins.begin(), proteins.end(), id);
        return it != proteins.end() && *it == id ? static_cast<std::size_t>(it - proteins.begin()) : proteins.size();
    };
    const std::size_t k = proteins.size();
    std::uint64_t partners = 0;
    for (const int p : proteins) {
        partners += reported.Partners(p).size();
    }
    // Whichever is less work: every pair of the proteins, or every reported
    // partner of each.
    std::vector<std::pair<std::size_t, std::size_t>> edges;
    if (static_cast<std::uint64_t>(k) * (k - (k > 0 ? 1 : 0)) / 2 <= partners) {
        for (std::size_t i = 0; i < k; ++i) {
            for (std::size_t j = i + 1; j < k; ++j) {
                if (reported.Has(proteins[i], proteins[j])) {
                    edges.emplace_back(i, j);
                    edges.emplace_back(j, i);
                }
            }
        }
    } else {
        for (std::size_t i = 0; i < k; ++i) {
            for (const int q : reported.Partners(proteins[i])) {
                const std::size_t j = index(q);
                if (j < k) {
                    edges.emplace_back(i, j);
                }
            }
        }
    }
    // Sorted, so that the fit sums in the same order whatever the hash set's.
    std::sort(edges.begin(), edges.end());
    ReportedGraph g;
    g.pairs = edges.size() / 2;
    g.start.assign(proteins.size() + 1, 0);
    for (const auto& e : edges) {
        ++g.start[e.first + 1];
    }
    for (std::size_t i = 0; i < proteins.size(); ++i) {
        g.start[i + 1] += g.start[i];
    }
    g.partner.reserve(edges.size());
    for (const auto& e : edges) {
        g.partner.push_back(e.second);
    }
    return g;
}

// Weights for drawing the partner of a first protein drawn by degree. Drawn
// by degree too, a hub would be short as partner: the pairs it forms with
// other hubs are mostly reported, so it is turned down more often than a
// protein with few partners. The weights are fitted so that an accepted
// partner is each protein in proportion to its degree: with p the degree
// shares and q the weights, a first protein a accepts partner u with
// probability q_u / Z_a (Z_a the weight of a's free partners), so u's share
// as partner is q_u * sum over a free with u of p_a / Z_a, which should be p_u.
std::vector<double> PartnerWeights(const std::vector<double>& p, const ReportedGraph& g)
{
    const std::size_t k = p.size();
    std::vector<double> q = p;
    std::vector<double> r(k);
    for (int round = 0; round < FIT_ROUNDS; ++round) {
        double total = 0.0;
        for (const double x : q) {
            total += x;
        }
        double sumR = 0.0;
        for (std::size_t a = 0; a < k; ++a) {
            double z = total - q[a];
            for (std::size_t e = g.start[a]; e < g.start[a + 1]; ++e) {
                z -= q[g.partner[e]];
            }
            r[a] = z > total * 1e-12 ? p[a] / z : 0.0;
            sumR += r[a];
        }
        for (std::size_t u = 0; u < k; ++u) {
            double s = sumR - r[u];
            for (std::size_t e = g.start[u]; e < g.start[u + 1]; ++e) {
                s -= r[g.partner[e]];
            }
            const double share = q[u] * s;
            q[u] = share > 0.0 && std::isfinite(share) ? q[u] * p[u] / share : 0.0;
        }
    }
    return q;
}

std::size_t CountProteins(const std::vector<PairKey>& positives)
{
    std::vector<int> ids;
    for (const auto& [a, b] : positives) {
        ids.push_back(a);
        ids.push_back(b);
    }
    std::sort(ids.begin(), ids.end());
    return static_cast<std::size_t>(std::unique(ids.begin(), ids.end()) - ids.begin());
}

std::uint64_t MaxTries(std::size_t count)
{
    constexpr std::uint64_t MAX = std::numeric_limits<std::uint64_t>::max();
    return count > (MAX - TRIES_FLOOR) / TRIES_PER_PAIR ? MAX : TRIES_PER_PAIR * count + TRIES_FLOOR;
}

} // namespace

void ReportedPairs::Add(int a, int b)
{
    if (!keys_.insert(PairIndex64(a, b)).second || a == b) {
        return;
    }
    partners_[a].push_back(b);
    partners_[b].push_back(a);
}

const std::vector<int>& ReportedPairs::Partners(int p) const
{
    static const std::vector<int> none;
    const auto it = partners_.find(p);
    return it == partners_.end() ? none : it->second;
}

std::vector<PairKey> SampleNegativesUpTo(const std::vector<PairKey>& positives, const ReportedPairs& reported,
                                         std::size_t count, Sampling sampling, Rng& rng)
{
    std::vector<PairKey> drawn;
    if (count == 0) {
        return drawn;
    }
    std::vector<int> proteins;
    proteins.reserve(2 * positives.size());
    for (const auto& [a, b] : positives) {
        proteins.push_back(a);
        proteins.push_back(b);
    }
    std::sort(proteins.begin(), proteins.end());
    proteins.erase(std::unique(proteins.begin(), proteins.end()), proteins.end());
    const std::size_t k = proteins.size();

    const ReportedGraph graph = Reported(proteins, reported);
    const std::uint64_t free = (k < 2 ? 0 : static_cast<std::uint64_t>(k) * (k - 1) / 2) - graph.pairs;
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, free));
    if (count == 0) {
        return drawn;
    }

    // Every endpoint of every positive pair (as an index into `proteins`):
    // drawing one draws a protein in proportion to its degree.
    std::vector<std::size_t> stubs;
    std::vector<double> partnerWeights;
    if (sampling == Sampling::DEGREE) {
        stubs.reserve(2 * positives.size());
        std::vector<double> share(k, 0.0);
        const double unit = 1.0 / static_cast<double>(2 * positives.size());
        for (const auto& [a, b] : positives) {
            for (const int id : {a, b}) {
                const auto i =
                    static_cast<std::size_t>(std::lower_bound(proteins.begin(), proteins.end(), id) - proteins.begin());
                stubs.push_back(i);
                share[i] += unit;
            }
        }
        partnerWeights = PartnerWeights(share, graph);
    }
    const WeightedPicker partners(partnerWeights);
    const auto first = [&]() -> int {
        return sampling == Sampling::DEGREE ? proteins[stubs[rng.Below(stubs.size())]] : proteins[rng.Below(k)];
    };
    const auto partner = [&]() -> int {
        return sampling == Sampling::DEGREE ? proteins[partners.Pick(rng)] : proteins[rng.Below(k)];
    };
    // By degree, only the partner is drawn anew at first, which keeps each
    // protein's share as first protein exact even when most of its partners
    // are reported, as those of a hub are. Uniform pairs are drawn anew
    // whole, which leaves them uniform among the pairs not reported.
    const int partnerTries = sampling == Sampling::DEGREE ? PARTNER_TRIES : 1;
    const std::uint64_t maxTries = MaxTries(count);
    std::unordered_set<std::int64_t> taken;
    taken.reserve(count);
    drawn.reserve(count);
    std::uint64_t tries = 0;
    while (drawn.size() < count && tries < maxTries) {
        const int a = first();
        for (int t = 0; t < partnerTries && ++tries <= maxTries; ++t) {
            const int b = partner();
            if (a == b) {
                continue;
            }
            const std::int64_t key = PairIndex64(a, b);
            if (reported.Has(a, b) || !taken.insert(key).second) {
                continue;
            }
            drawn.push_back(MakePairKey(a, b));
            break;
        }
    }
    if (drawn.size() < count && free - drawn.size() <= MAX_LISTED) {
        // The free pairs are few among many reported ones: the rest uniformly
        // among those not drawn yet.
        std::vector<PairKey> left;
        for (std::size_t i = 0; i < k; ++i) {
            for (std::size_t j = 0; j < i; ++j) {
                const int a = proteins[i];
                const int b = proteins[j];
                if (!reported.Has(a, b) && taken.count(PairIndex64(a, b)) == 0) {
                    left.push_back(MakePairKey(a, b));
                }
            }
        }
        for (std::size_t i = 0; drawn.size() < count && i < left.size(); ++i) {
            const std::size_t j = i + static_cast<std::size_t>(rng.Below(left.size() - i));
            std::swap(left[i], left[j]);
            drawn.push_back(left[i]);
        }
    }
    return drawn;
}

std::vector<PairKey> SampleNegatives(const std::vector<PairKey>& positives,
                                     const std::unordered_set<std::int64_t>& reported, std::size_t count,
                                     Sampling sampling, Rng& rng)
{
    ReportedPairs pairs;
    constexpr int MAX_ID = std::numeric_limits<int>::max();
    for (const std::int64_t key : reported) {
        // Keys of no pair of ids take nothing away.
        if (key < 0 || key > PairIndex64(MAX_ID, MAX_ID)) {
            continue;
        }
        const auto [l, s] = PairRevIndex64(key);
        pairs.Add(l, s);
    }
    std::vector<PairKey> drawn = SampleNegativesUpTo(positives, pairs, count, sampling, rng);
    if (drawn.size() < count) {
        throw ToolError("cannot find " + std::to_string(count) + " non-interacting pairs among " +
                        std::to_string(CountProteins(positives)) + " proteins; found " + std::to_string(drawn.size()) +
                        "; expected a smaller ratio");
    }
    return drawn;
}

#include "tools/sim/PairPool.h"

#include "tools/toolbox/PairKey.h"

namespace {

constexpr int PROPOSAL_ATTEMPTS = 50;

} // namespace

PairPool::PairPool(int n) : n_(n) {}

bool PairPool::Take(int a, int b)
{
    if (!taken_.insert(PairIndex64(a, b)).second) {
        return false;
    }
    if (a == b) {
        ++takenSelf_;
    } else {
        ++takenDistinct_;
    }
    return true;
}

bool PairPool::IsTaken(int a, int b) const { return taken_.count(PairIndex64(a, b)) != 0; }

long long PairPool::Free(bool self) const
{
    const long long n = n_;
    return self ? n - takenSelf_ : n * (n - 1) / 2 - takenDistinct_;
}

std::pair<int, int> PairPool::UniformPair(bool self, Rng& rng) const
{
    const int a = static_cast<int>(rng.Below(static_cast<std::uint64_t>(n_)));
    if (self) {
        return {a, a};
    }
    int b = static_cast<int>(rng.Below(static_cast<std::uint64_t>(n_ - 1)));
    if (b >= a) {
        ++b;
    }
    return {a, b};
}

// When most of the remaining pairs are wanted, rejection would spin: list the
// free pairs and pick among them by a partial shuffle.
std::vector<std::pair<int, int>> PairPool::DrawByEnumeration(long long count, bool self, Rng& rng)
{
    std::vector<std::pair<int, int>> free;
    for (int l = 0; l < n_; ++l) {
        if (self) {
            if (!IsTaken(l, l)) {
                free.emplace_back(l, l);
            }
            continue;
        }
        for (int s = 0; s < l; ++s) {
            if (!IsTaken(l, s)) {
                free.emplace_back(l, s);
            }
        }
    }
    std::vector<std::pair<int, int>> out;
    for (long long i = 0; i < count; ++i) {
        const auto left = static_cast<std::uint64_t>(static_cast<long long>(free.size()) - i);
        const auto j = static_cast<std::size_t>(i) + static_cast<std::size_t>(rng.Below(left));
        std::swap(free[static_cast<std::size_t>(i)], free[j]);
        auto pair = free[static_cast<std::size_t>(i)];
        if (!self && rng.Bernoulli(0.5)) {
            std::swap(pair.first, pair.second);
        }
        Take(pair.first, pair.second);
        out.push_back(pair);
    }
    return out;
}

std::vector<std::pair<int, int>> PairPool::Draw(long long count, bool self, Rng& rng, const Proposal& proposal)
{
    std::vector<std::pair<int, int>> out;
    if (proposal) {
        int misses = 0;
        while (static_cast<long long>(out.size()) < count && misses < PROPOSAL_ATTEMPTS) {
            const auto p = proposal(rng);
            if (p && (p->first == p->second) == self && Take(p->first, p->second)) {
                out.push_back(*p);
                misses = 0;
            } else {
                ++misses;
            }
        }
    }
    while (static_cast<long long>(out.size()) < count) {
        const long long remaining = count - static_cast<long long>(out.size());
        if (2 * remaining > Free(self)) {
            const auto rest = DrawByEnumeration(remaining, self, rng);
            out.insert(out.end(), rest.begin(), rest.end());
            break;
        }
        const auto p = UniformPair(self, rng);
        if (Take(p.first, p.second)) {
            out.push_back(p);
        }
    }
    return out;
}

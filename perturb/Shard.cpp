#include "perturb/Shard.h"

namespace {

// floor(n * k / count) without forming n * k: with n = q * count + r it is
// q * k + floor(r * k / count), and r * k < count * count fits 64 bits.
std::uint64_t Bound(std::uint64_t n, std::uint64_t k, std::uint64_t count)
{
    return n / count * k + n % count * k / count;
}

} // namespace

CycleRange BlockOf(std::size_t n, const Shard& s)
{
    const auto count = std::uint64_t(s.count);
    const auto index = std::uint64_t(s.index);
    return {std::size_t(Bound(n, index, count)), std::size_t(Bound(n, index + 1, count))};
}

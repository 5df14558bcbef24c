#include "tools/stats/Rng.h"

#include <cmath>

namespace {

std::uint64_t SplitMix64(std::uint64_t& x)
{
    x += 0x9e3779b97f4a7c15ULL;
    std::uint64_t z = x;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

std::uint64_t RotL(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

} // namespace

Rng::Rng(std::uint64_t seed, std::uint64_t stream)
{
    std::uint64_t x = seed;
    // Mix the stream number in through its own splitmix step, so streams of
    // neighbouring seeds do not overlap.
    std::uint64_t salt = stream * 0xd1b54a32d192ed03ULL + 0x8cb92ba72f3d8dd7ULL;
    x ^= SplitMix64(salt);
    for (auto& word : s_) {
        word = SplitMix64(x);
    }
}

std::uint64_t Rng::Next()
{
    const std::uint64_t result = RotL(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = RotL(s_[3], 45);
    return result;
}

double Rng::Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

double Rng::Uniform(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

std::uint64_t Rng::Below(std::uint64_t n)
{
    // Rejection of the short last block keeps every value equally likely.
    const std::uint64_t limit = (0 - n) % n;
    std::uint64_t x = Next();
    while (x < limit) {
        x = Next();
    }
    return x % n;
}

bool Rng::Bernoulli(double p) { return Uniform() < p; }

double Rng::Gaussian()
{
    if (haveSpare_) {
        haveSpare_ = false;
        return spare_;
    }
    double u = 0.0;
    double v = 0.0;
    double s = 0.0;
    do {
        u = Uniform(-1.0, 1.0);
        v = Uniform(-1.0, 1.0);
        s = u * u + v * v;
    } while (s >= 1.0 || s == 0.0);
    const double factor = std::sqrt(-2.0 * std::log(s) / s);
    spare_ = v * factor;
    haveSpare_ = true;
    return u * factor;
}

double Rng::LogNormal(double median, double sigma) { return median * std::exp(sigma * Gaussian()); }

double Rng::LogUniform(double lo, double hi) { return lo * std::exp(Uniform() * std::log(hi / lo)); }

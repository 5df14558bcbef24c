#pragma once

#include <cstdint>

// A small deterministic random number generator (xoshiro256**, seeded through
// splitmix64). Every draw is computed by our own code from 64-bit integer
// arithmetic, so a seed gives the same data set on every platform and with
// every standard library.
class Rng {
public:
    // `stream` separates independent parts of the simulation: changing how
    // many draws one part makes (say, more tested pairs) leaves the draws of
    // the other parts (the proteins) untouched.
    Rng(std::uint64_t seed, std::uint64_t stream);

    std::uint64_t Next();
    // Uniform in [0, 1), 53 random bits.
    double Uniform();
    // Uniform in [lo, hi).
    double Uniform(double lo, double hi);
    // Uniform integer in [0, n); n must be positive.
    std::uint64_t Below(std::uint64_t n);
    // True with probability p.
    bool Bernoulli(double p);
    // Standard normal draw (Marsaglia's polar method).
    double Gaussian();
    // exp of a normal draw: a positive, right-skewed size with the given median.
    double LogNormal(double median, double sigma);
    // Log-uniform in [lo, hi): every order of magnitude equally likely.
    double LogUniform(double lo, double hi);

private:
    std::uint64_t s_[4];
    bool haveSpare_ = false;
    double spare_ = 0.0;
};

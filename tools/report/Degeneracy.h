#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/report/RunInputs.h"
#include "tools/runfiles/NoiseRates.h"
#include "tools/runfiles/PredictionFile.h"

// Estimates a reader should not take at face value. A binary noise model
// whose rate reached 0 or 1 claims a source that never errs one way: every
// pair it observes is then judged as if the observation were certain, and
// the pairs such claims decide pile up at interaction probability exactly 1.
struct Degeneracy {
    std::vector<NoiseRate> rates; // learned rates within DEGENERATE_RATE of 0 or 1
    // Listed protein pairs whose probability of not interacting is exactly 0
    // (interaction probability exactly 1), and of them those with a
    // noise-free observation that rules out non-interaction: their 1 is the
    // data's, not an estimate's.
    std::size_t certain = 0;
    std::size_t explained = 0;

    bool Any() const { return !rates.empty() || certain > explained; }
    // What is degenerate, in one sentence without a final full stop; rates
    // with three significant digits as printf's %.3g writes them, for the
    // warning line, or as the page writes numbers.
    std::string Text() const;
    std::string PageText() const;

private:
    std::string Sentence(std::string (*number)(double)) const;
};

// `rates` are the binary models learned last (those the report shows).
Degeneracy FindDegeneracy(const std::vector<NoiseRate>& rates, const Predictions* predictions, const RunInputs& inputs);

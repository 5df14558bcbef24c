#pragma once

#include <vector>

#include "infer/InferPlan.h"
#include "model/NonBind.h"
#include "model/ProtMot.h"

// A forced non-binding setting translated to a plan: the one plan pair it
// touches, how many of that pair's leak variables are fixed at 0, and which
// of its binding variables are.
struct Forcing {
    int pair = -1; // plan pair, -1: nothing forced
    int numNBLeak = 0;
    std::vector<unsigned char> bits; // per binding variable of the pair, from its begin

    Forcing() = default;
    Forcing(const InferPlan& plan, const ProtMot& pm, const NonBind& nb);

    bool Fixed(int v) const { return bits[v] != 0; }
};

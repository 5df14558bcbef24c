#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/runfiles/ModelStates.h"
#include "tools/runfiles/RunLog.h"

// A learned binary model's prob0 this close to 0 or 1 is degenerate: the
// source it stands for would never err one way, and every pair it observes
// is then judged as if its observation were certain.
constexpr double DEGENERATE_RATE = 1e-6;

// The error rate of one learned binary observation model.
struct NoiseRate {
    std::string set;    // "protein-protein" or "domain-domain"
    int model = 0;      // position, as the log numbers models
    int state = -1;     // the state it serves: 0, 1, or -1 (both, or unknown)
    LoggedNumber prob0; // chance of observing 0, as the log writes it

    // The false-positive rate 1 - prob0 for a model of state 0, the
    // false-negative rate prob0 for state 1, else the chance of observing 1.
    double Rate() const;
    // "false-positive rate", "false-negative rate" or "chance of observing 1".
    std::string RateName() const;
    // The pairs it observes in words: "non-interacting pairs", "binding
    // motif pairs", or "state not known" (named for both states, or none).
    std::string Serves() const;
    bool Degenerate() const;
};

// The binary models of one dumped set, in log order, each with the state
// `states` names it for. `set` is "protein-protein" or "domain-domain".
std::vector<NoiseRate> BinaryRates(const LoggedModelSet& models, const std::string& set,
                                   const std::map<int, ModelState>& states);

// "protein-protein model 0 false-positive rate 0.0197, model 1 false-negative
// rate 0.301; domain-domain model 0 ...": the rates of one phase, rates with
// three significant digits; "none" for no binary model.
std::string RatesText(const std::vector<NoiseRate>& rates);

#pragma once

#include <functional>
#include <ostream>

#include "infer/ParamSet.h"

// Training checks the log joint after every NUMITERCHECK-th round; the
// perturbation analyses re-converge checking after every round. EM stops
// when the log joint improved by less than IMPROVETHRESH.
constexpr int NUMITERCHECK = 3;
constexpr int PERTITERCHECK = 1;
constexpr double IMPROVETHRESH = 0.01;

// Called after every check with the rounds run so far and the log joint.
using CheckWatch = std::function<void(int rounds, double joint)>;

// Repeats EM rounds, checking the log joint after every `checkEvery`-th
// round, until it improves by less than IMPROVETHRESH (a decrease included)
// or is not finite. Writes its progress to `outFile`, mixture learning to
// `mixLog`, and returns the number of rounds run, a multiple of `checkEvery`.
// The set's cache then holds the log joint of the final state.
int RunEM(ParamSet& ps, std::ostream& outFile, std::ostream& mixLog, int checkEvery = NUMITERCHECK,
          const CheckWatch& watch = {});

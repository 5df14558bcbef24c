#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "infer/InferPlan.h"
#include "infer/ParamSet.h"
#include "model/ProtMot.h"
#include "perturb/Candidates.h"

// The trained model as the analyses see it: read only, so that cycles can run
// side by side. `plan` and `ps` include the domain-domain evidence; `jprob`
// is the log joint of `ps`.
struct Trained {
    const ProtMot& pm;
    const InferPlan& plan;
    const ParamSet& ps;
};

// What a cycle measures of its working copy: once as perturbed, once after
// EM re-converged. Log joints are absolute, not yet differences.
struct CycleMeasure {
    double nonInter = 0.0; // the pair's non-interaction probability
    double joint = 0.0;    // log joint
    double positive = 0.0; // log joint of the positive observations
};

// The numbers one cycle records. Which fields an analysis fills is fixed by
// its kind: -p 1 all but the positive log joints, -p 2 the log joints and
// the rounds, -p 3 those of -p 1 but the leak counts.
struct CycleRecord {
    int numLeak = 0;
    int numNBLeak = 0;
    CycleMeasure forced, reconverged;
    int rounds = 0;
    // Mixture learning's progress lines printed while EM re-converged.
    std::string mixLog;
};

// The working copy one thread's cycles use, one after the other, so that its
// memory is taken once.
struct CycleWork {
    std::optional<ParamSet> ps;
    std::optional<InferPlan> plan;
};

// The cycles of the analyses, on a working copy of the trained parameters:
// the copy is perturbed as `c` says and measured, EM re-converges on it
// (its log goes to `sink`, mixture learning to `mixLog`) and it is measured
// again. The trained model is not changed.

// Forces one motif against the partner protein (mot2 = -1) or one binding
// variable non-binding.
CycleRecord ForceCycle(const Trained& t, const Candidate& c, CycleWork& work, std::ostream& sink, std::ostream& mixLog);

// Removes the motif-type pair from the active pairs everywhere. A pair that
// is not active leaves the plan as it is.
CycleRecord TypeCycle(const Trained& t, const Candidate& c, CycleWork& work, std::ostream& sink, std::ostream& mixLog);

struct AnalysisKind;

// One cycle of analysis `a`, its EM log discarded and its mixture progress
// kept in the record.
CycleRecord RunCycle(const AnalysisKind& a, const Trained& t, const Candidate& c, CycleWork& work);

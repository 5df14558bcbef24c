#pragma once

#include <istream>
#include <ostream>
#include <vector>

#include "model/ProtInter.h"
#include "model/ProtMot.h"
#include "perturb/Candidates.h"
#include "perturb/Cycle.h"
#include "perturb/CycleFormat.h"

// One of the what-if analyses, described once: how its candidates come from
// the binding-pairs list, what a cycle does to a working copy of the trained
// model, how its lines read in the log, and whether that list also names the
// protein pairs of the binding predictions.
struct AnalysisKind {
    // Lists the cycles from the binding-pairs list, in the order they run;
    // `pertSize` (-1: no bound) limits the motif ids perturbed.
    std::vector<Candidate> (*candidates)(const ProtMot& pm, const ProtInter& pi, std::istream& list, int pertSize);
    // Perturbs and measures the working copy, re-converges EM on it (its EM
    // log goes to `sink`) and measures again.
    CycleRecord (*cycle)(const Trained& t, const Candidate& c, CycleWork& work, std::ostream& sink,
                         std::ostream& mixLog);
    // The lines of one cycle.
    const CycleLayout& layout;
    // The list names protein pairs, whose binding variables the prediction
    // file shows too; otherwise it names motif pairs for the analysis alone.
    bool bindingPredictions;
};

// -p 1: one motif of a protein forced non-binding with the whole partner.
extern const AnalysisKind MOTIF_PROTEIN_ANALYSIS;
// -p 2: a pair of motif types removed from the active pairs everywhere.
extern const AnalysisKind MOTIF_TYPES_ANALYSIS;
// -p 3: a single binding variable forced non-binding.
extern const AnalysisKind MOTIF_PAIR_ANALYSIS;

// The analysis that -p `perType` asks for; none for values other than 1 to 3.
const AnalysisKind* AnalysisOf(int perType);

// Whether the run writes the binding predictions: the binding-pairs list
// names protein pairs unless analysis `a` reads it as motif pairs.
inline bool WritesBindingPredictions(const AnalysisKind* a) { return !a || a->bindingPredictions; }

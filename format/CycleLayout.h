#pragma once

#include <span>
#include <string_view>

// The log lines of one perturbation cycle. Each line is its label, a tab,
// the ids of what the cycle forced non-binding (the same on every line of
// the cycle), then its values, all tab-separated.

// An id a cycle line starts with.
enum class CycleId { Protein1, Motif1, Protein2, Motif2 };

// A value a cycle line shows after the ids. Log joints are shown as their
// difference from the log joint of the trained model, except the positive
// likelihoods of -p 2: the log likelihood of the noise-free positive
// observations itself.
enum class CycleValue {
    NumLeak,                     // leak variables of the protein pair
    NumNBLeak,                   // of them, forced non-binding
    NumActLeak,                  // the others: NumLeak - NumNBLeak
    NonInteractionForced,        // the pair's non-interaction probability, forced
    LikelihoodChangeForced,      // change of the log joint by the forcing alone
    PositiveLikelihoodForced,    // forced
    Rounds,                      // EM rounds to re-converge under the forcing
    NonInteractionReconverged,   // after EM re-converged
    LikelihoodChangeReconverged, // the cycle's effect
    PositiveLikelihoodReconverged,
};

struct CycleLine {
    std::string_view label; // up to the tab that ends it
    std::span<const CycleValue> values;
};

struct CycleLayout {
    std::span<const CycleId> ids;
    std::span<const CycleLine> lines; // in the order a cycle writes them
};

// -p 1: an active motif of a protein with every motif of a partner. Its
// first line is the SetNonBind line with the leak counts.
extern const CycleLayout MOTIF_PROTEIN_CYCLE;
// -p 2: a pair of motif types on every protein pair.
extern const CycleLayout MOTIF_TYPES_CYCLE;
// -p 3: a motif of a protein with a motif of a partner. Its labels are those
// of -p 1 with an extra Mot2; the extra id column tells them apart.
extern const CycleLayout MOTIF_PAIR_CYCLE;

// The layout of analysis `analysis` (the -p value), or none.
const CycleLayout* CycleLayoutOf(int analysis);

// Names of ids and values in the helpers' tables.
std::string_view CycleIdName(CycleId id);
std::string_view CycleValueName(CycleValue v);

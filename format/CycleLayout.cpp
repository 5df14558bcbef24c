#include "format/CycleLayout.h"

namespace {

using V = CycleValue;

constexpr CycleId PROTEIN_IDS[] = {CycleId::Protein1, CycleId::Motif1, CycleId::Protein2};
constexpr CycleId TYPE_IDS[] = {CycleId::Motif1, CycleId::Motif2};
constexpr CycleId PAIR_IDS[] = {CycleId::Protein1, CycleId::Motif1, CycleId::Protein2, CycleId::Motif2};

constexpr V LEAKS[] = {V::NumLeak, V::NumNBLeak, V::NumActLeak};
constexpr V NON_INTER_FORCED[] = {V::NonInteractionForced};
constexpr V CHANGE_FORCED[] = {V::LikelihoodChangeForced};
constexpr V POSITIVE_FORCED[] = {V::PositiveLikelihoodForced};
constexpr V ROUNDS[] = {V::Rounds};
constexpr V NON_INTER_RECONVERGED[] = {V::NonInteractionReconverged};
constexpr V CHANGE_RECONVERGED[] = {V::LikelihoodChangeReconverged};
constexpr V POSITIVE_RECONVERGED[] = {V::PositiveLikelihoodReconverged};

constexpr CycleLine PROTEIN_LINES[] = {
    // The third id is the partner protein, whatever the label says.
    {"*** SetNonBind (prot1, mot1, prob2, numLeak, numNBLeak, numActLeak):", LEAKS},
    {"*** Non-interaction probability after forcing an active motif and a protein to be non-binding (Prot1, Mot1, "
     "Prot2, Prob):",
     NON_INTER_FORCED},
    {"*** Likelihood change after forcing an active motif and a protein to be non-binding (Prot1, Mot1, Prot2, "
     "Prob):",
     CHANGE_FORCED},
    {"*** Total # EM round (Prot1, Mot1, Prot2, EM):", ROUNDS},
    {"*** Non-interaction probability after reconverge (Prot1, Mot1, Prot2, Prob):", NON_INTER_RECONVERGED},
    {"*** Likelihood change after reconverge (Prot1, Mot1, Prot2, Prob):", CHANGE_RECONVERGED},
};

constexpr CycleLine TYPE_LINES[] = {
    {"*** Likelihood change after forcing a pair of motif types to be non-binding (Mot1, Mot2, Prob):", CHANGE_FORCED},
    {"*** Positive likelihood after forcing a pair of motif types to be non-binding (Mot1, Mot2, Prob):",
     POSITIVE_FORCED},
    {"*** Total # EM round (Mot1, Mot2, EM):", ROUNDS},
    {"*** Likelihood change after reconverge (Mot1, Mot2, Prob):", CHANGE_RECONVERGED},
    {"*** Positive likelihood after reconverge (Mot1, Mot2, Prob):", POSITIVE_RECONVERGED},
};

constexpr CycleLine PAIR_LINES[] = {
    {"*** Non-interaction probability after forcing an active motif and a protein to be non-binding (Prot1, Mot1, "
     "Prot2, Mot2, Prob):",
     NON_INTER_FORCED},
    {"*** Likelihood change after forcing an active motif and a protein to be non-binding (Prot1, Mot1, Prot2, "
     "Mot2, Prob):",
     CHANGE_FORCED},
    {"*** Total # EM round (Prot1, Mot1, Prot2, Mot2, EM):", ROUNDS},
    {"*** Non-interaction probability after reconverge (Prot1, Mot1, Prot2, Mot2, Prob):", NON_INTER_RECONVERGED},
    {"*** Likelihood change after reconverge (Prot1, Mot1, Prot2, Mot2, Prob):", CHANGE_RECONVERGED},
};

} // namespace

constexpr CycleLayout MOTIF_PROTEIN_CYCLE = {PROTEIN_IDS, PROTEIN_LINES};
constexpr CycleLayout MOTIF_TYPES_CYCLE = {TYPE_IDS, TYPE_LINES};
constexpr CycleLayout MOTIF_PAIR_CYCLE = {PAIR_IDS, PAIR_LINES};

const CycleLayout* CycleLayoutOf(int analysis)
{
    switch (analysis) {
    case 1:
        return &MOTIF_PROTEIN_CYCLE;
    case 2:
        return &MOTIF_TYPES_CYCLE;
    case 3:
        return &MOTIF_PAIR_CYCLE;
    default:
        return nullptr;
    }
}

std::string_view CycleIdName(CycleId id)
{
    switch (id) {
    case CycleId::Protein1:
        return "protein_1";
    case CycleId::Motif1:
        return "motif_1";
    case CycleId::Protein2:
        return "protein_2";
    case CycleId::Motif2:
        return "motif_2";
    }
    return {};
}

std::string_view CycleValueName(CycleValue v)
{
    switch (v) {
    case V::NumLeak:
        return "num_leak";
    case V::NumNBLeak:
        return "num_nb_leak";
    case V::NumActLeak:
        return "num_act_leak";
    case V::NonInteractionForced:
        return "non_interaction_forced";
    case V::LikelihoodChangeForced:
        return "likelihood_change_forced";
    case V::PositiveLikelihoodForced:
        return "positive_likelihood_forced";
    case V::Rounds:
        return "em_rounds";
    case V::NonInteractionReconverged:
        return "non_interaction_reconverged";
    case V::LikelihoodChangeReconverged:
        return "likelihood_change_reconverged";
    case V::PositiveLikelihoodReconverged:
        return "positive_likelihood_reconverged";
    }
    return {};
}

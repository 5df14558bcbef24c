#include "perturb/AnalysisKind.h"

const AnalysisKind MOTIF_PROTEIN_ANALYSIS{MotifProteinCandidates, ForceCycle, MOTIF_PROTEIN_CYCLE, true};
const AnalysisKind MOTIF_TYPES_ANALYSIS{MotifTypeCandidates, TypeCycle, MOTIF_TYPES_CYCLE, false};
const AnalysisKind MOTIF_PAIR_ANALYSIS{MotifPairCandidates, ForceCycle, MOTIF_PAIR_CYCLE, true};

const AnalysisKind* AnalysisOf(int perType)
{
    switch (perType) {
    case 1:
        return &MOTIF_PROTEIN_ANALYSIS;
    case 2:
        return &MOTIF_TYPES_ANALYSIS;
    case 3:
        return &MOTIF_PAIR_ANALYSIS;
    default:
        return nullptr;
    }
}

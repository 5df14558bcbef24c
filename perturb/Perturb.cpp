#include "perturb/Perturb.h"

#include "infer/InferPlan.h"
#include "infer/Likelihood.h"
#include "infer/ParamSet.h"
#include "perturb/Analysis.h"

namespace {

void Analyse(const AnalysisKind& a, const ProtMot& pm, const ProtInter& pi, const MotInterPot& mip,
             const MotInterPot& micp, const ObsModel& om, const ObsModel& dm, const ProtInter& di,
             std::ostream& outFile, std::istream& predbindFile, double jprob, int pertSize, std::ostream& mixLog)
{
    const InferPlan plan(pm, pi, micp, di);
    ParamSet ps(plan, mip, micp, ObsModel(om), ObsModel(dm));
    // The pair terms of the trained model, which every cycle's copy shares.
    LogJointProb(ps, 0);
    const auto cands = a.candidates(pm, pi, predbindFile, pertSize);
    RunCycles(a, Trained{pm, plan, ps}, cands, jprob, outFile, mixLog, 1);
}

} // namespace

void PertPair(const ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp,
              const ObsModel& om, const ObsModel& dm, const ProtInter& di, std::ostream& outFile,
              std::istream& predbindFile, double jprob, int pertSize, std::ostream& mixLog)
{
    Analyse(MOTIF_PROTEIN_ANALYSIS, pm, pi, mip, micp, om, dm, di, outFile, predbindFile, jprob, pertSize, mixLog);
}

void PerTypes(const ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp,
              const ObsModel& om, const ObsModel& dm, const ProtInter& di, std::ostream& outFile,
              std::istream& predbindFile, double jprob, int pertSize, std::ostream& mixLog)
{
    Analyse(MOTIF_TYPES_ANALYSIS, pm, pi, mip, micp, om, dm, di, outFile, predbindFile, jprob, pertSize, mixLog);
}

void PertMot2(const ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp,
              const ObsModel& om, const ObsModel& dm, const ProtInter& di, std::ostream& outFile,
              std::istream& predbindFile, double jprob, int pertSize, std::ostream& mixLog)
{
    Analyse(MOTIF_PAIR_ANALYSIS, pm, pi, mip, micp, om, dm, di, outFile, predbindFile, jprob, pertSize, mixLog);
}

#include "perturb/Perturb.h"

#include "infer/InferPlan.h"
#include "infer/Likelihood.h"
#include "infer/ParamSet.h"
#include "perturb/Analysis.h"

namespace {

void Analyse(int perType, const ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp,
             const ObsModel& om, const ObsModel& dm, const ProtInter& di, std::ostream& outFile,
             std::istream& predbindFile, double jprob, int pertSize, std::ostream& mixLog)
{
    const InferPlan plan(pm, pi, micp, di);
    ParamSet ps(plan, mip, micp, ObsModel(om), ObsModel(dm));
    // The pair terms of the trained model, which every cycle's copy shares.
    LogJointProb(ps, 0);
    const auto cands = ReadCandidates(perType, pm, pi, predbindFile, pertSize);
    RunCycles(perType, Trained{pm, plan, ps}, cands, jprob, outFile, mixLog, 1);
}

} // namespace

void PertPair(const ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp,
              const ObsModel& om, const ObsModel& dm, const ProtInter& di, std::ostream& outFile,
              std::istream& predbindFile, double jprob, int pertSize, std::ostream& mixLog)
{
    Analyse(1, pm, pi, mip, micp, om, dm, di, outFile, predbindFile, jprob, pertSize, mixLog);
}

void PerTypes(const ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp,
              const ObsModel& om, const ObsModel& dm, const ProtInter& di, std::ostream& outFile,
              std::istream& predbindFile, double jprob, int pertSize, std::ostream& mixLog)
{
    Analyse(2, pm, pi, mip, micp, om, dm, di, outFile, predbindFile, jprob, pertSize, mixLog);
}

void PertMot2(const ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp,
              const ObsModel& om, const ObsModel& dm, const ProtInter& di, std::ostream& outFile,
              std::istream& predbindFile, double jprob, int pertSize, std::ostream& mixLog)
{
    Analyse(3, pm, pi, mip, micp, om, dm, di, outFile, predbindFile, jprob, pertSize, mixLog);
}

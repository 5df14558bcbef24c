#include "infer/ModelSteps.h"

#include "infer/EMRound.h"
#include "infer/Likelihood.h"

namespace {

// A plan and a parameter set over copies of the objects' parameters.
struct Session {
    InferPlan plan;
    ParamSet ps;

    Session(const ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp, const ObsModel& om,
            const ObsModel& dm, const ProtInter& di)
        : plan(pm, pi, micp, di), ps(plan, mip, micp, ObsModel(om), ObsModel(dm))
    {
        ps.Force(Forcing(plan, pm, pm.GetNonBind()));
    }

    void WriteBack(MotInterPot& mip, MotInterPot& micp, ObsModel& om, ObsModel& dm)
    {
        ps.Scatter(mip, micp);
        om = ps.TakeOm();
        dm = ps.TakeDm();
    }
};

} // namespace

double AlNonInterProb(const ProtMot& pm, const ProtInter& pi, const MotInterPot& pot, int prot1, int prot2)
{
    const ProtInter noDdi(pi.GetNumProt());
    const InferPlan plan(pm, pi, pot, noDdi);
    const ParamSet ps(plan, pot, pot, ObsModel(), ObsModel());
    return AlNonInterProb(pm, pm.GetNonBind(), ps, prot1, prot2);
}

double LogJointProb(const ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp,
                    const ObsModel& om, const ObsModel& dm, const ProtInter& di, int part)
{
    Session s(pm, pi, mip, micp, om, dm, di);
    return LogJointProb(s.ps, part);
}

void EnM1Step(const ProtMot& pm, MotInterPot& mip, const MotInterPot& micp, const ProtInter& pi, ObsModel& om,
              ObsModel& dm, const ProtInter& di)
{
    Session s(pm, pi, mip, micp, om, dm, di);
    EnM1Step(s.ps);
    MotInterPot unused(micp);
    s.WriteBack(mip, unused, om, dm);
}

void EMStep(const ProtMot& pm, MotInterPot& mip, MotInterPot& micp, const ProtInter& pi, ObsModel& om, ObsModel& dm,
            const ProtInter& di, std::ostream& mixLog)
{
    Session s(pm, pi, mip, micp, om, dm, di);
    EMStep(s.ps, mixLog);
    s.WriteBack(mip, micp, om, dm);
}

int RunEM(const ProtMot& pm, const ProtInter& pi, MotInterPot& mip, MotInterPot& micp, ObsModel& om, ObsModel& dm,
          const ProtInter& di, std::ostream& outFile, std::ostream& mixLog, int checkEvery)
{
    Session s(pm, pi, mip, micp, om, dm, di);
    const int rounds = RunEM(s.ps, outFile, mixLog, checkEvery);
    s.WriteBack(mip, micp, om, dm);
    return rounds;
}

#include "perturb/Cycle.h"

#include <sstream>

#include "infer/EMDriver.h"
#include "infer/Likelihood.h"
#include "perturb/AnalysisKind.h"

namespace {

// The working copy of the trained set over `plan`.
ParamSet& WorkingCopy(const ParamSet& trained, const InferPlan& plan, CycleWork& work)
{
    if (work.ps)
        work.ps->Assign(trained, plan);
    else
        work.ps.emplace(trained, plan);
    return *work.ps;
}

} // namespace

CycleRecord ForceCycle(const Trained& t, const Candidate& c, CycleWork& work, std::ostream& sink, std::ostream& mixLog)
{
    CycleRecord r;
    const NonBind nb = t.pm.MakeNonBind(c.prot1, c.prot2, c.mot1, c.mot2);
    r.numLeak = t.pm.NumLeak(c.prot1, c.prot2);
    r.numNBLeak = t.pm.NumNBLeak(nb, c.prot1, c.prot2);
    ParamSet& w = WorkingCopy(t.ps, t.plan, work);
    w.Force(Forcing(t.plan, t.pm, nb));
    r.forced.nonInter = AlNonInterProb(t.pm, nb, w, c.prot1, c.prot2);
    r.forced.joint = LogJointProb(w, 0);
    r.rounds = RunEM(w, sink, mixLog, PERTITERCHECK);
    r.reconverged.nonInter = AlNonInterProb(t.pm, nb, w, c.prot1, c.prot2);
    r.reconverged.joint = LogJointProb(w, 0);
    return r;
}

CycleRecord TypeCycle(const Trained& t, const Candidate& c, CycleWork& work, std::ostream& sink, std::ostream& mixLog)
{
    CycleRecord r;
    const InferPlan* plan = &t.plan;
    const int s = t.plan.SlotOf(MotInterPot::Index(c.mot1, c.mot2));
    if (s >= 0) {
        if (work.plan)
            *work.plan = t.plan;
        else
            work.plan.emplace(t.plan);
        work.plan->RemoveSlot(s);
        plan = &*work.plan;
    }
    ParamSet& w = WorkingCopy(t.ps, *plan, work);
    r.forced.joint = LogJointProb(w, 0);
    r.forced.positive = LogJointProb(w, 1);
    r.rounds = RunEM(w, sink, mixLog, PERTITERCHECK);
    r.reconverged.joint = LogJointProb(w, 0);
    r.reconverged.positive = LogJointProb(w, 1);
    return r;
}

CycleRecord RunCycle(const AnalysisKind& a, const Trained& t, const Candidate& c, CycleWork& work)
{
    std::ostream sink(nullptr); // the EM log of a re-convergence is not kept
    std::ostringstream mixLog;
    CycleRecord r = a.cycle(t, c, work, sink, mixLog);
    r.mixLog = mixLog.str();
    return r;
}

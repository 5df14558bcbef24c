#include "perturb/WorkCopy.h"

#include "infer/EMDriver.h"
#include "infer/Likelihood.h"
#include "model/Globals.h"

WorkCopy::WorkCopy(TrainedModel& tm) : mip(tm.mip), om(tm.om), micp(tm.micp), dm(tm.dm), t(tm)
{
    g_curjProbChange = 1;
    t.om.SetDirty();
    om.SetDirty();
    t.dm.SetDirty();
    dm.SetDirty();
}

WorkCopy::~WorkCopy() { g_curjProbChange = 1; }

double WorkCopy::NonInter(int prot1, int prot2) const { return AlNonInterProb(t.pm, micp, prot1, prot2); }

double WorkCopy::LogJoint(int part)
{
    return LogJointProb(t.pm, t.pi, mip, micp, om, dm, t.di, t.outFile, part);
}

int WorkCopy::Reconverge(std::ostream& sink) { return RunEM(t.pm, t.pi, mip, micp, om, dm, t.di, sink); }

bool ObservedPair(const TrainedModel& t, int a, int b)
{
    const int n = t.pm.GetNumProt();
    if (a < 0 || a >= n || b < 0 || b >= n)
        return false;
    return t.pi.IsInter(a, b);
}

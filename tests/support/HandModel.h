#pragma once

#include <memory>
#include <sstream>

#include "dist/Distribution.h"
#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/Prior.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"

namespace testutil {

// The model objects of a small hand-worked example, built a step at a time;
// each step is one call on the objects, in the order given, so that the
// suites' expected values stay those of the calls written out.
struct HandModel {
    ProtMot pm;
    ProtInter pi, di;      // observed protein pairs and DDI lists
    MotInterPot mip, micp; // affinities, unconditioned and conditioned
    ObsModel om, dm;       // observation models and DDI models
    std::ostringstream log, mixLog;

    HandModel(int prots, int mots) : pm(prots, mots), pi(prots), di(prots), mip(mots), micp(mots) {}

    HandModel& Leak(int type, int group = -1); // leak variable type (and group)
    HandModel& LeakProb(double leak)
    {
        mip.SetLeak(leak);
        return *this;
    }
    HandModel& WithPrior(const Prior& p)
    {
        mip.SetPrior(p);
        return *this;
    }
    HandModel& Protein(int p, int len, int cover); // length and motif coverage
    HandModel& Motif(int p, int m, int len)
    {
        pm.AddMot(p, m, len);
        return *this;
    }
    HandModel& Active(int a, int b, double theta)
    {
        mip.AddPot(a, b, theta);
        return *this;
    }
    HandModel& Observed(int a, int b, double val, int id0, int id1);
    HandModel& Ddi(int a, int b, double val, int id0, int id1);
    HandModel& Binary(double p0);                        // the next observation model
    HandModel& DdiBinary(double p0);                     // the next DDI model
    HandModel& ObsDist(std::unique_ptr<Distribution> d); // the next observation model, any kind
    // The conditioned affinities: a copy of the unconditioned ones, then
    // single ones changed.
    HandModel& Condition()
    {
        micp = mip;
        return *this;
    }
    HandModel& Conditioned(int a, int b, double theta)
    {
        micp.SetPot(a, b, theta);
        return *this;
    }

    // The log joint on the model objects (part 0: all with the prior).
    double Joint(int part = 0) const;
};

} // namespace testutil

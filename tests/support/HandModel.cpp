#include "support/HandModel.h"

#include "dist/SimpleDists.h"
#include "infer/ModelSteps.h"

namespace testutil {

HandModel& HandModel::Leak(int type, int group)
{
    pm.SetLeakType(type);
    if (group >= 0)
        pm.SetLeakGroup(group);
    return *this;
}

HandModel& HandModel::Protein(int p, int len, int cover)
{
    pm.AddProtLen(p, len);
    pm.AddMotCover(p, cover);
    return *this;
}

HandModel& HandModel::Observed(int a, int b, double val, int id0, int id1)
{
    pi.AddInter(a, b, val, id0, id1);
    return *this;
}

HandModel& HandModel::Ddi(int a, int b, double val, int id0, int id1)
{
    di.AddInter(a, b, val, id0, id1);
    return *this;
}

HandModel& HandModel::Binary(double p0)
{
    om.AddDist(std::make_unique<BinaryDist>(p0));
    return *this;
}

HandModel& HandModel::DdiBinary(double p0)
{
    dm.AddDist(std::make_unique<BinaryDist>(p0));
    return *this;
}

HandModel& HandModel::ObsDist(std::unique_ptr<Distribution> d)
{
    om.AddDist(std::move(d));
    return *this;
}

double HandModel::Joint(int part) const { return LogJointProb(pm, pi, mip, micp, om, dm, di, part); }

} // namespace testutil

#include "infer/ParamSet.h"

#include <stdexcept>

ParamSet::ParamSet(const InferPlan& pl, const MotInterPot& mip, const MotInterPot& micp, ObsModel o, ObsModel d)
    : plan(&pl), leak(mip.GetLeak()), leakC(micp.GetLeak()), om(std::move(o)), dm(std::move(d))
{
    const int n = pl.NumSlots();
    if (mip.GetActPair().size() != std::size_t(n) || micp.GetActPair().size() != std::size_t(n))
        throw std::logic_error("the potentials do not match the plan's active pairs");
    theta.resize(n);
    thetaC.resize(n);
    int s = 0;
    for (const auto& [k, aff] : micp.GetActPair()) {
        if (pl.Key(s) != k)
            throw std::logic_error("the potentials do not match the plan's active pairs");
        thetaC[s++] = aff;
    }
    s = 0;
    for (const auto& [k, aff] : mip.GetActPair()) {
        if (pl.Key(s) != k)
            throw std::logic_error("the two potentials hold different active pairs");
        theta[s++] = aff;
    }
}

ParamSet::ParamSet(const ParamSet& other, const InferPlan& pl) : ParamSet(other)
{
    if (pl.NumSlots() != other.plan->NumSlots())
        throw std::logic_error("the plan does not have the parameters' slots");
    plan = &pl;
    fresh = false;
}

void ParamSet::Assign(const ParamSet& other, const InferPlan& pl)
{
    if (pl.NumSlots() != other.plan->NumSlots())
        throw std::logic_error("the plan does not have the parameters' slots");
    theta = other.theta;
    thetaC = other.thetaC;
    leak = other.leak;
    leakC = other.leakC;
    om.Assign(other.om);
    dm.Assign(other.dm);
    forcing = other.forcing;
    joint = other.joint;
    fresh = other.fresh && &pl == other.plan;
    plan = &pl;
    scratch.pairsFresh = false;
}

void ParamSet::Force(Forcing f)
{
    forcing = std::move(f);
    fresh = false;
    scratch.pairsFresh = false;
}

void ParamSet::Scratch::Release()
{
    for (auto* v : {&oneMinusC, &ratioSum, &ddiP0, &ddiTerm, &leakPow, &q, &p0, &p1})
        std::vector<double>().swap(*v);
    pairsFresh = false;
}

void ParamSet::ReleaseWork()
{
    scratch.Release();
    om.ReleaseStat();
    dm.ReleaseStat();
}

void ParamSet::Scatter(MotInterPot& mip, MotInterPot& micp) const
{
    for (int s = 0; s < plan->NumSlots(); ++s) {
        if (plan->Live(s)) {
            mip.SetPotIndex(plan->Key(s), theta[s]);
            micp.SetPotIndex(plan->Key(s), thetaC[s]);
        } else {
            mip.DelPotIndex(plan->Key(s));
            micp.DelPotIndex(plan->Key(s));
        }
    }
    mip.SetLeak(leak);
    micp.SetLeak(leakC);
}

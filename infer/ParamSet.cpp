#include "infer/ParamSet.h"

#include <cmath>
#include <stdexcept>

#include "infer/PairKernel.h"

ParamSet::ParamSet(const InferPlan& pl, const MotInterPot& mip, const MotInterPot& micp, ObsModel o, ObsModel d)
    : plan(&pl), leak(mip.GetLeak()), leakC(micp.GetLeak()), prior(mip.GetPrior()), om(std::move(o)), dm(std::move(d))
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
    // Pair terms hold for the plan they were made over.
    if (&pl != plan)
        terms.reset();
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
    prior = other.prior;
    om.Assign(other.om);
    dm.Assign(other.dm);
    forcing = other.forcing;
    estimator = other.estimator;
    joint = other.joint;
    const bool same = &pl == other.plan;
    fresh = other.fresh && same;
    terms = same ? other.terms : nullptr;
    plan = &pl;
    scratch.factorsFresh = false;
    scratch.cellsFresh = false;
}

void ParamSet::SetEstimator(DdiEstimator e)
{
    estimator = e;
    if (e == DdiEstimator::SharedState) {
        thetaC = theta;
        leakC = leak;
    }
    Changed();
}

void ParamSet::Force(Forcing f)
{
    forcing = std::move(f);
    fresh = false;
}

void ParamSet::Changed()
{
    fresh = false;
    terms.reset();
    scratch.factorsFresh = false;
    scratch.cellsFresh = false;
}

void ParamSet::Scratch::Release()
{
    for (auto* v : {&oneMinusC, &leakPow, &cells, &ratioSum, &ratio})
        std::vector<double>().swap(*v);
    std::vector<unsigned char>().swap(usable);
    factorsFresh = false;
    cellsFresh = false;
    own.reset();
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
    mip.SetPrior(prior);
    micp.SetPrior(prior);
}

void ParamSet::EnsureFactors()
{
    if (scratch.factorsFresh)
        return;
    PrepareFactors(*plan, thetaC, leakC, scratch.oneMinusC, scratch.leakPow);
    scratch.factorsFresh = true;
}

const double* ParamSet::EnsureCells()
{
    if (!scratch.cellsFresh) {
        scratch.cells.resize(std::size_t(plan->NumCells()));
        plan->EvalCells(om, scratch.cells.data());
        scratch.cellsFresh = true;
    }
    return scratch.cells.data();
}

PairTerms& ParamSet::OwnTerms()
{
    // Filled in place unless a copy still reads the last ones.
    if (!scratch.own || scratch.own.use_count() > 1)
        scratch.own = std::make_shared<PairTerms>();
    return *scratch.own;
}

void ParamSet::PairProbs(PairTerms& t)
{
    EnsureFactors();
    const double* cells = EnsureCells();
    const std::size_t np = std::size_t(plan->NumPairs());
    t.q.resize(np);
    t.p0.resize(np);
    t.p1.resize(np);
    AllPairProbs(*plan, scratch.oneMinusC.data(), scratch.leakPow, leakC, cells, t.q.data(), t.p0.data(), t.p1.data());
}

const PairTerms& ParamSet::EnsureTerms()
{
    if (terms)
        return *terms;
    PairTerms& t = OwnTerms();
    PairProbs(t);
    const int n = plan->NumSlots();
    const int np = plan->NumPairs();

    t.logTerm.resize(std::size_t(np) + std::size_t(n));
    for (int p = 0; p < np; ++p)
        t.logTerm[p] = std::log((1 - t.q[p]) * t.p1[p] + t.q[p] * t.p0[p]);

    // A free binding variable with a domain-domain list adds ln P(D), which
    // depends on its slot only.
    double* ddiTerm = t.logTerm.data() + np;
    t.ddiP0.resize(std::size_t(n));
    t.prior.resize(std::size_t(n));
    for (int s = 0; s < n; ++s) {
        ddiTerm[s] = 0.0;
        if (!plan->Live(s))
            continue;
        if (const InterList* d = plan->SlotDdi(s)) {
            const double p0 = dm.GetProb(0, *d);
            t.ddiP0[s] = p0;
            ddiTerm[s] = std::log((1 - theta[s]) * p0 + theta[s] * dm.GetProb(1, *d));
        }
        t.prior[s] = prior.aNeg * std::log(1 - theta[s]) + prior.aPos * std::log(theta[s]);
    }
    t.leakPrior = prior.aNeg * std::log(1 - leak) + prior.aPos * std::log(leak);
    terms = scratch.own;
    return t;
}

#pragma once

#include <ostream>
#include <vector>

#include "infer/Forcing.h"
#include "infer/InferPlan.h"
#include "model/MotInterPot.h"
#include "model/ObsModel.h"

class ParamSet;
double LogJointProb(ParamSet& ps, int part);
void EnM1Step(ParamSet& ps);
void EMStep(ParamSet& ps, std::ostream& mixLog);

// One set of working parameters over a compiled plan: the affinities of `mip`
// (theta) and of `micp` (conditioned on the domain-domain evidence, thetaC)
// as dense arrays indexed by slot, both leak probabilities, the two
// observation models, the forced non-binding setting, and the likelihood
// cache. The cache holds the complete log joint of exactly these parameters;
// every operation that changes them makes it stale, so it can never describe
// other objects. A copy is a cheap, independent working copy.
class ParamSet {
public:
    // The plan must have been compiled from the active pairs of `micp`; `mip`
    // must hold the same pairs.
    ParamSet(const InferPlan& plan, const MotInterPot& mip, const MotInterPot& micp, ObsModel om, ObsModel dm);
    // The same parameters over another plan with the same slots (a patched
    // copy of this set's plan); the cache starts stale.
    ParamSet(const ParamSet& other, const InferPlan& plan);
    ParamSet(const ParamSet&) = default;
    ParamSet& operator=(const ParamSet&) = delete;
    // Becomes a copy of `other` (over `plan`, which must have its slots),
    // keeping its own working memory: for a thread that works through many
    // copies one after the other.
    void Assign(const ParamSet& other) { Assign(other, *other.plan); }
    void Assign(const ParamSet& other, const InferPlan& plan);

    const InferPlan& Plan() const { return *plan; }
    double Theta(int s) const { return theta[s]; }
    double ThetaC(int s) const { return thetaC[s]; }
    double Leak() const { return leak; }
    double LeakC() const { return leakC; }
    const ObsModel& Om() const { return om; }
    const ObsModel& Dm() const { return dm; }
    const Forcing& GetForcing() const { return forcing; }

    // Replaces the forced setting.
    void Force(Forcing f);
    // Writes the affinities and leak probabilities back into the potentials:
    // every live slot gets its value, a removed one is erased.
    void Scatter(MotInterPot& mip, MotInterPot& micp) const;
    // Hands an observation model over; the set is not to be used afterwards.
    ObsModel TakeOm() { return std::move(om); }
    ObsModel TakeDm() { return std::move(dm); }

    bool Fresh() const { return fresh; }
    // Gives back the kernels' working memory and the room kept for the
    // observation statistics; the next step takes them again. For a set that
    // from now on is only copied.
    void ReleaseWork();

private:
    friend double LogJointProb(ParamSet& ps, int part);
    friend void EnM1Step(ParamSet& ps);
    friend void EMStep(ParamSet& ps, std::ostream& mixLog);

    const InferPlan* plan;
    std::vector<double> theta;
    std::vector<double> thetaC;
    double leak = 0.0;
    double leakC = 0.0;
    ObsModel om;
    ObsModel dm;
    Forcing forcing;

    double joint = 0.0;
    bool fresh = false;

    // Working memory of the kernels, sized on first use. A copy of the set
    // starts with empty scratch of its own: nothing in it outlives a step
    // except the pair terms, which describe only the set they were made for.
    struct Scratch {
        std::vector<double> oneMinusC; // per slot: 1 - thetaC
        std::vector<double> ratioSum;  // per slot: the E-step's ratio sum
        std::vector<double> ddiP0;     // per slot: P(D | B = 0)
        std::vector<double> ddiTerm;   // per slot: ln P(D)
        std::vector<double> leakPow;   // (1 - leakC)^n for small n
        // Per pair: Q, P0 and P1 as the last complete log joint found them.
        // Until the parameters change they are what the next E-step needs.
        std::vector<double> q, p0, p1;
        bool pairsFresh = false;

        Scratch() = default;
        Scratch(const Scratch&) {}
        Scratch& operator=(const Scratch&) = delete;
        void Release();
    };
    Scratch scratch;
};

#pragma once

#include <memory>
#include <ostream>
#include <vector>

#include "infer/Forcing.h"
#include "infer/InferPlan.h"
#include "model/MotInterPot.h"
#include "model/ObsModel.h"

// How the domain-domain list D(k) of a motif pair enters the model.
enum class DdiEstimator {
    // Every binding variable of the motif pair sees D(k) as evidence of its
    // own, and inference uses the affinities conditioned on it.
    PerVariable,
    // D(k) observes one binding state of the motif pair, whose prior is the
    // affinity: it enters the likelihood once, adds one expected count to the
    // affinity, and inference uses the affinities themselves.
    SharedState,
};

class ParamSet;
double LogJointProb(ParamSet& ps, int part);
void EnM1Step(ParamSet& ps);
void EMStep(ParamSet& ps, std::ostream& mixLog);

// The terms of the log joint of one parameter set with nothing forced. Per
// pair: Q, P0, P1 and ln((1 - Q) P1 + Q P0); per slot: P(D | B = 0) and
// ln P(D) of its domain-domain list, and its prior term; the leak's prior
// term. Each is the very value the log joint adds, so a sum over them in the
// log joint's order is that log joint. `logTerm` holds the pairs' terms,
// then the slots' ln P(D), as the plan's SumSeq numbers them; a slot that no
// longer takes part has the term +0, which leaves a sum unchanged.
struct PairTerms {
    std::vector<double> q, p0, p1;
    std::vector<double> logTerm;
    std::vector<double> ddiP0, prior;
    double leakPrior = 0.0;
};

// One set of working parameters over a compiled plan: the affinities of `mip`
// (theta) and of `micp` (conditioned on the domain-domain evidence, thetaC)
// as dense arrays indexed by slot, both leak probabilities, the prior of
// `mip` that their estimates and the log joint use, the two
// observation models, the forced non-binding setting, and the likelihood
// cache. The cache holds the complete log joint of exactly these parameters;
// every operation that changes them makes it stale, so it can never describe
// other objects. So do the pair terms of the last log joint, which copies
// share until they change their parameters: a copy that only forces a pair
// needs to recompute that pair alone. A copy is a cheap, independent working
// copy.
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
    const Prior& GetPrior() const { return prior; }
    const ObsModel& Om() const { return om; }
    const ObsModel& Dm() const { return dm; }
    const Forcing& GetForcing() const { return forcing; }
    DdiEstimator Estimator() const { return estimator; }
    // Chooses how the domain-domain evidence is learned from. With the
    // shared state the conditioned affinities become the affinities at once.
    void SetEstimator(DdiEstimator e);

    // Replaces the forced setting. The pair terms stay: they hold nothing
    // forced.
    void Force(Forcing f);
    // Writes the affinities and leak probabilities back into the potentials,
    // with the prior they were estimated under: every live slot gets its
    // value, a removed one is erased.
    void Scatter(MotInterPot& mip, MotInterPot& micp) const;
    // Hands an observation model over; the set is not to be used afterwards.
    ObsModel TakeOm() { return std::move(om); }
    ObsModel TakeDm() { return std::move(dm); }

    // Gives back the kernels' working memory and the room kept for the
    // observation statistics; the next step takes them again. The pair terms
    // stay, for the copies. For a set that from now on is only copied.
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
    Prior prior;
    ObsModel om;
    ObsModel dm;
    Forcing forcing;
    DdiEstimator estimator = DdiEstimator::PerVariable;

    double joint = 0.0;
    bool fresh = false;
    // The pair terms of exactly these parameters over this plan, or null.
    std::shared_ptr<const PairTerms> terms;

    // Working memory of the kernels, sized on first use. A copy of the set
    // starts with empty scratch of its own.
    struct Scratch {
        std::vector<double> oneMinusC; // per slot: 1 - thetaC
        std::vector<double> leakPow;   // (1 - leakC)^n for small n
        bool factorsFresh = false;     // both describe thetaC and leakC
        std::vector<double> cells;     // the plan's cells under om
        bool cellsFresh = false;
        std::vector<double> ratioSum; // per slot: the E-step's ratio sum
        // Per pair: the E-step's evidence ratio r, and whether its
        // observations are usable.
        std::vector<double> ratio;
        std::vector<unsigned char> usable;
        // The pair terms this set last computed, filled again in place while
        // no copy shares them.
        std::shared_ptr<PairTerms> own;

        Scratch() = default;
        Scratch(const Scratch&) {}
        Scratch& operator=(const Scratch&) = delete;
        void Release();
    };
    Scratch scratch;

    // The parameters changed: the cache, the pair terms and the factors no
    // longer describe them.
    void Changed();
    // 1 - thetaC per slot and the leak powers, for the current parameters.
    void EnsureFactors();
    // The plan's probability cells under the current `om`.
    const double* EnsureCells();
    // The pair terms of the current parameters, computed when missing.
    const PairTerms& EnsureTerms();
    // The pair terms buffer this set may fill.
    PairTerms& OwnTerms();
    // Q, P0 and P1 of every pair with nothing forced, into `t`.
    void PairProbs(PairTerms& t);
};

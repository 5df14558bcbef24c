#pragma once

#include <map>
#include <ostream>
#include <utility>

#include "model/Prior.h"
#include "model/ProtInter.h"

class ObsModel;

// The motif-pair potentials: the affinity of every active motif pair (the
// probability that the two motifs bind when they meet) and the leak
// probability, with the prior they are estimated under. A pair is active
// exactly when it has an affinity.
class MotInterPot {
public:
    using PairMap = std::map<int, double>;

    explicit MotInterPot(int nm) : numMot(nm) {}
    MotInterPot(const MotInterPot&) = default;
    MotInterPot& operator=(const MotInterPot&) = default;

    static int Index(int mot1, int mot2) { return PairIndex(mot1, mot2); }
    std::pair<int, int> RevIndex(int ind) const { return PairRevIndex(ind, numMot); }

    void AddPot(int mot1, int mot2, double pot) { actPair[Index(mot1, mot2)] = pot; }
    void SetPot(int mot1, int mot2, double val) { actPair[Index(mot1, mot2)] = val; }
    void SetPotIndex(int ind, double val) { actPair[ind] = val; }
    double GetPot(int mot1, int mot2) const { return actPair.find(Index(mot1, mot2))->second; }
    double GetPotIndex(int ind) const { return actPair.find(ind)->second; }
    int IsAct(int mot1, int mot2) const { return actPair.count(Index(mot1, mot2)) != 0; }
    void DelPotIndex(int ind) { actPair.erase(ind); }
    const PairMap& GetActPair() const { return actPair; }
    PairMap& GetActPair() { return actPair; }
    void SetLeak(double l) { leak = l; }
    double GetLeak() const { return leak; }
    int GetNumMot() const { return numMot; }
    void SetPrior(const Prior& p) { prior = p; }
    const Prior& GetPrior() const { return prior; }

    // This object becomes `mip` conditioned on the domain-domain observations:
    // each affinity is replaced by P(B = 1 | D) under the observation models.
    void Cond(const MotInterPot& mip, const ObsModel& dm, const ProtInter& di);

    void Print(std::ostream& outFile) const;

private:
    int numMot;
    PairMap actPair;
    double leak = 0.0;
    Prior prior;
};

#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <vector>

#include "model/NonBind.h"

// What the model knows about the proteins: the motifs each protein carries
// (with their length on it), protein lengths, motif coverage, the leak-variable
// policy, and at most one forced non-binding setting used by the perturbation
// analyses.
class ProtMot {
public:
    using MotMap = std::map<int, int>; // motif id -> length on the protein

    ProtMot(int np, int nm);

    void SetLeakType(int lt) { leakType = lt; }
    int GetLeakType() const { return leakType; }
    void SetLeakGroup(int lg) { leakGroup = lg; }
    int GetLeakGroup() const { return leakGroup; }
    int GetNumProt() const { return numProt; }
    int GetNumMot() const { return numMot; }

    void AddProtLen(int prot, int len) { protLen[prot] = len; }
    int GetProtLen(int prot) const { return protLen[prot]; }
    void AddMotCover(int prot, int mc) { motCover[prot] = mc; }
    int GetMotCover(int prot) const { return motCover[prot]; }
    // A repeated (protein, motif) replaces the earlier length.
    void AddMot(int prot, int mot, int len) { protMots[prot][mot] = len; }
    const MotMap& GetMots(int prot) const { return protMots[prot]; }

    // The forced setting of the analyses, computed without storing it: the
    // number of forced leak variables depends on the motif's length.
    NonBind MakeNonBind(int prot1, int prot2, int mot1, int mot2) const;
    void SetNonBind(int prot1, int prot2, int mot1, int mot2) { nonBind = MakeNonBind(prot1, prot2, mot1, mot2); }
    void UnsetNonBind() { nonBind.prot1 = -1; }
    const NonBind& GetNonBind() const { return nonBind; }

    int IsNonBind(int prot1, int prot2, int mot1, int mot2) const
    {
        return nonBind.IsNonBind(prot1, prot2, mot1, mot2);
    }
    int WithNonBind(int prot1, int prot2) const { return nonBind.WithNonBind(prot1, prot2); }

    // Number of leak variables of a protein pair.
    int NumLeak(int prot1, int prot2) const { return LeakForPairs(NonMotifPairs(prot1, prot2)); }
    // Number of them forced non-binding by the current setting.
    int NumNBLeak(int prot1, int prot2) const { return NumNBLeak(nonBind, prot1, prot2); }
    // The same under another forced setting.
    int NumNBLeak(const NonBind& nb, int prot1, int prot2) const
    {
        return (leakType == 1 && nb.WithNonBind(prot1, prot2)) ? nb.numNBLeak : 0;
    }
    int NumActLeak(int prot1, int prot2) const { return NumLeak(prot1, prot2) - NumNBLeak(prot1, prot2); }

    // Amino-acid pairs of (p, q) that no motif covers, in 64 bits (32-bit
    // products overflow on long proteins). An id outside the tables reads as
    // a protein whose length and coverage were never set. Never negative.
    std::int64_t NonMotifPairs(int p, int q) const;
    // Leak variables standing for `n` non-motif amino-acid pairs.
    int LeakForPairs(std::int64_t n) const;

    void Print(std::ostream& outFile) const;

private:
    int numProt;
    int numMot;
    std::vector<MotMap> protMots;
    std::vector<int> protLen;
    std::vector<int> motCover;
    NonBind nonBind;
    int leakType = 1;
    int leakGroup = 0;

    int LenOf(int p) const { return (p >= 0 && p < numProt) ? protLen[p] : -1; }
    int CoverOf(int p) const { return (p >= 0 && p < numProt) ? motCover[p] : -1; }
    // floor(sqrt(10 * n / leakGroup)) for n >= 0.
    int RootCount(std::int64_t n) const;
};

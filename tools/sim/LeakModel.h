#pragma once

#include "tools/sim/ProteinSet.h"
#include "tools/sim/SimConfig.h"

// Leak variables stand for binding through residues that no motif covers.
// Type 0 gives every protein pair one of them, type 2 none, and type 1 a
// number that grows with the square root of the pair's non-motif residue
// pairs, in groups of `leakGroup` residue pairs.
class LeakModel {
public:
    explicit LeakModel(const SimConfig& config);

    int NumLeak(const Protein& p, const Protein& q) const;
    double Probability() const { return prob_; }
    int Type() const { return type_; }
    int Group() const { return group_; }

private:
    int type_;
    int group_;
    double prob_;
};

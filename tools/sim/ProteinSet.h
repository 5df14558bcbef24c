#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "tools/sim/SimConfig.h"

// One protein: its length in amino acids, the motif families it carries (in
// ascending motif id, each with its length on this protein) and the number of
// its residues that motifs cover.
struct Protein {
    int length = 0;
    int coverage = 0;
    std::vector<std::pair<int, int>> motifs; // (motif id, length)
};

// The proteome. Motif counts per protein follow a power law (most proteins
// carry none, one or two families, a few carry dozens); families differ in
// popularity (id 0 is the most common) and in typical length; a protein's
// motifs may overlap, so its coverage lies between its longest motif and the
// sum of its motif lengths, and never exceeds its length.
class ProteinSet {
public:
    ProteinSet(const SimConfig& config, std::uint64_t seed);

    int Count() const { return static_cast<int>(proteins_.size()); }
    const Protein& Get(int id) const { return proteins_[static_cast<std::size_t>(id)]; }
    // The proteins that carry motif `mot`, in ascending protein id.
    const std::vector<int>& Carriers(int mot) const { return carriers_[static_cast<std::size_t>(mot)]; }
    // Popularity weight of each family, used again to choose active pairs.
    const std::vector<double>& FamilyWeights() const { return familyWeights_; }

private:
    std::vector<Protein> proteins_;
    std::vector<std::vector<int>> carriers_;
    std::vector<double> familyWeights_;
};

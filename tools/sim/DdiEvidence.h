#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/sim/ActivePairs.h"
#include "tools/sim/SimConfig.h"

// Model IDs of the domain-domain observations (independent of the protein
// interaction model IDs).
constexpr int DDI_NEG_ID = 0; // the motif pair does not bind
constexpr int DDI_POS_ID = 1; // the motif pair binds

// Truth of one motif pair that the domain-domain database covers.
struct DdiPair {
    int larger = 0;
    int smaller = 0;
    int state = 0;         // whether the motif pair binds, drawn with its affinity
    bool reported = false; // listed by the database
};

// Domain-domain evidence as a curated database gives it. The database covers
// the motif families below `bound`; an active pair among them binds with its
// affinity, a binding pair is reported with the database's sensitivity and a
// non-binding one with its false-positive rate. Reported pairs are listed
// with the value 1; every covered pair the database does not list is observed
// as 0 through one option record, so each covered pair carries exactly one
// observation under the same two models.
struct DdiEvidence {
    int bound = 0;
    std::vector<DdiPair> pairs; // ascending pair index

    long long Reported() const;
    std::string ObservationText() const;
    std::string ModelText(const SimConfig& config) const;
    std::string OptionText() const;
};

DdiEvidence DrawDdiEvidence(const SimConfig& config, const ActivePairs& active, std::uint64_t seed);

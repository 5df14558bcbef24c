#pragma once

#include <map>
#include <set>

#include "tools/toolbox/PairKey.h"

// The guess that a pair interacts in proportion to how sociable its proteins
// are: a baseline any model of motifs should beat. A protein's degree is its
// number of distinct partners with a reported observation (value 1).

// An observed value this close to 1 is a report of interaction.
constexpr double REPORTED_EPS = 1e-5;
inline bool IsReported(double value) { return value > 1.0 - REPORTED_EPS && value < 1.0 + REPORTED_EPS; }

// Distinct reported partners of each protein; a pair of a protein with
// itself counts once.
std::map<int, int> PartnerDegrees(const std::set<PairKey>& reported);

// The baseline's score of a pair: the product of its proteins' degrees.
double DegreeScore(const std::map<int, int>& degrees, const PairKey& pair);

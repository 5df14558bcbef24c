#pragma once

#include <istream>
#include <vector>

#include "model/ProtInter.h"
#include "model/ProtMot.h"

// One perturbation cycle of an analysis: with -p 1 motif mot1 of prot1 against
// the whole of prot2 (mot2 = -1); with -p 2 the motif-type pair (mot1, mot2),
// ids as read (prot1 = prot2 = -1); with -p 3 the single binding variable
// (mot1 on prot1, mot2 on prot2).
struct Candidate {
    int prot1 = -1;
    int mot1 = -1;
    int prot2 = -1;
    int mot2 = -1;
};

// The candidate readers of the analyses. Each reads the binding-pairs list
// until an extraction fails and lists the cycles in the order they run;
// `pertSize` (-1: no bound) limits the motif ids perturbed.

// -p 1: every motif of both proteins of every observed listed pair, against
// the partner; listed pairs that are unobserved, or have an id outside the
// protein range, are skipped. The binding predictions have warned about a
// list that stops early.
std::vector<Candidate> MotifProteinCandidates(const ProtMot& pm, const ProtInter& pi, std::istream& list, int pertSize);

// -p 2: the listed motif-type pairs, ids as read; a pair with an id outside
// the motif range is skipped with a warning, and so is a list that stops
// early.
std::vector<Candidate> MotifTypeCandidates(const ProtMot& pm, const ProtInter& pi, std::istream& list, int pertSize);

// -p 3: every binding variable of every observed listed pair, skipped as
// with -p 1.
std::vector<Candidate> MotifPairCandidates(const ProtMot& pm, const ProtInter& pi, std::istream& list, int pertSize);

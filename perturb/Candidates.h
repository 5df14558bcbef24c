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

// Reads the binding-pairs list until an extraction fails (with -p 2 warning
// on standard error, as the other readers do; with -p 1 and 3 the binding
// predictions warn about the same list) and lists the cycles of analysis
// `perType` (1, 2 or 3) in the order they run. `pertSize` (-1: no
// bound) limits the motif ids perturbed. Listed protein pairs that are
// unobserved, or have an id outside the protein range, are skipped; motif
// pairs with an id outside the motif range are skipped with a warning.
std::vector<Candidate> ReadCandidates(int perType, const ProtMot& pm, const ProtInter& pi,
                                      std::istream& predbindFile, int pertSize);

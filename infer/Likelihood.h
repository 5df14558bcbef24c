#pragma once

#include "infer/ParamSet.h"
#include "model/MotInterPot.h"
#include "model/NonBind.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"

// x^n by square-and-multiply over the bits of n; a negative n gives the
// reciprocal of x^-n and n = 0 gives 1 for any x.
double IntPow(double x, int n);

// P(the pair does not interact) under the conditioned affinities of a
// parameter set and the forced setting `nb`, for any protein pair, observed
// or not: the product of (1 - affinity) over the free binding variables of
// (prot1, prot2), motifs of prot1 outer, and (1 - leak) over its free leak
// variables.
double AlNonInterProb(const ProtMot& pm, const NonBind& nb, const ParamSet& ps, int prot1, int prot2);

// Natural log of the joint probability of the observations and, with part 0,
// of the parameters. Part 0 is served from and stored in the set's cache;
// part 1 sums only the pairs known to interact, part 2 only those known not
// to, both without prior and cache; any other part sums every pair without
// prior and cache.
double LogJointProb(ParamSet& ps, int part);

// The pair is known to interact: some observation is noise-free (-1, -1)
// with value 1.
int IsActPos(const InterList& obsvals);
// The pair is known not to interact: a noise-free observation with value 0.
int IsActNeg(const InterList& obsvals);
int IsOneAct(const interdatum& obsval, int interval);

#pragma once

// Run-wide settings, tolerances and the likelihood cache. One thread uses
// them; the entry point resets them at the start of every run.

// Sizes from the command line: protein ids are 0 .. g_numProt-1, motif ids
// 0 .. g_numMot-1.
extern int g_numProt;
extern int g_numMot;

// Beta prior on every affinity and on the leak probability, used as extra
// counts in the MAP estimate: g_aNeg = g_aN2P * g_aPos, g_aAll = g_aNeg + g_aPos.
extern double g_aN2P;
extern double g_aPos;
extern double g_aNeg;
extern double g_aAll;

// An observed value counts as 0 or 1 when strictly within g_eps of it.
constexpr double g_eps = 1e-05;
// Mixture learning ignores pairs whose weight is at or below g_tinyeps.
constexpr double g_tinyeps = 1e-09;
// The Gaussian normaliser uses 2 * g_pi, deliberately not full-precision pi.
constexpr double g_pi = 3.14159;

// The one-value cache of the complete log joint probability.
extern double g_curjProb;
extern int g_curjProbChange;

// EM driver: check the log joint after every NUMITERCHECK-th round and stop
// when it improved by less than IMPROVETHRESH. The run sets NUMITERCHECK to 1
// before the perturbation analyses.
extern int NUMITERCHECK;
constexpr double IMPROVETHRESH = 0.01;

// Initial leak probability: a constant for leak types 0 and 2, and
// sqrt(leakGroup) * INITLEAKPERVAR for leak type 1.
constexpr double INITLEAK0PROB = 0.01;
constexpr double INITLEAKPERVAR = 0.0001;

// Puts every mutable global back to its start-of-run value.
void ResetGlobals();

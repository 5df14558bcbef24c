#pragma once

// The prior counts of the model, shared run-wide. They are set once, before
// any input is read, and stay fixed for the rest of the run, so worker
// threads may read them; the entry point resets them at the start of every
// run.

// Beta prior on every affinity and on the leak probability, used as extra
// counts in the MAP estimate: g_aNeg = ratio * g_aPos, g_aAll = g_aNeg + g_aPos.
extern double g_aPos;
extern double g_aNeg;
extern double g_aAll;

// Sets the three counts from the positive count and the ratio of the
// negative to the positive count.
void SetPriors(double aPos, double n2p);

// Puts every global back to its start-of-run value.
void ResetGlobals();

#pragma once

// Run-wide settings from the command line. They are set while the command
// line is read and stay fixed for the rest of the run, so worker threads may
// read them; the entry point resets them at the start of every run.

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

// Puts every global back to its start-of-run value.
void ResetGlobals();

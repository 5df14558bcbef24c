#pragma once

#include <istream>
#include <ostream>

#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"

// The three what-if analyses. Each reads candidates from `predbindFile`,
// perturbs a fresh copy of the trained model per candidate, measures the
// effect before and after EM re-converges, and logs it. `jprob` is the log
// joint of the trained model; `pertSize` (-1: no bound) limits the motif ids
// visited. The trained parameters are left exactly as they were.

// Forces one motif of a protein non-binding with the whole partner protein,
// for every motif of both proteins of every observed listed pair.
void PertPair(ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp, ObsModel& om,
              ObsModel& dm, const ProtInter& di, std::ostream& outFile, std::istream& predbindFile, double jprob,
              int pertSize);

// Removes one listed pair of motif types from the active pairs everywhere.
void PerTypes(ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp, ObsModel& om,
              ObsModel& dm, const ProtInter& di, std::ostream& outFile, std::istream& predbindFile, double jprob,
              int pertSize);

// Forces a single binding variable (one motif on each protein) of every
// observed listed protein pair non-binding, one at a time.
void PertMot2(ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp, ObsModel& om,
              ObsModel& dm, const ProtInter& di, std::ostream& outFile, std::istream& predbindFile, double jprob,
              int pertSize);

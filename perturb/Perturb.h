#pragma once

#include <istream>
#include <ostream>

#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"

// The three what-if analyses on the trained model objects, one thread. Each
// reads candidates from `predbindFile`, perturbs a fresh copy of the trained
// model per candidate, measures the effect before and after EM re-converges,
// and logs it; mixture progress goes to `mixLog`. `jprob` is the log joint of
// the trained model; `pertSize` (-1: no bound) limits the motif ids visited.
// The trained model is left exactly as it was.

// Forces one motif of a protein non-binding with the whole partner protein,
// for every motif of both proteins of every observed listed pair.
void PertPair(const ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp,
              const ObsModel& om, const ObsModel& dm, const ProtInter& di, std::ostream& outFile,
              std::istream& predbindFile, double jprob, int pertSize, std::ostream& mixLog);

// Removes one listed pair of motif types from the active pairs everywhere.
void PerTypes(const ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp,
              const ObsModel& om, const ObsModel& dm, const ProtInter& di, std::ostream& outFile,
              std::istream& predbindFile, double jprob, int pertSize, std::ostream& mixLog);

// Forces a single binding variable (one motif on each protein) of every
// observed listed protein pair non-binding, one at a time.
void PertMot2(const ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp,
              const ObsModel& om, const ObsModel& dm, const ProtInter& di, std::ostream& outFile,
              std::istream& predbindFile, double jprob, int pertSize, std::ostream& mixLog);

#pragma once

#include <ostream>

#include "infer/EMDriver.h"
#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"

// The inference steps applied straight to the model objects, for callers
// that take one step at a time. Each call compiles a plan (honouring the
// forced setting of `pm`), works on a parameter set gathered from the
// objects and writes what the step changed back into them. Nothing is cached
// between calls. `mip` and `micp` must hold the same active pairs.

// The non-interaction probability of any protein pair under the potentials
// `pot` (pass `micp` for the probability given the DDI evidence, `mip` for
// the one without) and the forced setting of `pm`, in the argument order.
double AlNonInterProb(const ProtMot& pm, const ProtInter& pi, const MotInterPot& pot, int prot1, int prot2);

double LogJointProb(const ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp,
                    const ObsModel& om, const ObsModel& dm, const ProtInter& di, int part);

// Adds the E-step's statistics to `om` and `dm` and re-estimates `mip`.
void EnM1Step(const ProtMot& pm, MotInterPot& mip, const MotInterPot& micp, const ProtInter& pi, ObsModel& om,
              ObsModel& dm, const ProtInter& di);

// One whole round; also recomputes `micp`.
void EMStep(const ProtMot& pm, MotInterPot& mip, MotInterPot& micp, const ProtInter& pi, ObsModel& om, ObsModel& dm,
            const ProtInter& di, std::ostream& mixLog);

int RunEM(const ProtMot& pm, const ProtInter& pi, MotInterPot& mip, MotInterPot& micp, ObsModel& om, ObsModel& dm,
          const ProtInter& di, std::ostream& outFile, std::ostream& mixLog, int checkEvery = NUMITERCHECK);

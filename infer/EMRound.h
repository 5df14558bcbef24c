#pragma once

#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"

// E-step and the first M-step: posterior interaction weights go to the
// observation models' statistics, and every affinity and the leak of `mip`
// are re-estimated (MAP, with the prior counts as extra counts) from the
// conditioned potentials `micp` of the previous round.
void EnM1Step(const ProtMot& pm, MotInterPot& mip, const MotInterPot& micp, const ProtInter& pi, ObsModel& om,
              ObsModel& dm, const ProtInter& di);

// One whole EM round: EnM1Step, then the M-step of `om`, then that of `dm`,
// which also recomputes `micp` from the new `mip`.
void EMStep(const ProtMot& pm, MotInterPot& mip, MotInterPot& micp, const ProtInter& pi, ObsModel& om,
            ObsModel& dm, const ProtInter& di);

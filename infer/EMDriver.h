#pragma once

#include <ostream>

#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"

// Repeats EM rounds, checking the log joint after every NUMITERCHECK-th
// round, until it improves by less than IMPROVETHRESH (a decrease included)
// or is not finite. Writes its progress to `outFile` and returns the number
// of rounds run, a multiple of NUMITERCHECK. The likelihood cache then holds
// the log joint of the final state.
int RunEM(const ProtMot& pm, const ProtInter& pi, MotInterPot& mip, MotInterPot& micp, ObsModel& om, ObsModel& dm,
          const ProtInter& di, std::ostream& outFile);

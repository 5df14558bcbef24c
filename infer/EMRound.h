#pragma once

#include <ostream>

#include "infer/ParamSet.h"

// E-step and the first M-step: posterior interaction weights go to the
// observation models' statistics, and every affinity and the leak of theta
// are re-estimated (MAP, with the prior counts as extra counts) from the
// conditioned affinities thetaC of the previous round.
void EnM1Step(ParamSet& ps);

// One whole EM round: EnM1Step, then the M-step of the PPI observation model,
// then that of the DDI model, after which thetaC is recomputed from the new
// theta. Mixture learning reports its progress on `mixLog`.
void EMStep(ParamSet& ps, std::ostream& mixLog);

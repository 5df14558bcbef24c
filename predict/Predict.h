#pragma once

#include <istream>
#include <ostream>

#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"

// For every protein pair listed in `predpairFile`: its non-interaction
// probability without and with the DDI evidence, and, when observed, the
// posterior non-interaction probability given its observations. Both lists
// are read as every input is: reading stops with a warning at the first
// record that is not two integers, and a pair with an id out of range is
// skipped with a warning; a token longer than MAXTOKEN or a list that cannot
// be read throws InputErr.
void PredictProtInter(std::istream& predpairFile, std::ostream& predictFile, const ProtMot& pm, const ProtInter& pi,
                      const MotInterPot& mip, const MotInterPot& micp, const ObsModel& om);

// For every binding variable on the protein pairs listed in `predbindFile`:
// the motif affinity with and without conditioning and, when the pair is
// observed, the posterior probability that the variable is 1.
void PredictBinding(std::istream& predbindFile, std::ostream& predictFile, const ProtMot& pm,
                    const MotInterPot& mip, const MotInterPot& micp, const ProtInter& pi, const ObsModel& om);

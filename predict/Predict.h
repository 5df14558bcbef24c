#pragma once

#include <istream>
#include <ostream>

#include "infer/ParamSet.h"
#include "model/ProtMot.h"

// The predictions of a trained parameter set `ps` (its plan compiled from
// `pm` and the observations), for protein pairs listed in a file, observed or
// not; the forced setting of `pm` is honoured. Both lists are read as every input is:
// reading stops with a warning at the first record that is not two
// integers, and a pair with an id out of range is skipped with a warning; a
// token longer than MAXTOKEN or a list that cannot be read throws InputErr.
// The lines are written through a buffer and the stream is flushed at the
// end of the section, so a failed write shows there at the latest.

// For every protein pair listed in `predpairFile`: its non-interaction
// probability without and with the DDI evidence, and, when observed, the
// posterior non-interaction probability given its observations.
void PredictProtInter(std::istream& predpairFile, std::ostream& predictFile, const ProtMot& pm, const ParamSet& ps);

// For every binding variable on the protein pairs listed in `predbindFile`:
// the motif affinity with and without conditioning and, when the pair is
// observed, the posterior probability that the variable is 1.
void PredictBinding(std::istream& predbindFile, std::ostream& predictFile, const ProtMot& pm, const ParamSet& ps);

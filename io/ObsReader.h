#pragma once

#include <istream>
#include <map>
#include <ostream>

#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"

// Model IDs as written in a model file -> positions in the observation model set.
using ModelIdTable = std::map<int, int>;

// Reads an observation-model file into `om` and an observation file into
// `pi`, then writes the count line. With potentials `mip` (domain-domain
// evidence) only observations of active motif pairs are kept and the option
// records of `ddioptFile` are expanded over the active pairs. Throws InputErr
// on an unknown model type, a model record cut short, an undefined model ID
// or (protein pairs) an id out of range.
void ReadModelPPI(ObsModel& om, ProtInter& pi, std::istream& modelFile, std::istream& protFile, std::ostream& outFile,
                  std::istream* ddioptFile, const MotInterPot* mip);

// Adds one observation of (x, y); `id` holds the file's model IDs and is
// translated in place to positions. Counts it in `cnt`.
void AddOneInter(int x, int y, double val, int id[2], ProtInter& pi, int& cnt, const ModelIdTable& modelid,
                 const MotInterPot* mip);

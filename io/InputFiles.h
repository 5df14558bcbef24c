#pragma once

#include <istream>
#include <ostream>

#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"

// Initial leak probability: a constant for leak types 0 and 2, and
// sqrt(leakGroup) * INITLEAKPERVAR for leak type 1.
constexpr double INITLEAK0PROB = 0.01;
constexpr double INITLEAKPERVAR = 0.0001;

// Reads every input of a run into the model, in a fixed order: protein
// lengths, motif coverage, protein-motif content, PPI models and
// observations, active motif pairs (then the initial leak probability), and
// last the DDI files, which need the active pairs. Writes the count lines to
// the log. `pm` must already hold the leak type.
void ReadFiles(ProtMot& pm, ProtInter& pi, MotInterPot& mip, ObsModel& om, ObsModel& dm, ProtInter& di,
               std::istream& protLenFile, std::istream& motCoverFile, std::istream& pmFile, std::istream& protFile,
               std::istream& modelFile, std::istream& motFile, std::ostream& outFile, int leakGroup,
               std::istream& ddiFile, std::istream& ddmdlFile, std::istream& ddioptFile);

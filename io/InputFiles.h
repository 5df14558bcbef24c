#pragma once

#include <istream>
#include <ostream>

#include "model/RunModel.h"

// Initial leak probability: a constant for leak types 0 and 2, and
// sqrt(leakGroup) * INITLEAKPERVAR for leak type 1.
constexpr double INITLEAK0PROB = 0.01;
constexpr double INITLEAKPERVAR = 0.0001;

// The inputs a run trains on, in the order ReadFiles reads them.
struct InputStreams {
    std::istream& protLen;   // protein lengths
    std::istream& motCover;  // motif coverage
    std::istream& protMot;   // protein-motif content
    std::istream& obs;       // PPI observations
    std::istream& models;    // PPI observation models
    std::istream& active;    // active motif pairs
    std::istream& ddi;       // DDI observations
    std::istream& ddiModels; // DDI observation models
    std::istream& ddiOpt;    // DDI options
};

// Reads every input of a run into the model, in a fixed order: protein
// lengths, motif coverage, protein-motif content, PPI models and
// observations, active motif pairs (then the initial leak probability), and
// last the DDI files, which need the active pairs. Writes the count lines to
// `log`. `m.pm` must already hold the leak type.
void ReadFiles(RunModel& m, const InputStreams& in, int leakGroup, std::ostream& log);

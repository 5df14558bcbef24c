#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "infer/InferPlan.h"
#include "infer/ParamSet.h"
#include "model/ObsModel.h"
#include "model/RunModel.h"

// Shared pieces of the fuzz targets: a small fixed input set that every
// target overrides one file of, the readers run on in-memory streams, and a
// bounded slice of training on what they read.
namespace fuzz {

// The contents of every input file of a run and the command-line settings
// that shape how they are read.
struct Inputs {
    std::string obs;       // observed protein interactions
    std::string models;    // PPI observation models
    std::string pmc;       // protein-motif content
    std::string active;    // active motif pairs
    std::string lengths;   // protein lengths
    std::string coverage;  // motif coverage
    std::string ddi;       // domain-domain observations
    std::string ddiModels; // domain-domain observation models
    std::string ddiOpt;    // domain-domain options
    std::string predPairs; // protein pairs to predict interaction for
    std::string bindPairs; // protein pairs to predict binding variables for
    int numProt = 8;
    int numMot = 6;
    int leakType = 1;
    int leakGroup = 10;
    double aPos = 0.1;
};

// Eight proteins, six motifs, every kind of observation model, a nested
// mixture in the DDI models and DDI options over the self pairs.
Inputs DefaultInputs();

// The model objects of one run, and what the bounded training made of them.
struct Model : RunModel {
    // Set by Train: the plan with the DDI evidence, its parameters and the
    // log joint of those.
    std::unique_ptr<InferPlan> plan;
    std::unique_ptr<ParamSet> ps;
    double jprob = 0.0;

    explicit Model(const Inputs& in);
};

// The settings a command line with these counts, leak settings and prior
// count gives (a ratio of 1).
Settings SettingsOf(const Inputs& in);

// Reads every input through the run's ReadInputs from in-memory streams.
// Throws what the readers throw.
std::unique_ptr<Model> ReadAll(const Inputs& in);

// The learning work an observation model set asks for: every mixture costs
// its iteration bound times one plus the work of its components, as one
// mixture iteration lets every component learn once. Saturates at 1e18.
double MixtureWork(const ObsModel& om);

// Mixtures may iterate at most this much in one M-step of a target run.
constexpr double MAXMIXWORK = 50;

// The training of a run, cut short: `rounds` EM rounds without the DDI
// evidence, one to bring it in and `rounds` more with it (with learn = false
// none at all), then the log joint of every part. Leaves the trained plan
// and parameters in the model.
void Train(Model& m, int rounds, bool learn);

// The two predictions of a run on the trained model.
void Predict(const Model& m, const std::string& predPairs, const std::string& bindPairs, int perType);

// A whole short run on `in`: read, train (see Train) and predict. An input
// the readers refuse ends it quietly: that is how the program says no.
void ReadTrainPredict(const Inputs& in, bool learn);

// A stream that drops everything.
std::ostream& Null();

// Standard error is silenced unless MOTIFBIND_FUZZ_VERBOSE is set: the
// readers' warnings would drown the fuzzer's own output.
void QuietStderr();

// The input split at every `sep` into at most `n` parts (the last part keeps
// any further separators); missing parts are empty.
std::vector<std::string> Split(const std::uint8_t* data, std::size_t size, char sep, std::size_t n);

} // namespace fuzz

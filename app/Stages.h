#pragma once

#include <memory>
#include <ostream>

#include "app/CountingBuf.h"
#include "app/Progress.h"
#include "app/Settings.h"
#include "format/LogLabels.h"
#include "format/ShardManifest.h"
#include "infer/InferPlan.h"
#include "infer/ParamSet.h"
#include "io/InText.h"
#include "io/InputFiles.h"
#include "model/MotInterPot.h"
#include "model/RunModel.h"
#include "perturb/AnalysisKind.h"

// The stages of a run, in their order: ReadInputs, Train, WritePredictions,
// RunAnalysis. Each works on streams the caller opened, so that the run
// opens its files where it always has and tests and fuzz targets can call
// the stages on text in memory.

// Where the stages write: the log, mixture learning's progress (standard
// output) and the status line. With -j both the log and standard output pass
// through byte counters, for the manifest; otherwise the counters are null.
struct RunLogs {
    std::ostream& log;
    std::ostream& mix;
    ProgressLine& progress;
    CountingBuf* logBytes = nullptr;
    CountingBuf* outBytes = nullptr;
};

// Writes the log's head (the command line, the counts, the prior and the
// motif bound), reads every input into `m` (made with the settings' counts
// and leak type), centres the noise prior on the models read, and dumps the
// model up to the end of the initialisation.
void ReadInputs(const Settings& s, const InputStreams& in, std::ostream& log, RunModel& m);

// How training runs. A run lets EM converge; callers that must stay fast
// (the fuzz targets) bound every phase to `maxRounds` rounds, and with 0
// learn nothing at all, not even in the round that brings the DDI model in.
struct TrainOptions {
    DdiEstimator estimator = DdiEstimator::PerVariable;
    int maxRounds = -1; // -1: until EM converges
};

// The options of the settings' -e.
TrainOptions TrainOptionsOf(const Settings& s);

// One phase of EM: its line in the log, its name on the status line, and
// whether its parameter set holds the domain-domain evidence (and its
// conditioned potentials and DDI models are dumped).
struct Phase {
    const char* banner;
    const char* name;
    bool ddi;
};

constexpr Phase WITHOUT_DDI{loglabel::EM_WITHOUT_DDI, "EM without DDI", false};
constexpr Phase WITH_DDI{loglabel::EM_WITH_DDI, "EM with DDI", true};

// Runs the EM of phase `p` on `ps`, logs its rounds and final log joint,
// writes the parameters back into `mip` and `micp` and dumps them.
void TrainPhase(const Phase& p, ParamSet& ps, MotInterPot& mip, MotInterPot& micp, const TrainOptions& o,
                RunLogs& logs);

// The trained model: the plan with the domain-domain lists and its
// parameter set. The plan points into the observations of the run's model.
struct TrainedSet {
    std::unique_ptr<InferPlan> plan;
    std::unique_ptr<ParamSet> ps;
};

// Both phases of training: EM without the domain-domain evidence, then one
// round that brings the DDI model in and EM with it. The observation models
// of `m` are handed over to the trained set; `m.mip` ends with the trained
// affinities.
TrainedSet Train(RunModel& m, const TrainOptions& o, RunLogs& logs);

// The prediction file: the interaction predictions for the pairs listed in
// `pairs`, then, with `binding`, the binding predictions for those in
// `binds`, and its end line. The binding list is read whole into `bindList`
// after the interaction predictions, for the analysis.
void WritePredictions(std::istream& pairs, std::istream& binds, bool binding, const ProtMot& pm, const ParamSet& ps,
                      std::ostream& out, InText& bindList);

// The analysis stage: the log joint of the trained model, then, with an
// analysis `a` (the one -p names, or none), the cycles of the candidates read
// from the binding list, on the settings' threads; with -j only the block's.
// With -j the returned manifest holds the block, its cycles and its part of
// the log; the caller adds the standard output's end when the run is done.
ShardManifest RunAnalysis(const Settings& s, const AnalysisKind* a, const RunModel& m, TrainedSet& t, InText& binds,
                          RunLogs& logs);

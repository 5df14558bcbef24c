#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/runfiles/LoggedNumber.h"
#include "tools/toolbox/PairKey.h"

// One convergence check of EM: the zero-based round just completed and the
// log joint after it.
struct EmCheck {
    int round = 0;
    double logJoint = 0.0;
};

// A component line of a mixture model: its weight, then a distribution of
// its own (a component that is itself a mixture is followed by the lines of
// its components, so nested mixtures come flattened in print order).
struct LoggedComponent {
    LoggedNumber weight;
    std::string type;
    std::vector<LoggedNumber> params;
};

// One observation model of a set as the log dumps it.
struct LoggedModel {
    long long statSize = 0;                  // weighted values collected since the last M-step
    int id = 0;                              // the model's position in its set
    std::string type;                        // "OM_BINARY", "OM_GAUSSIAN", "OM_EXPONENTIAL", "OM_UNIFORM", "OM_MIXTURE"
    std::vector<LoggedNumber> params;        // in the order of the model-file syntax
    std::vector<LoggedComponent> components; // a mixture's, in print order
};

// The last complete dump of one observation model set.
struct LoggedModelSet {
    bool present = false;
    std::size_t line = 0; // of the dump's "***s" line
    std::vector<LoggedModel> models;
};

// One dump of motif-pair potentials: affinities keyed by motif pair (larger
// id first, as written), and the leak probability that follows the dump.
struct LoggedPotentials {
    bool present = false;
    bool ended = false;   // the dump's closing line was read
    std::size_t line = 0; // of the dump's "***s" line
    std::map<PairKey, LoggedNumber> affinities;
    std::optional<LoggedNumber> leak;
};

// One EM phase of training, as far as the log got.
struct EmPhase {
    std::string label;                   // "without domain-domain evidence" or "with domain-domain evidence"
    std::optional<double> startLogJoint; // before round 0
    std::vector<EmCheck> checks;
    // From the phase's summary line; rounds and logJoint are 0 until then.
    bool finished = false;
    int rounds = 0;
    double logJoint = 0.0;
    // What the phase learned: the dumps written after its summary line (the
    // first phase has no domain-domain evidence and dumps neither a
    // conditioned copy nor domain-domain models).
    LoggedPotentials learned;
    LoggedPotentials conditioned;
    LoggedModelSet ppiModels;
    LoggedModelSet ddiModels;
};

// One perturbation cycle: the lines one forced setting wrote.
struct PerturbationCycle {
    int analysis = 0;     // the -p value: 1 motif-protein, 2 motif-type pair, 3 motif pair in protein pair
    std::size_t line = 0; // of its first line
    // Every value of its lines, named, in the order the lines write them;
    // the ids that each line repeats are kept once. Names are those of
    // PerturbationColumns(analysis).
    std::vector<std::pair<std::string, LoggedNumber>> values;
    bool complete = false; // all lines of the cycle were read
    // What was forced non-binding, by id; -1 where the analysis names none
    // (type 1: motif1 of protein1 with every motif of protein2; type 2: the
    // motif types motif1 and motif2 on every protein pair; type 3: motif1 of
    // protein1 with motif2 of protein2).
    int protein1 = -1;
    int motif1 = -1;
    int protein2 = -1;
    int motif2 = -1;
    std::string what; // the same in words, ids only
    // How much the log joint of all data changed by the forcing once EM had
    // re-converged under it (negative: the data need what was forced off).
    std::optional<LoggedNumber> effect;

    const LoggedNumber* Value(std::string_view name) const;
};

// Value names of the cycles of one analysis, in line order; empty for an
// analysis other than 1, 2 or 3.
std::vector<std::string> PerturbationColumns(int analysis);

// What a report takes from motifbind's log. Read leniently where a run was
// cut short (a killed run's log just stops, maybe in the middle of a line):
// whatever was read is kept and `problem` says where the log stops.
struct RunLog {
    std::string file;
    std::string commandLine; // as echoed, program name first

    std::vector<EmPhase> phases;            // in log order; the last may be unfinished
    std::optional<double> ddiStartLogJoint; // after the round that brings the domain-domain model in

    // The last complete dumps of the observation models.
    LoggedModelSet ppiModels;
    LoggedModelSet ddiModels;

    // What the last finished phase learned: the affinities EM estimates, and
    // the same conditioned on the domain-domain evidence (the first phase has
    // no domain-domain evidence and dumps no conditioned copy).
    LoggedPotentials learned;
    LoggedPotentials conditioned;

    std::optional<LoggedNumber> jointBeforePerturbation;
    // In log order; empty when the cycles were handed to a CycleSink.
    std::vector<PerturbationCycle> perturbations;
    std::size_t cycles = 0;         // read, kept or handed on
    std::size_t completeCycles = 0; // of them, with all their lines

    bool complete = false; // the log ends with "*** End of file."
    std::string problem;   // where an incomplete log stops, one line

    const EmPhase* LastFinishedPhase() const;
    std::size_t CompleteCycles() const { return completeCycles; }
};

class LineReader;

// Takes each perturbation cycle once it is read whole, or once the next
// cycle or the end of the log shows that it never will be. A long -p 1
// analysis writes millions of cycles; a reader that hands them on keeps the
// log's memory to what the training wrote.
using CycleSink = std::function<void(PerturbationCycle&&)>;

// Throws ToolError when the file cannot be read (with the bounds of
// LineReader), when it is no motifbind log (its first line does not echo a
// command line), or for a complete line that holds something other than the
// numbers its kind of line carries. The file is read as it goes: a FIFO
// does as well as a file.
RunLog ReadRunLog(const std::filesystem::path& path);
// The same, each perturbation cycle handed to `sink` instead of being kept.
RunLog ReadRunLog(const std::filesystem::path& path, const CycleSink& sink);
// The same from a reader, the cycles kept when `sink` is empty.
RunLog ReadRunLog(LineReader& in, const CycleSink& sink);
// The same from a stream; `name` stands for the file in messages.
RunLog ReadRunLog(std::istream& in, const std::string& name);

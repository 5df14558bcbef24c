#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/runfiles/LoggedNumber.h"
#include "tools/toolbox/PairKey.h"

// A row of the interaction section: a listed protein pair and the
// probabilities that it does not interact.
struct InteractionPrediction {
    std::size_t line = 0;
    int a = 0; // as written: the larger id first
    int b = 0;
    LoggedNumber qw; // by the model alone, affinities without domain-domain evidence
    LoggedNumber qc; // by the model alone, affinities conditioned on it
    // Given also the pair's own observations; none ("H") for a pair without any.
    std::optional<LoggedNumber> posterior;

    // The probability that the pair interacts, by which pairs are ranked:
    // what the run knows best, the posterior, else the model alone.
    double InteractionProbability() const { return 1.0 - (posterior ? posterior->value : qc.value); }
};

// A row of the binding section: one binding variable, a motif of the first
// protein with a motif of the second.
struct BindingPrediction {
    std::size_t line = 0;
    int protein1 = 0; // as written: the larger id first
    int protein2 = 0;
    int motif1 = 0;           // carried by protein1
    int motif2 = 0;           // carried by protein2
    LoggedNumber affinity;    // of the motif pair, learned
    LoggedNumber conditioned; // the same conditioned on domain-domain evidence
    // P(the variable is 1) given the pair's observations; none ("H") without any.
    std::optional<LoggedNumber> posterior;
};

// motifbind's prediction file, both sections in file order. Read leniently
// where the run was cut short: `problem` says where the file stops.
struct Predictions {
    std::string file;
    bool hasInteractions = false; // the section's opening line was read
    bool interactionsEnded = false;
    bool hasBindings = false; // written unless the run's perturbation type is 2
    bool bindingsEnded = false;
    // Empty when handed to PredictionSinks.
    std::vector<InteractionPrediction> interactions;
    std::vector<BindingPrediction> bindings;
    std::size_t interactionRows = 0; // read, kept or handed on
    std::size_t bindingRows = 0;
    bool complete = false; // the file ends with "*** End of file."
    std::string problem;
};

class LineReader;

// Throws ToolError when the file cannot be read (with the bounds of
// LineReader) or a complete row of a section is malformed.
Predictions ReadPredictionFile(const std::filesystem::path& path);

// Where rows go instead of into Predictions, one at a time, when set.
struct PredictionSinks {
    std::function<void(InteractionPrediction&&)> interaction;
    std::function<void(BindingPrediction&&)> binding;
};
Predictions ReadPredictionFile(LineReader& in, const PredictionSinks& sinks);
// The same from a stream; `name` stands for the file in messages.
Predictions ReadPredictionFile(std::istream& in, const std::string& name);

// What the prediction file says of one protein pair.
struct PairPrediction {
    // Probability that it does not interact by the model alone, without the
    // pair's own observations (the second of the two, which uses the
    // affinities conditioned on domain-domain evidence).
    double prior = 0.0;
    // Given its own observations; nothing when the file says H (none).
    std::optional<double> posterior;
};

// The interaction section by protein pair, for judging a finished run.
// Throws ToolError also when the section is absent or does not end.
std::map<PairKey, PairPrediction> ReadPredictions(const std::filesystem::path& path);

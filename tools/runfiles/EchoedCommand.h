#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

// The motifbind command line that a log echoes, split into its leading
// options, each with the words it takes, and the positional arguments that
// follow them (file names relative to the run's folder).
struct EchoedCommand {
    std::map<std::string, std::vector<std::string>> options;
    std::vector<std::string> positionals; // empty when the line ends inside the options
};

EchoedCommand SplitCommandLine(const std::string& commandLine);

// Positions of the positional arguments the helpers read.
constexpr std::size_t POS_OBSERVATIONS = 0;
constexpr std::size_t POS_MODELS = 1;
constexpr std::size_t POS_PROTEIN_MOTIFS = 2;
constexpr std::size_t POS_ACTIVE_PAIRS = 3;
constexpr std::size_t POS_PREDICTIONS = 7;

#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/TempDir.h"

using testutil::TempDir;

struct SimRun {
    int status = 0;
    std::string out;
    std::string err;
};

// Runs the simulator as its entry point would, capturing both streams.
SimRun RunSim(const std::vector<std::string>& args);

std::string ReadFile(const std::filesystem::path& path);

// Reads a file the way motifbind reads its inputs (whitespace-separated
// tokens, line breaks meaningless) and splits it into records of `fields`
// numbers. Fails the test when a token is not a number or the last record is
// incomplete, since motifbind would silently drop the rest of the file.
std::vector<std::vector<double>> ReadRecords(const std::filesystem::path& path, std::size_t fields);

// The invocation in command.txt, split into options and positionals.
struct Command {
    std::string program;
    std::map<char, std::vector<std::string>> options;
    std::vector<std::string> positionals;
};
Command ReadCommand(const std::filesystem::path& folder);

// A generated set read back from its files, relying on command.txt for the
// names of the inputs.
struct InputSet {
    std::filesystem::path folder;
    Command command;
    int numProt = 0;
    int numMot = 0;
    int leakType = 0;
    int leakGroup = 0;
    std::vector<int> length;
    std::vector<int> coverage;
    std::vector<std::vector<std::pair<int, int>>> motifs; // per protein, ascending motif id
    std::map<std::pair<int, int>, double> truthAffinity;  // (larger, smaller)
    double leak = 0.0;
    std::map<std::string, double> parameters;
    std::vector<std::vector<double>> observations;      // p1 p2 value model0 model1
    std::vector<std::vector<double>> truthInteractions; // larger smaller state nonInterProb leak

    std::filesystem::path Positional(std::size_t i) const { return folder / command.positionals.at(i); }
};
InputSet LoadInputSet(const std::filesystem::path& folder);

// Independent reading of the model: P(no interaction) of a protein pair from
// the files alone.
int LeakCount(const InputSet& set, int p, int q);
double NonInterProb(const InputSet& set, int p, int q);

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace CLI {
class App;
}

// Every knob of the simulator with its default. The defaults describe the
// bundled example: a few hundred proteins, a few thousand observations, with
// domain-domain evidence.
struct SimConfig {
    std::string outDir;
    std::uint64_t seed = 1;

    // Proteins and motifs.
    int proteins = 300;
    int motifs = 60;
    double zeroMotifFrac = 0.3; // proteins that carry no motif at all
    double motifTail = 2.0;     // P(k motifs) ~ k^-tail for carriers
    int maxMotifs = 30;         // most motif families on one protein
    double motifSkew = 0.8;     // family popularity ~ (id + 1)^-skew
    double repeatProb = 0.1;    // chance of one more copy of a motif

    // Active motif pairs and their planted affinities.
    long long activePairs = -1; // -1: as many as there are motifs
    double selfMotifFrac = 0.1; // active pairs of a motif with itself
    double strongFrac = 0.3;    // strong affinities among the active pairs

    // Leak variables.
    int leakType = 1;
    int leakGroup = 10000;
    double leak = -1.0; // -1: a default that suits the leak type

    // Tested protein pairs.
    long long pairs = 2000;
    double selfFrac = 0.0; // pairs of a protein with itself
    double enrich = 0.3;   // drawn among pairs sharing an active motif pair

    // Observations of the tested pairs.
    double binaryFrac = 0.8;
    double fpr = 0.02;
    double fnr = 0.3;
    double replicateProb = 0.15;
    double scoreFrac = 0.4;
    double scoreMean0 = 0.0;
    double scoreMean1 = 2.0;
    double scoreVar = 1.0;
    double controlFrac = 0.02;

    // Domain-domain evidence.
    int ddi = 1;
    double ddiCover = 0.6;
    double ddiSens = 0.7;
    double ddiFpr = 0.01;

    // Prediction lists and the command line.
    long long predictExtra = 100;
    long long bindPairs = 10;
    int perType = 1;
    int pertSize = 10;
    double priorPos = 0.1;
    double priorRatio = 1.0;
    int estimator = 1;         // -e, written only when not 0
    double noisePrior = 200.0; // -b, written only when not 0
    double initAffinity = 0.1;

    // The leak probability actually planted (resolves the -1 default).
    double LeakProbability() const;
    // The number of active motif pairs actually planted.
    long long ActivePairCount() const;
    // Families one protein can carry: never more than there are.
    int MaxMotifsPerProtein() const;
};

// Adds every knob to `app` as a "--name value" option bound to its field of
// `config`, with its range and its default.
void DefineSimOptions(CLI::App& app, SimConfig& config);

// Parses the words into a configuration and validates it; throws ToolError.
SimConfig ParseSimArgs(const std::vector<std::string>& args);

// Checks that the parameters can produce a valid input set; throws ToolError.
void Validate(const SimConfig& config);

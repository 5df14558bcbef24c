#pragma once

#include <array>
#include <optional>
#include <string>

#include "perturb/Shard.h"

// Everything a command line asks of the program, read once and then fixed
// for the whole run.
struct Settings {
    // A run, or one of the two questions answered on standard output.
    enum class Action { Run, Help, Version };
    Action action = Action::Run;

    // -f: protein ids are 0 .. numProt-1, motif ids 0 .. numMot-1.
    int numProt = 0;
    int numMot = 0;
    // -l: 0 one leak variable per protein pair, 1 as many as the square root
    // rule gives, 2 none.
    int leakType = 1;
    // -p: the perturbation analysis, 1, 2 or 3; any other value runs none.
    int perType = 1;
    // -s: the analyses visit motif ids below it; -1 sets no bound.
    int pertSize = -1;
    // -n: ratio of the negative to the positive prior count.
    double n2p = 1.0;
    // -d: DDI observation, DDI observation-model and DDI option files; without
    // -d there is no DDI evidence.
    std::optional<std::array<std::string, 3>> ddiFiles;
    // -e: how the domain-domain evidence is learned from: 0 by every binding
    // variable on its own, 1 through one shared state per motif pair.
    int estimator = 0;
    // -b: pseudo-counts of the Beta prior on the binary noise models; 0 sets
    // none.
    double noisePrior = 0.0;
    // -t: threads of the perturbation analysis.
    int threads = 1;
    // -j: the block of the perturbation analysis to run; none runs it all.
    std::optional<Shard> shard;

    // The positional arguments the run uses (the inactive and waiting-list
    // motif pair files are required but never read).
    std::string protFile;
    std::string modelFile;
    std::string pmFile;
    std::string motFile;
    std::string outFile;
    std::string predictFile;
    std::string predpairFile;
    std::string predbindFile;
    double aPos = 0.0; // <Dirichlet prior: Pos>
    std::string protLenFile;
    int leakGroup = 0; // <# a.a. pairs in leakProb>
    std::string motCoverFile;

    // The log's first line, with its line break: "*** Command line:" and
    // every word, program name first, each after one blank - except the
    // words of -t and -j, which change how a run is carried out but not what
    // it computes.
    std::string echo;
};

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/prep/Accession.h"
#include "tools/prep/Domains.h"
#include "tools/prep/Interactions.h"
#include "tools/prep/NegativeSampling.h"

namespace CLI {
class App;
}

// Everything motifbind-prep is asked to do, with its defaults.
struct PrepConfig {
    std::string outDir;
    std::uint64_t seed = 1;
    AccessionRules accessions;

    // Reported interactions.
    std::vector<std::string> interactionFiles;
    InteractionFormat interactionFormat = InteractionFormat::AUTO;
    MitabExperiment mitabExperiment = MitabExperiment::NONE;
    std::string source = "reported";
    bool dropSelf = false;

    // Domain annotations and protein lengths.
    std::vector<std::string> domainFiles;
    DomainFormat domainFormat = DomainFormat::TSV;
    bool hmmsearch = false;
    std::string analysis;
    double maxEvalue = -1.0; // -1: no threshold
    std::string fastaFile;
    // Display names of domain families, over those the annotations give.
    std::string familyNamesFile;
    // Keep only proteins that carry at least one domain.
    bool requireDomains = false;

    // Non-interacting pairs: a list, or sampled.
    std::string negativeFile;
    double negativeRatio = 1.0;
    Sampling sampling = Sampling::DEGREE;

    // Observation models: starting values, learned by motifbind.
    double fpr = 0.02;
    double fnr = 0.3;

    // Candidate motif pairs and domain-domain evidence.
    int minSupport = 1;
    std::string ddiFile;
    double ddiSens = 0.7;
    double ddiFpr = 0.01;

    // Hold-out and prediction lists.
    double holdout = 0.0;
    // Hold out no pair whose proteins would be left without a training
    // observation, or whose sources without a reported training pair.
    bool holdoutGuard = true;
    std::string predictFile;

    // The motifbind command line.
    int leakType = 1;
    int leakGroup = 10000;
    int perType = 0;
    int pertSize = -1;
    double priorPos = 0.1;
    double priorRatio = 1.0;
    int estimator = 1;         // -e, written only when not 0
    double noisePrior = 200.0; // -b, written only when not 0
    double initAffinity = 0.1;
};

// Adds every option to `app`, bound to its field of `config`.
void DefinePrepOptions(CLI::App& app, PrepConfig& config);

// Checks the options against each other; throws ToolError.
void Validate(const PrepConfig& config);

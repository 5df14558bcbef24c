#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/common/PhaseRecovery.h"
#include "tools/report/Degeneracy.h"

// Everything report.html shows, already named and computed: the page only
// lays it out. Values that the run did not produce (a cut-short log, no
// truth given) are empty.

// A line of points, x ascending.
struct Series {
    std::string label;
    std::vector<std::pair<double, double>> points;
};

// One learned observation model, described for a reader.
struct ModelView {
    std::string set;     // "protein-protein" or "domain-domain"
    int id = 0;          // position in the log's model section
    std::string source;  // the source that owns it (from sources.tsv), or empty
    std::string type;    // "OM_BINARY", "OM_GAUSSIAN", ...
    std::string params;  // as the log writes them, tab-separated values joined by blanks
    std::string words;   // e.g. "says interacting for 2.1% of non-interacting pairs (false-positive rate)"
};

struct MotifPairView {
    std::string first;   // motif names (or ids)
    std::string second;
    double affinity = 0.0;
    double conditioned = 0.0;
    long long carriers = 0;  // observed protein pairs that carry the motif pair
};

// One perturbation cycle, reduced to what it changes.
struct PerturbationView {
    std::string what;     // what was forced non-binding, named
    double effect = 0.0;  // change of the log joint after EM re-converged (negative: the data need it)
};

struct CurveView {
    std::string label;                              // "motifbind", "degree-only baseline"
    std::vector<std::pair<double, double>> points;  // ROC: (false-positive rate, true-positive rate); PR: (recall, precision)
    double area = 0.0;
};

// Judgement against held-out pairs.
struct TruthView {
    std::size_t interacting = 0;
    std::size_t notInteracting = 0;
    std::size_t missing = 0;  // truth pairs the prediction file does not list
    std::vector<CurveView> roc;  // motifbind first, then the baseline
    std::vector<CurveView> pr;
};

// Known interacting motif pairs among the top-ranked ones.
struct KnownView {
    std::size_t known = 0;       // known pairs that are candidate pairs
    std::size_t candidates = 0;  // all candidate pairs
    struct Row {
        std::size_t top = 0;      // 10, 50, 100 (fewer when there are fewer pairs)
        std::size_t found = 0;    // known pairs among them
        double chance = 0.0;      // top * known / candidates
    };
    std::vector<Row> rows;
};

struct ReportData {
    std::string title;    // the run folder's name
    std::string command;  // the motifbind command line from the log
    bool complete = true;
    std::string problem;  // why the report is partial: "the log ends after EM round 40 of phase 2"

    std::vector<Series> emPhases;        // log joint (y) by EM round (x), one series per phase
    std::vector<ModelView> models;       // after the last finished phase
    // What each finished phase learned; the rank correlations only when the
    // run folder holds the planted affinities of a simulated set.
    std::vector<PhaseRecovery> phases;
    bool planted = false;
    std::size_t judgedPairs = 0;  // motif pairs ranked against their planted affinities
    Degeneracy degeneracy;
    std::vector<double> interactionProbabilities;  // 1 - posterior (or 1 - Qc when unobserved), one per listed pair
    std::vector<MotifPairView> topMotifPairs;      // by affinity, highest first, at most 20
    std::vector<PerturbationView> topPerturbations;  // by |effect|, largest first, at most 20
    std::optional<TruthView> truth;
    std::optional<KnownView> known;
    std::vector<std::string> tables;  // names of the TSV files written beside the report
};

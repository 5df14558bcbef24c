#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/report/Degeneracy.h"
#include "tools/report/Provenance.h"
#include "tools/runfiles/PhaseRecovery.h"

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
    std::string set;    // "protein-protein" or "domain-domain"
    int id = 0;         // position in the log's model section
    std::string source; // the source that owns it (from sources.tsv), or empty
    std::string type;   // "OM_BINARY", "OM_GAUSSIAN", ...
    std::string params; // the logged values as the page writes numbers, joined by blanks
    std::string words;  // e.g. "says interacting for 2.1% of non-interacting pairs (false-positive rate)"
};

struct MotifPairView {
    std::string first; // motif names (or ids)
    std::string second;
    double affinity = 0.0;
    double conditioned = 0.0;
    long long carriers = 0; // observed protein pairs that carry the motif pair
    // Interactions it explains (see TopInteractionsView), among the top ones
    // and among all predicted ones.
    std::size_t explainsTop = 0;
    std::size_t explainsPredicted = 0;
};

// A motif pair that may mediate an interaction: one binding variable of the
// protein pair.
struct MediatorView {
    std::string first; // the motif of the first protein, named
    std::string second;
    double probability = 0.0; // that it binds on this protein pair
    bool posterior = true;    // given the pair's observations; else the prior, the conditioned affinity
};

// One of the most likely interactions.
struct InteractionView {
    std::string nameA; // display names, equal to the ids where the tables give none
    std::string idA;   // accessions (or ids)
    std::string nameB;
    std::string idB;
    double probability = 0.0;
    // observed: the run has observations of the pair (its probability is a
    // posterior given them); held out: in the --truth lists without an
    // observation; new: neither.
    enum class Status { OBSERVED, HELD_OUT, NEW } status = Status::NEW;
    std::string truth;                   // "interacting" or "not interacting" by the --truth lists, else empty
    std::vector<MediatorView> mediators; // the most probable first, at most MEDIATORS_SHOWN
    std::size_t moreMediators = 0;       // binding variables of the pair not shown
};

// A motif pair by the interactions it explains: those of which it is the
// most probable mediating motif pair.
struct ExplainerView {
    std::string first;
    std::string second;
    double affinity = 0.0;     // learned, NaN when the log has none
    std::size_t top = 0;       // among the top interactions
    std::size_t predicted = 0; // among all listed pairs with interaction probability of 0.5 or more
};

struct TopInteractionsView {
    std::size_t asked = 0;                 // how many the page may show (--top)
    std::size_t listed = 0;                // protein pairs the prediction file lists
    std::size_t predicted = 0;             // of them with interaction probability 0.5 or more
    bool truth = false;                    // the run was judged against --truth lists
    bool bindings = false;                 // the prediction file lists binding variables
    std::vector<InteractionView> rows;     // most likely first
    std::vector<ExplainerView> explainers; // most explained first, at most TOP_ROWS
};

// Names in a --truth or --known file that match no protein or family of
// the run.
struct UnknownNames {
    std::size_t pairs = 0;          // lines left out for them
    std::size_t names = 0;          // distinct names
    std::vector<std::string> first; // the first few, in file order
};

// One perturbation cycle, reduced to what it changes.
struct PerturbationView {
    std::string what;    // what was forced non-binding, named
    double effect = 0.0; // log-likelihood change after EM re-converged (negative: the data need it)
};

struct CurveView {
    std::string label; // "motifbind", "degree-only baseline"
    std::vector<std::pair<double, double>>
        points;        // ROC: (false-positive rate, true-positive rate); PR: (recall, precision)
    double area = 0.0; // ROC: the AUC; PR: the average precision
};

// Judgement against held-out pairs.
struct TruthView {
    std::size_t interacting = 0;
    std::size_t notInteracting = 0;
    std::size_t missing = 0; // truth pairs the prediction file does not list
    // Truth pairs (of known proteins) the run has observations of: judged
    // in-sample, the posterior has seen them; and those without any, held
    // out.
    std::size_t observed = 0;
    std::size_t heldOut = 0;
    UnknownNames unknown;
    std::vector<CurveView> roc; // motifbind first, then the baseline
    std::vector<CurveView> pr;
};

// Known interacting motif pairs among the top-ranked ones.
struct KnownView {
    std::size_t known = 0;      // known pairs that are candidate pairs
    std::size_t candidates = 0; // all candidate pairs
    struct Row {
        std::size_t top = 0;   // 10, 50, 100 (fewer when there are fewer pairs)
        std::size_t found = 0; // known pairs among them
        double chance = 0.0;   // top * known / candidates
        // The same for the known candidate pairs the domain-domain evidence
        // does not list, the ones whose enrichment is not circular.
        std::size_t foundOutside = 0;
        double chanceOutside = 0.0;
    };
    std::vector<Row> rows;
    // Known pairs (candidate or not) that the run's domain-domain evidence
    // already lists, and that file's name; `evidenceProblem` when the file
    // could not be read.
    std::size_t circular = 0;
    std::size_t knownOutside = 0; // known candidate pairs it does not list
    std::string evidenceFile;
    std::string evidenceProblem;
    UnknownNames unknown;
};

struct ReportData {
    std::string title;   // the run folder's name
    std::string command; // the motifbind command line from the log
    bool complete = true;
    std::string problem; // why the report is partial: "the log ends after EM round 40 of phase 2"

    std::vector<Series> emPhases;  // log joint (y) by EM round (x), one series per phase
    std::vector<ModelView> models; // after the last finished phase
    // What each finished phase learned; the rank correlations only when the
    // run folder holds the planted affinities of a simulated set.
    std::vector<PhaseRecovery> phases;
    bool planted = false;
    std::size_t judgedPairs = 0; // motif pairs ranked against their planted affinities
    Degeneracy degeneracy;
    std::vector<double> interactionProbabilities; // 1 - posterior (or 1 - Qc when unobserved), one per listed pair
    std::vector<MotifPairView> topMotifPairs;     // by affinity, highest first, at most 20
    std::optional<TopInteractionsView> topInteractions; // absent without a prediction file
    std::vector<PerturbationView> topPerturbations;     // by |effect|, largest first, at most 20
    std::optional<TruthView> truth;
    std::optional<KnownView> known;
    std::vector<std::string> tables; // names of the TSV files written beside the report
    SetProvenance provenance;        // what motifbind-prep recorded beside the run
};

#pragma once

// Names of the files of an input set, relative to its folder: what
// motifbind-sim and motifbind-prep write, the command line they write runs
// and motifbind-report and motifbind-eval read.
namespace files {

// Inputs of motifbind, in the order of its positional arguments.
inline constexpr const char* PPI_OBSERVATIONS = "ppi_observations.txt";
inline constexpr const char* PPI_MODELS = "ppi_models.txt";
inline constexpr const char* PROTEIN_MOTIFS = "protein_motifs.txt";
inline constexpr const char* ACTIVE_PAIRS = "active_motif_pairs.txt";
inline constexpr const char* INACTIVE_PAIRS = "inactive_motif_pairs.txt";
inline constexpr const char* WAITING_PAIRS = "waiting_motif_pairs.txt";
inline constexpr const char* LOG = "motifbind.log";
inline constexpr const char* PREDICTIONS = "predictions.txt";
inline constexpr const char* PREDICT_INTERACTION = "predict_interaction_pairs.txt";
inline constexpr const char* PREDICT_BINDING = "predict_binding_pairs.txt";
inline constexpr const char* PROTEIN_LENGTHS = "protein_lengths.txt";
inline constexpr const char* MOTIF_COVERAGE = "motif_coverage.txt";
// The three domain-domain files of -d.
inline constexpr const char* DDI_OBSERVATIONS = "ddi_observations.txt";
inline constexpr const char* DDI_MODELS = "ddi_models.txt";
inline constexpr const char* DDI_OPTIONS = "ddi_options.txt";

// Ground truth and the command line.
inline constexpr const char* TRUTH_AFFINITIES = "truth_affinities.txt";
inline constexpr const char* TRUTH_INTERACTIONS = "truth_interactions.txt";
inline constexpr const char* TRUTH_BINDINGS = "truth_bindings.txt";
inline constexpr const char* TRUTH_DDI = "truth_ddi.txt";
inline constexpr const char* TRUTH_PARAMETERS = "truth_parameters.txt";
inline constexpr const char* COMMAND = "command.txt";

// What motifbind-prep printed (version, counts, warnings), and what made the
// set: version, command line, seed and the checksums of its inputs.
inline constexpr const char* PREP_SUMMARY = "summary.txt";
inline constexpr const char* PROVENANCE = "provenance.txt";

} // namespace files

// Names of the files motifbind-prep adds to those motifbind reads.
namespace prepfiles {
inline constexpr const char* PROTEINS = "proteins.tsv";
inline constexpr const char* MOTIFS = "motifs.tsv";
inline constexpr const char* SOURCES = "sources.tsv";
// Held-out pairs by accession, one file per state.
inline constexpr const char* HOLDOUT_INTERACTING = "holdout_interacting.tsv";
inline constexpr const char* HOLDOUT_NOT_INTERACTING = "holdout_not_interacting.tsv";
inline constexpr const char* TRUTH_HOLDOUT = "truth_holdout.txt";
inline constexpr const char* SUMMARY = files::PREP_SUMMARY;
inline constexpr const char* PROVENANCE = files::PROVENANCE;
} // namespace prepfiles

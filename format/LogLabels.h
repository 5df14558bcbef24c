#pragma once

// The labels of the log lines that other programs read: motifbind-report
// and motifbind-eval take the run apart by them, motifbind-merge finds the
// command line, the benchmark times the phases between them. A line is its
// label, then (for labels that end in a tab) its values, tab-separated.
namespace loglabel {

// The first line: the label, then the command line as given.
inline constexpr char COMMAND_LINE[] = "*** Command line:";
// The last line of the log, and of the prediction file.
inline constexpr char END_OF_FILE[] = "*** End of file.";

// Training: EM without the domain-domain evidence, one round that brings it
// in, then EM with it. Both EM banners begin with EM_PHASE.
inline constexpr char EM_PHASE[] = "****** RunEM ";
inline constexpr char EM_WITHOUT_DDI[] = "****** RunEM without DDI ...";
inline constexpr char EM_WITH_DDI[] = "****** RunEM with DDI ...";
// Written by EM itself: the log joint before round 0, then the round and
// the log joint at each convergence check.
inline constexpr char EM_START[] = "*** Start of EM, before round 0. Log joint:\t";
inline constexpr char EM_CHECK[] = "*** (After EM round, Log joint):\t";
// The end of an EM phase: its rounds and its log joint.
inline constexpr char EM_SUMMARY[] = "*** Total # EM round and joint prob:\t";
inline constexpr char DDI_INIT[] = "****** initializing DDI model ...";
// The log joint after the round that brings the domain-domain model in.
inline constexpr char DDI_INIT_JOINT[] = "*** Joint prob:\t";
// The log joint of the trained model, the base of every perturbation cycle.
inline constexpr char BEFORE_PERTURBATION[] = "Joint prob before perturbation:\t";

// Banners of the dumps of what a phase learned.
inline constexpr char POTENTIAL[] = "****** Potential without conditioning ******";
// The potentials conditioned on the domain-domain evidence: after the
// round that brings it in, and after the last phase, spelt differently.
inline constexpr char CONDITIONED_INIT[] = "****** Potential conditioned on DDI data ******";
inline constexpr char CONDITIONED[] = "***** Potential conditioned on DDi data *****";
inline constexpr char PPI_MODELS[] = "****** PPI observatoin model ******";
inline constexpr char DDI_MODELS[] = "****** DDI observatoin model ******";

// A dump of motif-pair potentials: rows "mot1 mot2 affinity" between start
// and end, then the number of rows and the leak probability.
inline constexpr char AFFINITY_START[] = "***s Motif pair affinity:";
inline constexpr char AFFINITY_END[] = "***e Motif pair affinity.";
inline constexpr char PAIR_COUNT[] = "*** Total # motif pairs:\t";
inline constexpr char LEAK[] = "*** Leak probability:\t";

// A dump of an observation model set: the number of models, then one row a
// model between start and end.
inline constexpr char MODEL_COUNT[] = "*** # models:\t";
inline constexpr char MODEL_START[] = "***s Model info (stat size, ID, type, (param)+):";
inline constexpr char MODEL_END[] = "***e Model info.";

} // namespace loglabel

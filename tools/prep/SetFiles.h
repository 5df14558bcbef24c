#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/common/FileNames.h"
#include "tools/prep/PrepConfig.h"
#include "tools/prep/PreparedSet.h"

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

// The files of the input set, name and text, in writing order.
std::vector<std::pair<std::string, std::string>> SetFiles(const PreparedSet& set, const PrepConfig& config);

// The program and version that made the set, then what the conversion kept,
// dropped and why, for standard output and the set's summary file; each line
// ends with a newline.
std::string SummaryText(const PreparedSet& set, const PrepConfig& config);

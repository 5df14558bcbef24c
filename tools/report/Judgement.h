#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "tools/common/PairKey.h"
#include "tools/report/Names.h"
#include "tools/report/ReportData.h"

// A list of pairs named by the name tables (accessions, families) or by ids:
// two columns separated by tabs or blanks, '#' comments, and a first line
// that names nothing known taken as a header.
struct NamedPairs {
    std::set<PairKey> pairs;
    std::size_t unknown = 0;  // lines naming something the run does not know
};
NamedPairs ReadProteinPairs(const std::filesystem::path& path, const Names& names);
NamedPairs ReadMotifPairs(const std::filesystem::path& path, const Names& names);

// The report's judgement against held-out pairs: ROC and precision-recall
// curves of motifbind's interaction probability (`score`, nothing when the
// prediction file does not list the pair) beside a degree-only guess that
// ranks a pair by the product of its proteins' numbers of reported partners
// (nothing when the run's inputs are not at hand).
TruthView JudgeTruth(const std::set<PairKey>& interacting, const std::set<PairKey>& notInteracting,
                     const std::function<std::optional<double>(const PairKey&)>& score,
                     const std::map<int, int>* degree);

// How many known interacting motif pairs are among the top 10, 50 and 100
// candidate pairs by learned affinity, and how many a random ranking would
// give on average.
KnownView JudgeKnown(const std::map<PairKey, double>& affinities, const std::set<PairKey>& known);

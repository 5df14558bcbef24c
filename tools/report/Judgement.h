#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tools/report/Names.h"
#include "tools/report/ReportData.h"
#include "tools/toolbox/PairKey.h"

// A list of pairs named by the name tables (accessions, families) or by ids:
// two columns separated by tabs or blanks, '#' comments, and a first line
// that names nothing known taken as a header. A motif pair list may have
// more columns (a database's scores, the model ids of the run's own
// domain-domain observation file): the first two name the pair.
struct NamedPairs {
    std::set<PairKey> pairs;
    UnknownNames unknown;                  // lines naming something the run does not know
    std::vector<std::string> unknownNames; // all of those names, once each, in file order
};
// Unknown names shown by name, the rest only counted.
inline constexpr std::size_t UNKNOWN_SHOWN = 5;
NamedPairs ReadProteinPairs(const std::filesystem::path& path, const Names& names);
// The unknown names of two lists read for one option, each name once.
UnknownNames UnknownOfBoth(const NamedPairs& a, const NamedPairs& b);
NamedPairs ReadMotifPairs(const std::filesystem::path& path, const Names& names);

// The report's judgement against held-out pairs: ROC and precision-recall
// curves of motifbind's interaction probability (`score`, nothing when the
// prediction file does not list the pair) beside a degree-only guess that
// ranks a pair by the product of its proteins' numbers of reported partners
// (nothing when the run's inputs are not at hand). `observed` tells the
// truth pairs the run has observations of from those held out.
TruthView JudgeTruth(const std::set<PairKey>& interacting, const std::set<PairKey>& notInteracting,
                     const std::function<std::optional<double>(const PairKey&)>& score,
                     const std::map<int, int>* degree, const std::function<bool(const PairKey&)>& observed);

// How many known interacting motif pairs are among the top 10, 50 and 100
// candidate pairs by learned affinity, and how many a random ranking would
// give on average; the same for those the run's domain-domain evidence
// (`evidence`) does not list. The evidence pulled the affinities of the
// pairs it lists towards binding, so finding those on top is circular.
KnownView JudgeKnown(const std::map<PairKey, double>& affinities, const std::set<PairKey>& known,
                     const std::set<PairKey>& evidence = {});

// The judgement's caveats in one sentence each, without a final full stop,
// for the page and the warning lines alike:
// "--known lists 12 motif pairs that the run's domain-domain evidence
// (ddi_observations.txt) already lists: their enrichment is circular".
std::string CircularText(const KnownView& known);
// "--truth names 3 proteins the run does not know ('O99999', 'Q1', 'X'): 4
// pairs left out"; `what` is "protein" or "family".
std::string UnknownText(const std::string& option, const std::string& what, const UnknownNames& unknown);

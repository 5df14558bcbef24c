#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/report/Names.h"
#include "tools/report/RunInputs.h"
#include "tools/runfiles/LoggedNumber.h"
#include "tools/runfiles/PredictionFile.h"
#include "tools/runfiles/RunLog.h"

// The tab-separated tables written beside the report, as (file name, text),
// each with one header line:
//   interactions.tsv  listed protein pairs, most likely interacting first;
//   binding.tsv       binding variables, most likely binding first;
//   motif_pairs.tsv   learned affinities, highest first;
//   perturbation.tsv  one row per perturbation cycle, in log order; only
//                     when the log holds perturbation results. Its columns
//                     name the log's values for a reader (protein, motif,
//                     partner, log_likelihood_change_reconverged, ...; the
//                     README lists them), the last, effect, being the one
//                     the page plots.
// Numbers are copied as the run wrote them; ids of proteins and motifs are
// replaced by their names.
std::vector<std::pair<std::string, std::string>> ReportTables(const RunLog& log, const Predictions& predictions,
                                                              const Names& names, const RunInputs& inputs);

inline constexpr const char* PERTURBATION_TABLE = "perturbation.tsv";

// perturbation.tsv gathered a cycle at a time, as a log is read: each row is
// kept as the texts the log wrote, in one buffer, so that a long analysis
// costs about the size of the table it makes, whatever the log holds else.
class PerturbationTable {
public:
    void Add(const PerturbationCycle& cycle);
    bool Empty() const { return analyses_.empty(); }
    std::size_t Rows() const { return analyses_.size(); }
    // The header and one line per cycle in the order added, each line
    // handed to `out` with its line break.
    void Write(const Names& names, const std::function<void(std::string_view)>& out) const;

private:
    unsigned seen_ = 0;                // analyses added, as bits
    std::vector<std::string> columns_; // of every analysis added, as PerturbationColumns names them
    std::vector<std::string> headers_; // the table's names for them
    std::set<int> motifs_;             // motif ids of the cycles
    std::vector<std::int8_t> analyses_;
    // Per cycle: the texts of its analysis's columns (empty where its line
    // is missing) and the effect, joined by tabs and ended by a line break.
    std::string cells_;
};

// What a cycle forced non-binding, with names: "motif Pkinase (PF00069) on
// ABC1 (P12345), with partner P67890", "motif pair PF00069 – PF00017, on
// every protein pair", "motif PF00069 on P12345, with motif PF00017 on
// partner P67890".
std::string PerturbationWhat(const PerturbationCycle& cycle, const Names& names);

// 1 - p for a probability as written, in exact decimal where that is short
// enough ("0.638169" gives "0.361831", "1.5e-12" gives "0.9999999999985");
// otherwise the shortest text of the double.
std::string ComplementText(const LoggedNumber& p);

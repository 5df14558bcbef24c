#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/common/LoggedNumber.h"
#include "tools/common/PredictionFile.h"
#include "tools/common/RunLog.h"
#include "tools/report/Names.h"
#include "tools/report/RunInputs.h"

// The tab-separated tables written beside the report, as (file name, text),
// each with one header line:
//   interactions.tsv  listed protein pairs, most likely interacting first;
//   binding.tsv       binding variables, most likely binding first;
//   motif_pairs.tsv   learned affinities, highest first;
//   perturbation.tsv  one row per perturbation cycle, in log order; only
//                     when the log holds perturbation results.
// Numbers are copied as the run wrote them; ids of proteins and motifs are
// replaced by their names.
std::vector<std::pair<std::string, std::string>> ReportTables(const RunLog& log, const Predictions& predictions,
                                                              const Names& names, const RunInputs& inputs);

// What a cycle forced non-binding, with names: "motif PF00069 of P12345 with
// P67890", "motif types PF00069 and PF00017", "motif PF00069 of P12345 with
// motif PF00017 of P67890".
std::string PerturbationWhat(const PerturbationCycle& cycle, const Names& names);

// 1 - p for a probability as written, in exact decimal where that is short
// enough ("0.638169" gives "0.361831", "1.5e-12" gives "0.9999999999985");
// otherwise the shortest text of the double.
std::string ComplementText(const LoggedNumber& p);

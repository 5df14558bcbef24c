#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/report/Names.h"
#include "tools/report/ReportData.h"
#include "tools/report/RunInputs.h"
#include "tools/report/TopCycles.h"
#include "tools/runfiles/PredictionFile.h"
#include "tools/runfiles/RunLog.h"

// Rows of the top-interactions table unless --top says otherwise.
constexpr std::size_t DEFAULT_TOP = 50;

// What a report is asked to judge the run against.
struct ReportRequest {
    std::optional<std::pair<std::filesystem::path, std::filesystem::path>> truth; // interacting, not
    std::optional<std::filesystem::path> known;                                   // known interacting motif pairs
    // A simulated set's folder with truth_affinities.txt and the inputs that
    // count each motif pair's binding variables.
    std::optional<std::filesystem::path> planted;
    std::size_t top = DEFAULT_TOP; // rows of the top-interactions table
};

// Most motif pairs and perturbations the page shows.
constexpr std::size_t TOP_ROWS = 20;

// The TOP_ROWS cycles with the largest effects, named.
std::vector<PerturbationView> TopPerturbations(const std::vector<PerturbationCycle>& cycles, const Names& names);
std::vector<PerturbationView> PerturbationViews(const TopCycles& top, const Names& names);

// Gathers what report.html shows from what was read; the perturbations from
// log.perturbations (a log read with a CycleSink has none: see
// PerturbationViews). `predictions` is
// absent when the run wrote no prediction file.
ReportData BuildReport(const std::string& title, const RunLog& log, const Predictions* predictions, const Names& names,
                       const RunInputs& inputs, const ReportRequest& request);

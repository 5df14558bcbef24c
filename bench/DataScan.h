#pragma once

#include <string>

#include "bench/InputSet.h"
#include "bench/PerturbList.h"

// What the benchmark learns from a data set's input files before the runs.
struct DataScan {
    long observations = 0;
    WorkCounts work;
    PerturbList list;
};

// Reads the three input files, counts the work of a pass and chooses the
// perturbation list (see ChoosePerturbList) in a forked copy of this process,
// which hands back only the results. This process stays as small as it was:
// a child forked later starts with this process's resident memory, and the
// peak that wait4 reports for it can never be lower. Throws ToolError.
DataScan ScanDataSet(const std::string& observations, const std::string& proteinMotifs, const std::string& activePairs,
                     int perType, int pertPairs, int pertSize);

// The text form the child hands back, and its reading (throws ToolError).
std::string FormatScan(const DataScan& scan);
DataScan ParseScan(const std::string& text);

#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "bench/Figures.h"
#include "bench/InputSet.h"

// The data set a benchmark ran on and the perturbation work it set up.
struct DataSummary {
    std::string setting;
    unsigned seed = 0;
    std::string folder;
    long proteins = -1; // from -f; -1 when the command line lacks it
    long motifs = -1;
    long observations = 0;
    WorkCounts work;
    long long predictPairs = 0; // records of the list of pairs to predict
    bool allPairs = false;      // the list holds every pair
    int perType = 1;
    std::size_t candidates = 0;
    int pertSize = -1;
    long cycles = 0;
};

// One executable's runs.
struct SideRuns {
    std::string label;   // "new" or "old"
    std::string command; // the executable and the options put first
    std::vector<Figures> runs;
};

// 1234567 -> "1,234,567".
std::string FormatCount(long long n);
// At least `decimals` decimals, and with `significant` three significant
// digits for a value below 1 (at most 6 decimals); "-" for NaN.
std::string FormatFigure(double value, int decimals, bool significant = false);

// The report's heading, which names the benchmark's version:
// "## motifbind-bench 1.0.0: quick".
std::string ReportTitle(const std::string& setting);

void PrintDataSummary(std::ostream& out, const DataSummary& data);

// One table: a row per figure, a column of medians per side and, with two
// sides, old/new (the second side over the first) for the times and memory.
void PrintFigureTable(std::ostream& out, const std::vector<SideRuns>& sides);

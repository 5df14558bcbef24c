#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "bench/LogTimer.h"

// The figures one run yields, in the order the table shows them.
enum class Figure : std::size_t {
    SetupWall,
    SetupCpu,
    PlanWall,
    PlanCpu,
    Em1Wall,
    Em1Cpu,
    Em1Rounds,
    Em1MsPerRound,
    Em1NsPerVariable,
    DdiWall,
    DdiCpu,
    Em2Wall,
    Em2Cpu,
    Em2Rounds,
    Em2MsPerRound,
    Em2NsPerVariable,
    PredictWall,
    PredictCpu,
    PredictPairs,
    PredictNsPerPair,
    PredictMiB,
    PerturbWall,
    PerturbCpu,
    Cycles,
    CycleMedian,
    CycleMean,
    TotalWall,
    TotalCpu,
    PeakMiB,
    Count,
};

inline constexpr std::size_t FIGURE_COUNT = static_cast<std::size_t>(Figure::Count);

struct FigureInfo {
    const char* label;
    // Decimals shown at least; a value below 1 gets more when `significant`.
    int decimals;
    // Whether the table shows old/new for it (times and memory, not counts).
    bool ratio;
    // Whether small values deserve three significant digits: wall times
    // (steady clock) do, CPU times (10 ms ticks) do not.
    bool significant;
};

const FigureInfo& Info(Figure f);

// One run's figures; NaN where the log lacked the lines to measure it.
class Figures {
public:
    Figures();
    double& operator[](Figure f) { return values_[static_cast<std::size_t>(f)]; }
    double operator[](Figure f) const { return values_[static_cast<std::size_t>(f)]; }

private:
    std::array<double, FIGURE_COUNT> values_;
};

// What one run measured from outside.
struct RunMeasure {
    std::vector<LogMark> marks;
    double wall = 0;             // from fork to exit
    double cpu = 0;              // from wait4
    double peakMiB = 0;          // from wait4
    double predictionBytes = -1; // size of the prediction file; -1 when unknown
};

// The phases are the spans between phase lines: set-up from the start to
// "RunEM without DDI"; the plan compilation from there to the first "Start
// of EM" (which holds the first log joint); EM without DDI from there (from
// "RunEM without DDI" in a log without it) to the first "Total # EM round"; the
// DDI init round from "initializing DDI model" to "RunEM with DDI"; EM with
// DDI to the second "Total # EM round"; predictions from there to "Joint prob
// before perturbation"; the perturbation analysis from there to "End of
// file", each cycle from its first line to the next cycle's (the last to
// "End of file"). `bindingVariables` sizes one EM pass, `predictPairs` the
// list of pairs whose interaction is predicted (0: unknown).
Figures ComputeFigures(const RunMeasure& run, long long bindingVariables, long long predictPairs = 0);

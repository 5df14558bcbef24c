#include "bench/Figures.h"

#include <limits>

#include "bench/Stats.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

const FigureInfo INFO[FIGURE_COUNT] = {
    {"set-up wall (s)", 3, true, true},
    {"set-up CPU (s)", 2, true, false},
    {"plan compilation wall (s)", 3, true, true},
    {"plan compilation CPU (s)", 2, true, false},
    {"EM without DDI wall (s)", 3, true, true},
    {"EM without DDI CPU (s)", 2, true, false},
    {"EM without DDI rounds", 0, false, false},
    {"EM without DDI per round (ms)", 2, true, true},
    {"EM without DDI per binding variable and round (ns)", 1, true, true},
    {"DDI init round wall (s)", 3, true, true},
    {"DDI init round CPU (s)", 2, true, false},
    {"EM with DDI wall (s)", 3, true, true},
    {"EM with DDI CPU (s)", 2, true, false},
    {"EM with DDI rounds", 0, false, false},
    {"EM with DDI per round (ms)", 2, true, true},
    {"EM with DDI per binding variable and round (ns)", 1, true, true},
    {"predictions wall (s)", 3, true, true},
    {"predictions CPU (s)", 2, true, false},
    {"prediction pairs", 0, false, false},
    {"predictions per pair (ns)", 1, true, true},
    {"prediction file (MiB)", 1, false, false},
    {"perturbation wall (s)", 3, true, true},
    {"perturbation CPU (s)", 2, true, false},
    {"perturbation cycles", 0, false, false},
    {"per cycle, median (s)", 3, true, true},
    {"per cycle, mean (s)", 3, true, true},
    {"total wall (s)", 3, true, true},
    {"total CPU (s)", 2, true, false},
    {"peak memory (MiB)", 1, true, false},
};

// The n-th (1-based) mark of `event`, or nullptr.
const LogMark* Find(const std::vector<LogMark>& marks, LogEvent event, int n = 1)
{
    for (const LogMark& m : marks) {
        if (m.event == event && --n == 0) {
            return &m;
        }
    }
    return nullptr;
}

struct Span {
    double wall = NaN;
    double cpu = NaN;
};

Span Between(const LogMark* from, const LogMark* to)
{
    if (from == nullptr || to == nullptr) {
        return {};
    }
    return {to->wall - from->wall, to->cpu - from->cpu};
}

void SetEm(Figures& f, Span span, const LogMark* end, long long vars, Figure wall, Figure cpu, Figure rounds, Figure ms,
           Figure ns)
{
    f[wall] = span.wall;
    f[cpu] = span.cpu;
    if (end == nullptr || end->rounds <= 0) {
        return;
    }
    f[rounds] = end->rounds;
    f[ms] = span.wall * 1e3 / end->rounds;
    if (vars > 0) {
        f[ns] = span.wall * 1e9 / end->rounds / static_cast<double>(vars);
    }
}

} // namespace

const FigureInfo& Info(Figure f) { return INFO[static_cast<std::size_t>(f)]; }

Figures::Figures() { values_.fill(NaN); }

Figures ComputeFigures(const RunMeasure& run, long long bindingVariables, long long predictPairs)
{
    const std::vector<LogMark>& m = run.marks;
    Figures f;
    const LogMark start{LogEvent::None, -1, 0.0, 0.0};
    const LogMark* em1 = Find(m, LogEvent::EmWithoutDdi);
    const LogMark* end1 = Find(m, LogEvent::EmEnd, 1);
    // The first "Start of EM" belongs to the phase without DDI evidence.
    const LogMark* start1 = Find(m, LogEvent::EmStart);
    if (start1 != nullptr && (em1 == nullptr || start1 < em1 || (end1 != nullptr && start1 > end1))) {
        start1 = nullptr;
    }
    const LogMark* ddi = Find(m, LogEvent::DdiInit);
    const LogMark* em2 = Find(m, LogEvent::EmWithDdi);
    const LogMark* end2 = Find(m, LogEvent::EmEnd, 2);
    const LogMark* before = Find(m, LogEvent::BeforePerturbation);
    const LogMark* eof = Find(m, LogEvent::EndOfFile);

    const Span setup = Between(&start, em1);
    f[Figure::SetupWall] = setup.wall;
    f[Figure::SetupCpu] = setup.cpu;
    const Span plan = Between(em1, start1);
    f[Figure::PlanWall] = plan.wall;
    f[Figure::PlanCpu] = plan.cpu;
    SetEm(f, Between(start1 != nullptr ? start1 : em1, end1), end1, bindingVariables, Figure::Em1Wall, Figure::Em1Cpu,
          Figure::Em1Rounds, Figure::Em1MsPerRound, Figure::Em1NsPerVariable);
    const Span init = Between(ddi, em2);
    f[Figure::DdiWall] = init.wall;
    f[Figure::DdiCpu] = init.cpu;
    SetEm(f, Between(em2, end2), end2, bindingVariables, Figure::Em2Wall, Figure::Em2Cpu, Figure::Em2Rounds,
          Figure::Em2MsPerRound, Figure::Em2NsPerVariable);
    const Span predict = Between(end2, before);
    f[Figure::PredictWall] = predict.wall;
    f[Figure::PredictCpu] = predict.cpu;
    if (predictPairs > 0) {
        f[Figure::PredictPairs] = static_cast<double>(predictPairs);
        f[Figure::PredictNsPerPair] = predict.wall * 1e9 / static_cast<double>(predictPairs);
    }
    if (run.predictionBytes >= 0) {
        f[Figure::PredictMiB] = run.predictionBytes / (1024.0 * 1024.0);
    }
    const Span perturb = Between(before, eof);
    f[Figure::PerturbWall] = perturb.wall;
    f[Figure::PerturbCpu] = perturb.cpu;

    if (before != nullptr && eof != nullptr && before < eof) {
        // Both point into `m`, which is in log order.
        std::vector<double> starts;
        for (const LogMark* mark = before + 1; mark != eof; ++mark) {
            if (mark->event == LogEvent::CycleStart) {
                starts.push_back(mark->wall);
            }
        }
        std::vector<double> cycles;
        for (std::size_t i = 0; i < starts.size(); ++i) {
            cycles.push_back((i + 1 < starts.size() ? starts[i + 1] : eof->wall) - starts[i]);
        }
        f[Figure::Cycles] = static_cast<double>(cycles.size());
        f[Figure::CycleMedian] = Median(cycles);
        f[Figure::CycleMean] = Mean(cycles);
    }
    f[Figure::TotalWall] = run.wall;
    f[Figure::TotalCpu] = run.cpu;
    f[Figure::PeakMiB] = run.peakMiB;
    return f;
}

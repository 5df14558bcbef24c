// Phase figures from a run's marks (made-up times, no clock involved), the
// median and mean, and /proc stat parsing.
#include <gtest/gtest.h>

#include <cmath>

#include "bench/Figures.h"
#include "bench/ProcessCpu.h"
#include "bench/Stats.h"

namespace {

LogMark At(LogEvent e, double wall, double cpu, int rounds = -1) { return {e, rounds, wall, cpu}; }

RunMeasure Sample()
{
    RunMeasure run;
    run.marks = {
        At(LogEvent::EmWithoutDdi, 1.0, 0.9), At(LogEvent::EmEnd, 5.0, 4.9, 100),
        At(LogEvent::DdiInit, 5.1, 5.0),      At(LogEvent::EmWithDdi, 5.5, 5.4),
        At(LogEvent::EmEnd, 7.5, 7.4, 50),    At(LogEvent::BeforePerturbation, 8.0, 7.8),
        At(LogEvent::CycleStart, 8.1, 7.9),   At(LogEvent::CycleStart, 8.4, 8.2),
        At(LogEvent::CycleStart, 9.4, 9.2),   At(LogEvent::EndOfFile, 9.6, 9.4),
    };
    run.wall = 9.7;
    run.cpu = 9.45;
    run.peakMiB = 30;
    return run;
}

TEST(FiguresTest, PhasesAreTheSpansBetweenTheirLines)
{
    const Figures f = ComputeFigures(Sample(), 1000);
    EXPECT_DOUBLE_EQ(f[Figure::SetupWall], 1.0);
    EXPECT_DOUBLE_EQ(f[Figure::SetupCpu], 0.9);
    EXPECT_DOUBLE_EQ(f[Figure::Em1Wall], 4.0);
    EXPECT_DOUBLE_EQ(f[Figure::Em1Rounds], 100);
    EXPECT_DOUBLE_EQ(f[Figure::Em1MsPerRound], 40.0);
    EXPECT_DOUBLE_EQ(f[Figure::Em1NsPerVariable], 40000.0);
    EXPECT_NEAR(f[Figure::DdiWall], 0.4, 1e-12);
    EXPECT_DOUBLE_EQ(f[Figure::Em2Wall], 2.0);
    EXPECT_DOUBLE_EQ(f[Figure::Em2Rounds], 50);
    EXPECT_DOUBLE_EQ(f[Figure::Em2MsPerRound], 40.0);
    EXPECT_DOUBLE_EQ(f[Figure::PredictWall], 0.5);
    EXPECT_NEAR(f[Figure::PerturbWall], 1.6, 1e-12);
    EXPECT_NEAR(f[Figure::PerturbCpu], 1.6, 1e-12);
    EXPECT_DOUBLE_EQ(f[Figure::TotalWall], 9.7);
    EXPECT_DOUBLE_EQ(f[Figure::PeakMiB], 30);
}

TEST(FiguresTest, CyclesRunFromOneStartToTheNextAndTheLastToTheEnd)
{
    const Figures f = ComputeFigures(Sample(), 1000);
    EXPECT_EQ(f[Figure::Cycles], 3);
    // Cycles of 0.3, 1.0 and 0.2 s.
    EXPECT_NEAR(f[Figure::CycleMedian], 0.3, 1e-12);
    EXPECT_NEAR(f[Figure::CycleMean], 0.5, 1e-12);
}

TEST(FiguresTest, PlanCompilationEndsWhereTheFirstRoundsStart)
{
    RunMeasure run = Sample();
    // The first "Start of EM" follows the compilation of the plan; the
    // second belongs to the phase with DDI evidence.
    run.marks.insert(run.marks.begin() + 1, At(LogEvent::EmStart, 1.5, 1.4));
    run.marks.insert(run.marks.begin() + 5, At(LogEvent::EmStart, 5.6, 5.5));
    run.predictionBytes = 3 * 1048576.0;
    const Figures f = ComputeFigures(run, 1000, 2000);
    EXPECT_DOUBLE_EQ(f[Figure::PlanWall], 0.5);
    EXPECT_NEAR(f[Figure::PlanCpu], 0.5, 1e-12);
    EXPECT_DOUBLE_EQ(f[Figure::Em1Wall], 3.5);
    EXPECT_DOUBLE_EQ(f[Figure::Em1MsPerRound], 35.0);
    EXPECT_DOUBLE_EQ(f[Figure::Em2Wall], 2.0);
    // Predictions: 0.5 s for 2000 pairs.
    EXPECT_DOUBLE_EQ(f[Figure::PredictPairs], 2000);
    EXPECT_DOUBLE_EQ(f[Figure::PredictNsPerPair], 250000.0);
    EXPECT_DOUBLE_EQ(f[Figure::PredictMiB], 3.0);
    // Without the line (an older log), EM without DDI starts at its phase line.
    const Figures old = ComputeFigures(Sample(), 1000);
    EXPECT_TRUE(std::isnan(old[Figure::PlanWall]));
    EXPECT_DOUBLE_EQ(old[Figure::Em1Wall], 4.0);
    EXPECT_TRUE(std::isnan(old[Figure::PredictNsPerPair]));
    EXPECT_TRUE(std::isnan(old[Figure::PredictMiB]));
}

TEST(FiguresTest, MissingLinesLeaveTheirFiguresEmpty)
{
    RunMeasure run = Sample();
    run.marks.resize(2); // the run stopped after the first EM phase
    const Figures f = ComputeFigures(run, 0);
    EXPECT_DOUBLE_EQ(f[Figure::Em1Wall], 4.0);
    EXPECT_TRUE(std::isnan(f[Figure::Em1NsPerVariable])); // no binding variables to share the time
    EXPECT_TRUE(std::isnan(f[Figure::DdiWall]));
    EXPECT_TRUE(std::isnan(f[Figure::Em2Wall]));
    EXPECT_TRUE(std::isnan(f[Figure::Cycles]));
    EXPECT_DOUBLE_EQ(f[Figure::TotalWall], 9.7);
}

TEST(StatsTest, MedianAndMeanLeaveOutMissingValues)
{
    EXPECT_DOUBLE_EQ(Median({3, 1, 2}), 2);
    EXPECT_DOUBLE_EQ(Median({4, 1, 3, 2}), 2.5);
    EXPECT_DOUBLE_EQ(Median({5}), 5);
    EXPECT_DOUBLE_EQ(Median({NAN, 7, 1}), 4);
    EXPECT_TRUE(std::isnan(Median({})));
    EXPECT_TRUE(std::isnan(Median({NAN})));
    EXPECT_DOUBLE_EQ(Mean({1, 2, NAN, 6}), 3);
    EXPECT_TRUE(std::isnan(Mean({})));
}

TEST(ProcessCpuTest, AddsUserAndSystemTicksAfterTheCommandName)
{
    // The command name may hold spaces and parentheses.
    const char* stat = "4242 (motif bind) (x)) R 1 4242 4242 0 -1 4194560 100 0 0 0 250 17 0 0 20 0 1 0 99";
    EXPECT_EQ(StatCpuTicks(stat), 267);
    EXPECT_EQ(StatCpuTicks("4242 (short) R 1 2"), -1);
    EXPECT_EQ(StatCpuTicks(""), -1);
}

} // namespace

// The log lines that bound the phases, and lines that only look like them.
#include <gtest/gtest.h>

#include "bench/LogPhases.h"

namespace {

LogEvent Event(const char* line, int perType = 1) { return ClassifyLogLine(line, perType).event; }

TEST(LogPhasesTest, RecognisesEachPhaseLine)
{
    EXPECT_EQ(Event("****** RunEM without DDI ..."), LogEvent::EmWithoutDdi);
    EXPECT_EQ(Event("****** initializing DDI model ..."), LogEvent::DdiInit);
    EXPECT_EQ(Event("****** RunEM with DDI ..."), LogEvent::EmWithDdi);
    EXPECT_EQ(Event("Joint prob before perturbation:\t-1895.4267739227"), LogEvent::BeforePerturbation);
    EXPECT_EQ(Event("*** End of file."), LogEvent::EndOfFile);
    EXPECT_EQ(Event(""), LogEvent::None);
    EXPECT_EQ(Event("*** Start of EM, before round 0. Log joint:\t-1847.16414048281"), LogEvent::EmStart);
    EXPECT_EQ(Event("*** Joint prob:\t-2242.61689921005"), LogEvent::None);
}

TEST(LogPhasesTest, EmEndCarriesTheRounds)
{
    const LogLine end = ClassifyLogLine("*** Total # EM round and joint prob:\t138\t-83876.7172492508", 1);
    EXPECT_EQ(end.event, LogEvent::EmEnd);
    EXPECT_EQ(end.rounds, 138);
    EXPECT_EQ(ClassifyLogLine("*** Total # EM round and joint prob:\tx\t-1", 1).rounds, -1);
    // The perturbation cycles' own round counts are something else.
    EXPECT_EQ(Event("*** Total # EM round (Prot1, Mot1, Prot2, EM):\t93\t0\t16\t2"), LogEvent::None);
}

TEST(LogPhasesTest, CycleStartDependsOnTheAnalysis)
{
    const char* setNonBind =
        "*** SetNonBind (prot1, mot1, prob2, numLeak, numNBLeak, numActLeak):\t93\t0\t16\t26\t2\t24";
    const char* forcedPair =
        "*** Non-interaction probability after forcing an active motif and a protein to be "
        "non-binding (Prot1, Mot1, Prot2, Prob):\t93\t0\t16\t0";
    const char* forcedType =
        "*** Likelihood change after forcing a pair of motif types to be non-binding (Mot1, "
        "Mot2, Prob):\t1\t0\t-3.5";
    EXPECT_EQ(Event(setNonBind, 1), LogEvent::CycleStart);
    // -p 1 writes this line inside each cycle too: it must not split them.
    EXPECT_EQ(Event(forcedPair, 1), LogEvent::None);
    EXPECT_EQ(Event(forcedPair, 3), LogEvent::CycleStart);
    EXPECT_EQ(Event(forcedType, 2), LogEvent::CycleStart);
    EXPECT_EQ(Event(forcedType, 1), LogEvent::None);
    EXPECT_EQ(Event(setNonBind, 0), LogEvent::None);
    EXPECT_TRUE(CycleMarker(0).empty());
}

} // namespace

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/Progress.h"

// The status line redraws itself in place: carriage return, text, erase to
// the end of the line. It never ends a line, so a terminal keeps one line.
TEST(ProgressLine, DrawsInPlaceAndClearsItself)
{
    std::ostringstream out;
    {
        ProgressLine p(out, true);
        p.Rounds("EM without DDI", 3, -12.5);
        EXPECT_EQ(out.str(), "\rEM without DDI: 3 rounds, log joint -12.5\033[K");
        out.str("");
        p.BeginCycles();
        p.Cycles(4, 4); // the last cycle is always drawn
        EXPECT_EQ(out.str(), "\rPerturbation: 4 of 4 cycles\033[K");
        out.str("");
        p.Clear();
        EXPECT_EQ(out.str(), "\r\033[K");
        out.str("");
        p.Clear(); // nothing left to clear
        EXPECT_EQ(out.str(), "");
        p.BeginCycles();
        p.Cycles(1, 3);
    }
    // Going away clears what is shown; partial counts say how long is left.
    EXPECT_EQ(out.str().rfind("\rPerturbation: 1 of 3 cycles, about ", 0), 0u) << out.str();
    EXPECT_NE(out.str().find(" left\033[K\r\033[K"), std::string::npos) << out.str();
}

TEST(ProgressLine, SilentWhenNotShown)
{
    std::ostringstream out;
    {
        ProgressLine p(out, false);
        EXPECT_FALSE(p.Enabled());
        p.Rounds("EM with DDI", 6, -1.0);
        p.BeginCycles();
        p.Cycles(1, 1);
        p.Clear();
    }
    EXPECT_EQ(out.str(), "");
}

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/Progress.h"
#include "app/ProgressGuardBuf.h"

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

// Standard output and error on one terminal: the guard in front of standard
// output takes the status line away before output passes and draws it again
// below each finished line, never under a line still being written.
TEST(ProgressGuard, OutputNeverRunsIntoTheStatusLine)
{
    std::stringbuf terminal; // what the screen receives, both streams in order
    std::ostream err(&terminal);
    ProgressLine p(err, true);
    ProgressGuardBuf guard(&terminal, p);
    std::ostream out(&guard);

    out << "before any status\n" << std::flush; // nothing to take away yet
    p.Rounds("EM without DDI", 3, -111572);
    out << "Log likelihood at start of iteration " << 0 << ": " << -2.5 << std::endl;
    const std::string line = "\rEM without DDI: 3 rounds, log joint -111572\033[K";
    const std::string erase = "\r\033[K";
    EXPECT_EQ(terminal.str(),
              "before any status\n" + line + erase + "Log likelihood at start of iteration 0: -2.5\n" + line);

    // A line in pieces: the status line waits below the finished line, and an
    // update that comes meanwhile is drawn only then.
    terminal.str("");
    out << "Converged in ";
    p.Cycles(1, 1);
    EXPECT_EQ(terminal.str(), erase + "Converged in ");
    out << 7 << " iterations" << std::endl;
    EXPECT_EQ(terminal.str(), erase + "Converged in 7 iterations\n\rPerturbation: 1 of 1 cycles\033[K");

    // Once cleared, output passes alone and nothing comes back.
    p.Clear();
    terminal.str("");
    out << "Log likelihood at start of iteration 1: -2\n" << std::flush;
    EXPECT_EQ(terminal.str(), "Log likelihood at start of iteration 1: -2\n");
}

// Whatever the status line does, the bytes of standard output pass through
// the guard unchanged and in order, with and without a status line shown.
TEST(ProgressGuard, PassesEveryByteOfStandardOutputUnchanged)
{
    for (const bool show : {true, false}) {
        std::ostringstream err, direct;
        std::stringbuf below;
        ProgressLine p(err, show);
        ProgressGuardBuf guard(&below, p);
        std::ostream out(&guard);
        out.precision(15);
        direct.precision(15);
        for (int i = 0; i < 50; ++i) {
            p.Rounds("EM with DDI", i, -1.0 / (i + 1));
            for (std::ostream* o : {&out, static_cast<std::ostream*>(&direct)}) {
                *o << "Log likelihood at start of iteration " << i << ": " << -1.0 / 3 * i;
                if (i % 3 == 0)
                    *o << std::endl;
                else
                    *o << '\n';
                o->put('x').write("\0y\n", 3);
            }
        }
        EXPECT_EQ(below.str(), direct.str()) << show;
        EXPECT_EQ(err.str().empty(), !show);
    }
}

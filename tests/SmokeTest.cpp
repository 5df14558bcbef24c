#include <gtest/gtest.h>

#include "support/TestUtil.h"

// The worked example: one observed pair carrying one free binding variable of
// affinity 0.5 and no leak variable, P1 = 0.8 and P0 = 0.2.
TEST(Smoke, WholeRunEndsWithStatusZero)
{
    testutil::TempDir d;
    testutil::WriteWorkedExample(d);
    const auto r =
        testutil::RunMotifbind({"-f",    "2",    "2",   "-l",   "2",     "-p",    "4", "obs", "models", "pmc", "act",
                                "inact", "wait", "log", "pred", "pairs", "pairs", "1", "len", "10",     "cov"},
                               d.Path());
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string log = testutil::ReadFile(d.File("log"));
    EXPECT_NE(log.find("*** End of file.\n"), std::string::npos);
}

#include <gtest/gtest.h>

#include "support/TestUtil.h"

// The worked example: one observed pair carrying one free binding variable of
// affinity 0.5 and no leak variable, P1 = 0.8 and P0 = 0.2.
TEST(Smoke, WholeRunEndsWithStatusZero)
{
    testutil::TempDir d;
    d.Write("obs", "1 0 1 0 1\n");
    d.Write("models", "0 OM_BINARY 0.8\n1 OM_BINARY 0.2\n");
    d.Write("pmc", "1 0 5\n0 1 5\n");
    d.Write("act", "0 1 0.5\n");
    d.Write("inact", "");
    d.Write("wait", "");
    d.Write("pairs", "1 0\n");
    d.Write("len", "0 10\n1 10\n");
    d.Write("cov", "0 5\n1 5\n");
    const auto r = testutil::RunMotifbind({"-f", "2", "2", "-l", "2", "-p", "4", "obs", "models", "pmc", "act",
                                           "inact", "wait", "log", "pred", "pairs", "pairs", "1", "len", "10", "cov"},
                                          d.Path());
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string log = testutil::ReadFile(d.File("log"));
    EXPECT_NE(log.find("*** End of file.\n"), std::string::npos);
}

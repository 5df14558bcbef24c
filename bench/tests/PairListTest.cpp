// The list of pairs to predict: its length as motifbind reads it, and the
// list of every pair written for the all-pairs setting.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "bench/PairList.h"
#include "support/TempDir.h"
#include "tools/toolbox/ToolError.h"

namespace {

namespace fs = std::filesystem;

using Folder = testutil::TempDir;
using testutil::ReadFile;

TEST(PairListTest, RecordsAreCountedUpToTheFirstThatIsNotTwoIntegers)
{
    const Folder f;
    EXPECT_EQ(CountPairRecords(f.Write("a", "1 0\n2 2\n3\t1\n")), 3);
    EXPECT_EQ(CountPairRecords(f.Write("b", "1 0 2\n")), 1); // an unpaired last integer
    EXPECT_EQ(CountPairRecords(f.Write("c", "1 0\nx 2\n3 4\n")), 1);
    EXPECT_EQ(CountPairRecords(f.Write("d", "")), 0);
    EXPECT_THROW(CountPairRecords((f.Path() / "missing").string()), ToolError);
}

TEST(PairListTest, EveryPairOnceLargerIdFirst)
{
    const Folder f;
    std::ostringstream progress;
    const std::string path = EnsureAllPairsList(f.Path().string(), 3, progress);
    EXPECT_EQ(ReadFile(path), "0\t0\n1\t0\n1\t1\n2\t0\n2\t1\n2\t2\n");
    EXPECT_EQ(AllPairsCount(3), 6);
    EXPECT_EQ(CountPairRecords(path), AllPairsCount(3));
    EXPECT_EQ(AllPairsCount(6000), 18003000);
    EXPECT_FALSE(progress.str().empty());
    // Written once: the list found is reused.
    std::ostringstream again;
    EXPECT_EQ(EnsureAllPairsList(f.Path().string(), 3, again), path);
    EXPECT_TRUE(again.str().empty());
    // Long enough to pass through several chunks.
    const std::string big = EnsureAllPairsList(f.Path().string(), 700, progress);
    EXPECT_EQ(CountPairRecords(big), AllPairsCount(700));
    EXPECT_EQ(fs::file_size(big) > (1u << 20), true);
}

} // namespace

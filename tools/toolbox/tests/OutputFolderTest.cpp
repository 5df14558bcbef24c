// An output folder appears complete or not at all, and nothing in it is
// ever replaced.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "tools/toolbox/OutputFolder.h"
#include "tools/toolbox/ToolError.h"

namespace fs = std::filesystem;

namespace {

class OutputFolderTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    // Everything in the test folder, hidden names included, one per line.
    std::string Listing() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(dir_)) {
            names.push_back(fs::relative(e.path(), dir_).string());
        }
        std::sort(names.begin(), names.end());
        std::string s;
        for (const std::string& n : names) {
            s += n + "\n";
        }
        return s;
    }

    testutil::TempDir tmp_;
    const std::filesystem::path dir_ = tmp_.Path();
};

using testutil::ReadFile;

TEST_F(OutputFolderTest, ANewFolderAppearsWithAllItsFilesAtTheCommit)
{
    OutputFolder folder(Path("set/"));
    folder.Begin();
    folder.Write("a.txt", "first");
    OutputFolder::File f = folder.Open("b.txt");
    f.Append("two ");
    f.Append("pieces");
    f.Close();
    // Until the commit only a hidden staging folder is there.
    EXPECT_FALSE(fs::exists(Path("set")));
    EXPECT_EQ(Listing().find("set\n"), std::string::npos);
    folder.Commit();
    EXPECT_EQ(Listing(), "set\nset/a.txt\nset/b.txt\n");
    EXPECT_EQ(ReadFile(Path("set/b.txt")), "two pieces");
}

TEST_F(OutputFolderTest, AWritingThatFailsLeavesNothing)
{
    {
        OutputFolder folder(Path("deep/set"));
        folder.Begin();
        folder.Write("a.txt", "first");
        EXPECT_THROW(folder.Write("a.txt", "again"), ToolError);
        // Gone out of scope without a commit: a later run finds no folder.
    }
    EXPECT_EQ(Listing(), "deep\n");
    // An existing empty folder keeps its state, and takes a second writing.
    fs::create_directories(Path("empty"));
    {
        OutputFolder folder(Path("empty"));
        folder.Begin();
        folder.Write("a.txt", "first");
    }
    EXPECT_TRUE(fs::is_empty(Path("empty")));
    OutputFolder folder(Path("empty"));
    folder.CreateWith({{"a.txt", "second"}});
    EXPECT_EQ(ReadFile(Path("empty/a.txt")), "second");
    EXPECT_EQ(Listing(), "deep\nempty\nempty/a.txt\n");
}

TEST_F(OutputFolderTest, AFileThatAppearedMeanwhileIsNeverReplaced)
{
    fs::create_directories(Path("set"));
    OutputFolder folder(Path("set"));
    folder.Begin();
    folder.Write("a.txt", "new a");
    folder.Write("b.txt", "new b");
    std::ofstream(Path("set/b.txt")) << "precious";
    const std::string expected =
        "cannot put '" + Path("set") + "/b.txt' in place: File exists; it is never overwritten";
    try {
        folder.Commit();
        FAIL() << "committed over a file";
    } catch (const ToolError& e) {
        EXPECT_EQ(e.what(), expected);
    }
    // a.txt, placed before, is taken back.
    EXPECT_FALSE(fs::exists(Path("set/a.txt")));
    EXPECT_EQ(ReadFile(Path("set/b.txt")), "precious");

    // A folder filled before the work starts is refused at once.
    OutputFolder again(Path("set"));
    EXPECT_THROW(again.CheckUsable(), ToolError);
    EXPECT_THROW(again.Begin(), ToolError);
}

} // namespace

// The data set's command line taken apart and put back together, the report
// table, and the comparison of run files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "bench/FileCompare.h"
#include "bench/MarkdownTable.h"
#include "bench/MotifbindCommand.h"
#include "bench/Report.h"
#include "motifbind/Version.h"
#include "support/TempDir.h"
#include "tools/toolbox/ToolError.h"

namespace fs = std::filesystem;

namespace {

const char* const LINE =
    "motifbind -f 300 60 -l 1 -p 1 -s 10 -d ddi_observations.txt ddi_models.txt ddi_options.txt "
    "ppi_observations.txt ppi_models.txt protein_motifs.txt active_motif_pairs.txt "
    "inactive_motif_pairs.txt waiting_motif_pairs.txt motifbind.log predictions.txt "
    "predict_interaction_pairs.txt predict_binding_pairs.txt 0.1 protein_lengths.txt 10000 "
    "motif_coverage.txt";

TEST(MotifbindCommandTest, ChangesOptionsAndFilesAndPutsLeadingOptionsFirst)
{
    MotifbindCommand cmd = MotifbindCommand::Parse(LINE);
    EXPECT_EQ(cmd.Option("-f"), (std::vector<std::string>{"300", "60"}));
    EXPECT_EQ(cmd.Positional(MotifbindCommand::OBSERVATIONS), "ppi_observations.txt");
    EXPECT_EQ(cmd.Positional(MotifbindCommand::BINDING_PAIRS), "predict_binding_pairs.txt");
    cmd.SetOption("-p", {"3"});
    cmd.SetOption("-n", {"2"});
    cmd.SetPositional(MotifbindCommand::LOG, "/tmp/x/log.fifo");
    const std::vector<std::string> argv = cmd.Argv("/bin/mb", {"-t", "2"});
    ASSERT_EQ(argv.size(), 1u + 2 + 3 + 2 + 2 + 2 + 4 + 2 + 14);
    EXPECT_EQ(argv[0], "/bin/mb");
    EXPECT_EQ(argv[1], "-t");
    EXPECT_EQ(argv[2], "2");
    EXPECT_EQ(argv[8], "-p"); // -f 300 60 -l 1 -p 3: replaced in place
    EXPECT_EQ(argv[9], "3");
    EXPECT_EQ(argv[16], "-n"); // a new option goes after the others
    EXPECT_EQ(argv[18 + MotifbindCommand::LOG], "/tmp/x/log.fifo");
    EXPECT_EQ(argv.back(), "motif_coverage.txt");
}

TEST(MotifbindCommandTest, RefusesMalformedLines)
{
    EXPECT_THROW(MotifbindCommand::Parse("motifbind -f 300"), ToolError);
    EXPECT_THROW(MotifbindCommand::Parse("mb -f 3 4 a b c d e f g h i j k l m n"), ToolError);
    EXPECT_THROW(MotifbindCommand::Parse("motifbind -x 1 a b c d e f g h i j k l m n"), ToolError);
    EXPECT_THROW(MotifbindCommand::Parse("motifbind a b c"), ToolError);
    EXPECT_NO_THROW(MotifbindCommand::Parse("motifbind a b c d e f g h i j k l m n"));
}

TEST(MotifbindCommandTest, ReadsTheEstimatorAndNoisePriorThatSetsNowCarry)
{
    const MotifbindCommand cmd = MotifbindCommand::Parse(std::string("motifbind -e 1 -b 200 ") + (LINE + 10));
    EXPECT_EQ(cmd.Option("-e"), std::vector<std::string>{"1"});
    EXPECT_EQ(cmd.Option("-b"), std::vector<std::string>{"200"});
    EXPECT_EQ(cmd.Option("-f"), (std::vector<std::string>{"300", "60"}));
    EXPECT_EQ(cmd.Positional(MotifbindCommand::OBSERVATIONS), "ppi_observations.txt");
    EXPECT_THROW(MotifbindCommand::Parse("motifbind -e a b c d e f g h i j k l m n"), ToolError);
}

TEST(MarkdownTableTest, PadsEveryCellToItsColumn)
{
    MarkdownTable t({"figure", "new"}, {MarkdownTable::Align::Left, MarkdownTable::Align::Right});
    t.AddRow({"total wall (s)", "1.5"});
    t.AddRow({"x"});
    std::ostringstream out;
    t.Print(out);
    EXPECT_EQ(out.str(),
              "| figure         | new |\n"
              "| :------------- | --: |\n"
              "| total wall (s) | 1.5 |\n"
              "| x              |     |\n");
    EXPECT_THROW(t.AddRow({"a", "b", "c"}), ToolError);
}

TEST(ReportTest, FormatsCountsAndMissingFigures)
{
    EXPECT_EQ(FormatCount(0), "0");
    EXPECT_EQ(FormatCount(999), "999");
    EXPECT_EQ(FormatCount(1596500), "1,596,500");
    EXPECT_EQ(FormatCount(-12345), "-12,345");
    EXPECT_EQ(FormatFigure(1.23456, 2), "1.23");
    EXPECT_EQ(FormatFigure(NAN, 2), "-");
    // Small wall times keep three significant digits; CPU ticks do not.
    EXPECT_EQ(FormatFigure(0.00163, 3, true), "0.00163");
    EXPECT_EQ(FormatFigure(0.163, 3, true), "0.163");
    EXPECT_EQ(FormatFigure(12.3456, 3, true), "12.346");
    EXPECT_EQ(FormatFigure(0.0, 3, true), "0.000");
    EXPECT_EQ(FormatFigure(0.00163, 2), "0.00");
}

TEST(ReportTest, HeadingNamesTheBenchmarkAndItsVersion)
{
    EXPECT_EQ(ReportTitle("proteome"), std::string("## motifbind-bench ") + MOTIFBIND_VERSION + ": proteome");
}

TEST(ReportTest, RatioIsOldOverNewForTimesOnly)
{
    Figures fresh, old;
    fresh[Figure::TotalWall] = 2.0;
    old[Figure::TotalWall] = 5.0;
    fresh[Figure::Em1Rounds] = 100;
    old[Figure::Em1Rounds] = 100;
    std::ostringstream out;
    PrintFigureTable(out, {{"new", "a", {fresh}}, {"old", "b", {old}}});
    std::string wallRow, roundsRow;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("| total wall")) {
            wallRow = line;
        }
        if (line.starts_with("| EM without DDI rounds")) {
            roundsRow = line;
        }
    }
    EXPECT_NE(wallRow.find("| 2.000 | 5.000 |    2.50 |"), std::string::npos) << wallRow;
    EXPECT_NE(roundsRow.find("|   100 |   100 |         |"), std::string::npos) << roundsRow;
}

TEST(FileCompareTest, ComparesRunFilesLineByLine)
{
    const testutil::TempDir dir;
    const auto Write = [&dir](const std::string& name, const std::string& text) { return dir.Write(name, text); };
    const std::string a = Write("a", "*** Command line: /old/mb x\nline 2\nline 3\n");
    const std::string b = Write("b", "*** Command line: /new/mb -t 2 x\nline 2\nline 3\n");
    const std::string c = Write("c", "*** Command line: /old/mb x\nline 2\nline 3 changed\n");
    const std::string d = Write("d", "*** Command line: /old/mb x\nline 2\n");
    const std::string e = Write("e", "*** Command line: /old/mb x\nline 2\nline 3");
    EXPECT_TRUE(CompareFiles(a, b, true).identical);
    EXPECT_EQ(CompareFiles(a, b, false).line, 1);
    EXPECT_EQ(CompareFiles(a, c, true).line, 3);
    EXPECT_EQ(CompareFiles(a, d, true).line, 3);
    EXPECT_EQ(CompareFiles(d, a, true).line, 3);
    EXPECT_FALSE(CompareFiles(a, e, true).identical); // only the final line break differs
    EXPECT_THROW(CompareFiles(a, dir.File("missing"), true), ToolError);
}

} // namespace

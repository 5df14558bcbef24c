// Bad requests end with one "Error: " line and status 1, and never touch
// existing files.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "motifbind/Version.h"
#include "tools/sim/SimConfig.h"
#include "tools/sim/tests/SimTestSupport.h"
#include "tools/toolbox/Cli.h"
#include "tools/toolbox/OutputFolder.h"
#include "tools/toolbox/ToolError.h"

namespace fs = std::filesystem;

namespace {

void ExpectOneErrorLine(const SimRun& run, const std::string& mention)
{
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("Error: ", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find(mention), std::string::npos) << "expected '" << mention << "' in: " << run.err;
    EXPECT_TRUE(run.out.empty());
}

TEST(RefusalTest, FolderThatHoldsFilesIsLeftUntouched)
{
    TempDir tmp;
    const fs::path folder = tmp.File("used");
    fs::create_directories(folder / "sub");
    std::ofstream(folder / "ppi_observations.txt") << "precious\n";
    ExpectOneErrorLine(RunSim({"--out", folder.string()}), "already holds files");
    EXPECT_EQ(ReadFile(folder / "ppi_observations.txt"), "precious\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);

    // A folder holding only an empty subfolder is not empty either.
    const fs::path other = tmp.File("other");
    fs::create_directories(other / "empty");
    ExpectOneErrorLine(RunSim({"--out", other.string()}), "already holds files");
}

TEST(RefusalTest, PathThatIsAFileIsRefused)
{
    TempDir tmp;
    const fs::path file = tmp.File("plain.txt");
    std::ofstream(file) << "x";
    ExpectOneErrorLine(RunSim({"--out", file.string()}), "not a folder");
    EXPECT_EQ(ReadFile(file), "x");
}

TEST(RefusalTest, EmptyOrMissingFolderIsAccepted)
{
    TempDir tmp;
    fs::create_directories(tmp.File("empty"));
    EXPECT_EQ(RunSim({"--out", tmp.File("empty"), "--pairs", "50"}).status, 0);
    EXPECT_EQ(RunSim({"--out", tmp.File("new/nested"), "--pairs", "50"}).status, 0);
    EXPECT_TRUE(fs::exists(tmp.File("new/nested/command.txt")));
}

TEST(RefusalTest, WritingNeverReplacesAFile)
{
    TempDir tmp;
    OutputFolder folder(tmp.File("f"));
    folder.Begin();
    folder.Write("a.txt", "first");
    EXPECT_THROW(folder.Write("a.txt", "second"), ToolError);
    folder.Commit();
    EXPECT_EQ(ReadFile(tmp.File("f/a.txt")), "first");
}

struct BadArgs {
    std::vector<std::string> args;
    std::string mention;
};

TEST(RefusalTest, BadParametersAreRefusedBeforeAnythingIsWritten)
{
    const std::vector<BadArgs> cases{
        {{}, "--out"},
        {{"stray"}, "stray"},
        {{"--bogus", "1"}, "--bogus"},
        {{"--pairs"}, "--pairs"},
        {{"--proteins", "0"}, "--proteins"},
        {{"--proteins", "12x"}, "12x"},
        {{"--proteins", "46341"}, "--proteins"},
        {{"--fpr", "1.5"}, "--fpr"},
        {{"--fpr", "nan"}, "--fpr"},
        {{"--score-var", "0"}, "--score-var"},
        {{"--fpr", "0.6", "--fnr", "0.5"}, "--fnr"},
        {{"--leak-type", "3"}, "--leak-type"},
        {{"--leak-type", "2", "--leak", "0.1"}, "--leak"},
        {{"--proteins", "10", "--pairs", "100"}, "--pairs"},
        {{"--proteins", "10", "--pairs", "20", "--self-frac", "1"}, "--self-frac"},
        {{"--motifs", "3", "--active-pairs", "7"}, "--active-pairs"},
        // Far fewer than the motifs allow, but more than can be drawn in time.
        {{"--motifs", "46340", "--active-pairs", "1000000000"}, "--active-pairs"},
        {{"--ddi-sens", "0.01", "--ddi-fpr", "0.02"}, "--ddi-fpr"},
        {{"--pertype", "4"}, "--pertype"},
        {{"--seed", "-3"}, "--seed"},
    };
    for (const BadArgs& c : cases) {
        TempDir tmp;
        std::vector<std::string> args = c.args;
        if (c.mention != "--out") {
            args.insert(args.begin(), {"--out", tmp.File("set")});
        }
        SCOPED_TRACE(c.mention);
        ExpectOneErrorLine(RunSim(args), c.mention);
        EXPECT_FALSE(fs::exists(tmp.File("set")));
    }
}

TEST(RefusalTest, AMisspeltOptionIsNamedBeforeTheMissingFolder)
{
    const SimRun run = RunSim({"--protiens", "10"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Error: --protiens is not an option; did you mean --proteins?\n");
    EXPECT_EQ(run.out, "");
}

TEST(HelpTest, VersionIsTheProgramAndTheBuildsVersion)
{
    const SimRun run = RunSim({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, std::string("motifbind-sim ") + MOTIFBIND_VERSION + "\n");
    EXPECT_EQ(run.err, "");
}

// Far more motif families than proteins is a valid set, domain-domain
// evidence included: motif pairs are keyed on their own, not like proteins.
TEST(RefusalTest, ManyMoreMotifsThanProteinsAreAccepted)
{
    TempDir tmp;
    const SimRun run =
        RunSim({"--out", tmp.File("set"), "--proteins", "2", "--motifs", "30", "--pairs", "1", "--ddi", "1"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(tmp.File("set/ddi_options.txt")));
}

TEST(HelpTest, EveryOptionStatesAValidDefault)
{
    const SimRun run = RunSim({"--help"});
    ASSERT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.empty());
    EXPECT_NE(run.out.find("--proteins"), std::string::npos);

    // Each stated default, fed back, must be accepted: they are real values.
    SimConfig config;
    CLI::App app;
    DefineSimOptions(app, config);
    int options = 0;
    for (const CLI::Option* opt : app.get_options()) {
        const std::string name = opt->get_name();
        if (name == "--help" || name == "--out" || name == "--leak") {
            continue; // no value, required, or depends on the leak type
        }
        ++options;
        SCOPED_TRACE(name);
        ASSERT_FALSE(opt->get_default_str().empty());
        EXPECT_NE(run.out.find(name), std::string::npos);
        EXPECT_NO_THROW(ParseSimArgs({"--out", "unused", name, opt->get_default_str()}));
    }
    EXPECT_GE(options, 36);
}

} // namespace

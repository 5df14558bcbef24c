// The benchmark's command line: its options, defaults and ranges through the
// helpers' option toolbox, and the refusals it adds.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "bench/BenchOptions.h"
#include "motifbind/Version.h"
#include "tools/toolbox/ToolError.h"

namespace {

const BuildPaths PATHS{"/build/tools/motifbind-sim", "/build/motifbind", "/build/bench/data"};

BenchOptions Parse(const std::vector<std::string>& args)
{
    std::ostringstream text;
    const std::optional<BenchOptions> o = ParseBenchOptions(args, PATHS, text);
    EXPECT_TRUE(o.has_value()) << text.str();
    return o.value_or(BenchOptions{});
}

// The message of the error the words are refused with.
std::string Refusal(const std::vector<std::string>& args)
{
    std::ostringstream text;
    try {
        ParseBenchOptions(args, PATHS, text);
    } catch (const ToolError& e) {
        return e.what();
    }
    return "accepted";
}

TEST(BenchOptionsTest, DefaultsComeFromTheBuildAndTheSetting)
{
    const BenchOptions o = Parse({});
    EXPECT_EQ(o.setting, "quick");
    EXPECT_EQ(o.seed, 1u);
    EXPECT_EQ(o.dataRoot, PATHS.dataRoot);
    EXPECT_EQ(o.sim, PATHS.sim);
    EXPECT_EQ(o.exe, PATHS.motifbind);
    EXPECT_EQ(o.vs, "");
    EXPECT_EQ(o.runs, 1);
    EXPECT_EQ(o.threads, 0);
    EXPECT_EQ(o.perType, 1);
    EXPECT_EQ(o.pertPairs, -1);
    EXPECT_EQ(o.pertSize, -2);
    EXPECT_FALSE(o.keep);
}

TEST(BenchOptionsTest, EveryOptionInBothFormsWithValuesThatLookLikeOptions)
{
    const BenchOptions o = Parse({"--setting=proteome",
                                  "--seed",
                                  "2147483647",
                                  "--data",
                                  "rel/data",
                                  "--sim=s",
                                  "--exe",
                                  "/x/new",
                                  "--vs",
                                  "old",
                                  "--runs",
                                  "3",
                                  "--threads=2",
                                  "--new-args",
                                  "-t 2  -j 0 4",
                                  "--old-args",
                                  "-t 1",
                                  "--pertype",
                                  "0",
                                  "--pert-pairs",
                                  "16",
                                  "--pertsize",
                                  "-1",
                                  "--keep"});
    EXPECT_EQ(o.setting, "proteome");
    EXPECT_EQ(o.seed, 2147483647u);
    // Runs happen inside the data set's folder: relative paths become absolute.
    EXPECT_EQ(o.dataRoot, (std::filesystem::current_path() / "rel/data").string());
    EXPECT_EQ(o.sim, (std::filesystem::current_path() / "s").string());
    EXPECT_EQ(o.exe, "/x/new");
    EXPECT_EQ(o.vs, (std::filesystem::current_path() / "old").string());
    EXPECT_EQ(o.runs, 3);
    EXPECT_EQ(o.threads, 2);
    EXPECT_EQ(o.newArgs, (std::vector<std::string>{"-t", "2", "-j", "0", "4"}));
    EXPECT_EQ(o.oldArgs, (std::vector<std::string>{"-t", "1"}));
    EXPECT_EQ(o.perType, 0);
    EXPECT_EQ(o.pertPairs, 16);
    EXPECT_EQ(o.pertSize, -1);
    EXPECT_TRUE(o.keep);
}

TEST(BenchOptionsTest, ValuesOutsideTheirRangeAreRefusedByName)
{
    EXPECT_EQ(Refusal({"--runs", "0"}), "--runs: expected an integer from 1 to 2147483647, got '0' (see --help)");
    EXPECT_EQ(Refusal({"--threads", "2x"}),
              "--threads: expected an integer from 1 to 2147483647, got '2x' (see --help)");
    EXPECT_EQ(Refusal({"--pertype", "4"}), "--pertype: expected an integer from 0 to 3, got '4' (see --help)");
    EXPECT_EQ(Refusal({"--pertsize", "-2"}),
              "--pertsize: expected an integer from -1 to 2147483647, got '-2' (see --help)");
    EXPECT_EQ(Refusal({"--pert-pairs", "0"}),
              "--pert-pairs: expected an integer from 1 to 2147483647, got '0' (see --help)");
    EXPECT_EQ(Refusal({"--seed", "-1"}), "--seed: expected an integer from 0 to 2147483647, got '-1' (see --help)");
    EXPECT_EQ(Refusal({"--seed", "2147483648"}),
              "--seed: expected an integer from 0 to 2147483647, got '2147483648' (see --help)");
    EXPECT_EQ(Refusal({"--setting", "huge"}),
              "--setting: unknown setting 'huge'; expected one of quick, proteome, all-pairs (see --help)");
    EXPECT_NE(Refusal({"--runs"}).find("--runs"), std::string::npos);
    EXPECT_EQ(Refusal({"--exe", ""}), "no executable to time; give --exe");
    EXPECT_EQ(Refusal({"--old-args", "-t 1"}), "--old-args needs --vs");
}

TEST(BenchOptionsTest, AMisspeltOptionIsNamedFirst)
{
    EXPECT_EQ(Refusal({"--runs", "0", "--thread", "2"}), "--thread is not an option; did you mean --threads?");
    EXPECT_EQ(Refusal({"--pert_pairs", "4"}), "--pert_pairs is not an option; did you mean --pert-pairs?");
    EXPECT_EQ(Refusal({"--quick"}), "--quick is not an option (see --help)");
    EXPECT_EQ(Refusal({"quick"}), "unexpected arguments 'quick' (see --help)");
}

TEST(BenchOptionsTest, HelpAndVersionArePrintedInsteadOfARun)
{
    std::ostringstream text;
    EXPECT_FALSE(ParseBenchOptions({"--version"}, PATHS, text).has_value());
    EXPECT_EQ(text.str(), std::string("motifbind-bench ") + MOTIFBIND_VERSION + "\n");

    for (const char* help : {"--help", "-h"}) {
        text.str("");
        EXPECT_FALSE(ParseBenchOptions({help}, PATHS, text).has_value());
        const std::string h = text.str();
        // The defaults the build and the settings give.
        for (const std::string& says : {PATHS.motifbind, PATHS.sim, PATHS.dataRoot, std::string("quick 4, proteome 8"),
                                        std::string("quick 100, proteome 1000"), std::string("--keep")}) {
            EXPECT_NE(h.find(says), std::string::npos) << says << " not in:\n" << h;
        }
    }
}

} // namespace

// The helpers' shared option parsing: a misspelt option is named before
// anything else CLI11 would complain about, with the option probably meant;
// --help and --version are answered on standard output.
#include <gtest/gtest.h>

#include <sstream>

#include "motifbind/Version.h"
#include "tools/toolbox/Cli.h"
#include "tools/toolbox/ToolError.h"

namespace {

// A program with the shapes the helpers use: required options, a checked
// number, a flag, and two long names one edit apart from a third.
struct Program {
    CLI::App app{"a test program", "motifbind-test"};
    std::string out;
    std::vector<std::string> inputs;
    int count = 1;
    bool quiet = false;
    std::string seed;
    std::string send;

    Program()
    {
        app.add_option("--out", out, "folder")->required();
        app.add_option("--interactions", inputs, "files")->required();
        app.add_option("--count", count, "how many")->check(IntegerIn(1, 9));
        app.add_flag("--quiet", quiet, "say less");
        app.add_option("--seed", seed, "seed");
        app.add_option("--send", send, "send");
    }

    // The error line ParseArgs throws, or what it printed when it threw none.
    std::string Refusal(const std::vector<std::string>& args)
    {
        std::ostringstream text;
        try {
            ParseArgs(app, args, text);
        } catch (const ToolError& e) {
            return e.what();
        }
        return "accepted; printed '" + text.str() + "'";
    }
};

TEST(CliTest, AMisspeltOptionIsNamedBeforeMissingOrBadValues)
{
    // Without the typo's own check, CLI11 would say "--interactions is required".
    EXPECT_EQ(Program().Refusal({"--out", "o", "--interactoins", "a.tsv"}),
              "--interactoins is not an option; did you mean --interactions?");
    EXPECT_EQ(Program().Refusal({"--interactoins", "a.tsv"}),
              "--interactoins is not an option; did you mean --interactions?");
    // A bad value elsewhere on the line waits for the typo too.
    EXPECT_EQ(Program().Refusal({"--count", "12", "--out", "o", "--interactions", "a", "--qiuet"}),
              "--qiuet is not an option; did you mean --quiet?");
    // "--name=value" names the option alone; one dash before a long name.
    EXPECT_EQ(Program().Refusal({"--out", "o", "--interactions", "a", "--cuont=3"}),
              "--cuont is not an option; did you mean --count?");
    EXPECT_EQ(Program().Refusal({"--out", "o", "--interactions", "a", "-count", "3"}),
              "-count is not an option; did you mean --count?");
}

TEST(CliTest, SuggestsOnlyTheClosestOptionAndOnlyWhenItIsClose)
{
    const auto with = [](const std::string& word) {
        return Program().Refusal({word, "--out", "o", "--interactions", "a"});
    };
    // "sede" is one swap from "seed", two edits from "send".
    EXPECT_EQ(with("--sede"), "--sede is not an option; did you mean --seed?");
    EXPECT_EQ(with("--sen"), "--sen is not an option; did you mean --send?");
    EXPECT_EQ(with("--bogus"), "--bogus is not an option (see --help)");
    EXPECT_EQ(with("--interact"), "--interact is not an option (see --help)");
    EXPECT_EQ(with("-x"), "-x is not an option (see --help)");
    // A stray negative number is a value out of place, not an option.
    EXPECT_EQ(with("-3"), "unexpected arguments '-3' (see --help)");
    EXPECT_EQ(with("stray"), "unexpected arguments 'stray' (see --help)");
}

TEST(CliTest, OtherRefusalsStayCli11sOwnInOneLine)
{
    EXPECT_EQ(Program().Refusal({"--interactions", "a"}), "--out is required (see --help)");
    EXPECT_EQ(Program().Refusal({"--out", "o", "--interactions", "a", "--count", "12"}),
              "--count: expected an integer from 1 to 9, got '12' (see --help)");
}

TEST(CliTest, HelpAndVersionArePrintedInsteadOfParsing)
{
    Program version;
    std::ostringstream text;
    // Required options are not needed for either.
    EXPECT_FALSE(ParseArgs(version.app, {"--version"}, text));
    EXPECT_EQ(text.str(), std::string("motifbind-test ") + MOTIFBIND_VERSION + "\n");

    Program help;
    text.str("");
    EXPECT_FALSE(ParseArgs(help.app, {"--help"}, text));
    EXPECT_NE(text.str().find("--interactions"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("--version"), std::string::npos) << text.str();

    Program run;
    text.str("");
    EXPECT_TRUE(ParseArgs(run.app, {"--out", "o", "--interactions", "a", "b", "--count=3", "--quiet"}, text));
    EXPECT_EQ(text.str(), "");
    EXPECT_EQ(run.inputs, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(run.count, 3);
    EXPECT_TRUE(run.quiet);
}

} // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/NumberWord.h"
#include "motifbind/Version.h"
#include "support/TestUtil.h"

using testutil::ReadFile;
using testutil::RunMotifbind;
using testutil::TempDir;

namespace {

std::string Usage() { return ReadFile(std::string(MOTIFBIND_TEST_DATA) + "/usage.txt"); }

// The fourteen positional arguments of a run on the small data set written
// by WriteData: leak group 100, prior count 1.
std::vector<std::string> Positionals()
{
    return {"obs", "models", "pmc", "act", "inact", "wait", "log", "pred", "pairs", "pairs", "1", "len", "100", "cov"};
}

// Positionals() with word `i` replaced by `v`.
std::vector<std::string> PosWith(std::size_t i, const std::string& v)
{
    auto pos = Positionals();
    pos[i] = v;
    return pos;
}

std::vector<std::string> Cat(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Two proteins with one motif each, one active motif pair and one observed
// pair of proteins.
void WriteData(const TempDir& d) { testutil::WriteWorkedExample(d); }

// Only the data files WriteData made: a rejected command line must create
// nothing.
std::vector<std::string> Listing(const TempDir& d)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(d.Path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// ParseCommandLine on a word list, program name first. The argument array
// is allocated with exactly as many entries as words (no terminating null),
// so that a read past the last word is caught by the address sanitizer.
Settings Parse(const std::vector<std::string>& words)
{
    std::unique_ptr<const char*[]> arr(new const char*[words.size()]);
    for (std::size_t i = 0; i < words.size(); ++i)
        arr[i] = words[i].c_str();
    return ParseCommandLine(int(words.size()), arr.get());
}

// The reason ParseCommandLine gives for refusing `words`.
std::string Refusal(const std::vector<std::string>& words)
{
    try {
        Parse(words);
    } catch (const UsageErr& e) {
        return e.what();
    }
    return "(accepted)";
}

// The log without its first line, the echoed command line.
std::string LogBody(const std::string& log) { return log.substr(log.find('\n') + 1); }

} // namespace

TEST(CommandLine, OptionsAreReadIntoTheSettings)
{
    {
        // Nothing but positionals: every setting keeps its default.
        const Settings s = Parse(Cat({"prog"}, Positionals()));
        EXPECT_EQ(s.action, Settings::Action::Run);
        EXPECT_EQ(s.numProt, 0);
        EXPECT_EQ(s.numMot, 0);
        EXPECT_EQ(s.leakType, 1);
        EXPECT_EQ(s.perType, 1);
        EXPECT_EQ(s.pertSize, -1);
        EXPECT_EQ(s.n2p, 1.0);
        EXPECT_FALSE(s.ddiFiles.has_value());
        EXPECT_EQ(s.threads, 1);
        EXPECT_FALSE(s.shard.has_value());
        EXPECT_EQ(s.protFile, "obs");
        EXPECT_EQ(s.modelFile, "models");
        EXPECT_EQ(s.pmFile, "pmc");
        EXPECT_EQ(s.motFile, "act");
        EXPECT_EQ(s.outFile, "log");
        EXPECT_EQ(s.predictFile, "pred");
        EXPECT_EQ(s.predpairFile, "pairs");
        EXPECT_EQ(s.predbindFile, "pairs");
        EXPECT_EQ(s.aPos, 1.0);
        EXPECT_EQ(s.protLenFile, "len");
        EXPECT_EQ(s.leakGroup, 100);
        EXPECT_EQ(s.motCoverFile, "cov");
        EXPECT_EQ(s.echo, "*** Command line: prog obs models pmc act inact wait log pred pairs pairs 1 len 100 cov\n");
    }
    {
        const Settings s =
            Parse(Cat({"prog", "-f", "10", "20", "-l", "0", "-p", "3", "-n", "2.5", "-s", "7"}, Positionals()));
        EXPECT_EQ(s.numProt, 10);
        EXPECT_EQ(s.numMot, 20);
        EXPECT_EQ(s.leakType, 0);
        EXPECT_EQ(s.perType, 3);
        EXPECT_EQ(s.n2p, 2.5);
        EXPECT_EQ(s.pertSize, 7);
    }
    {
        // Only the second character of an option word counts, the last value
        // given wins, and a count of 0 is not refused.
        auto pos = Positionals();
        pos[10] = "0";
        const Settings s = Parse(Cat({"prog", "-lx", "2", "-foo", "3", "4", "-f", "5", "0", "-p", "-7", "-n", "0.25e1",
                                      "-s", "-4", "-sizes", "9"},
                                     pos));
        EXPECT_EQ(s.leakType, 2);
        EXPECT_EQ(s.numProt, 5);
        EXPECT_EQ(s.numMot, 0);
        EXPECT_EQ(s.perType, -7);
        EXPECT_EQ(s.n2p, 2.5);
        EXPECT_EQ(s.pertSize, 9);
        EXPECT_EQ(s.aPos, 0.0);
    }
    {
        // The first word without a leading "-" ends the options: later
        // option-like words are positionals, here the model file "-l" and
        // the motif content file "2".
        auto pos = Positionals();
        pos[1] = "-l";
        pos[2] = "2";
        const Settings s = Parse(Cat({"prog", "-l", "0"}, pos));
        EXPECT_EQ(s.leakType, 0);
        EXPECT_EQ(s.modelFile, "-l");
        EXPECT_EQ(s.pmFile, "2");
    }
}

TEST(CommandLine, DdiOptionNamesTheThreeFilesAndTheLastOneCounts)
{
    Settings s = Parse(Cat({"prog", "-d", "a", "b", "c"}, Positionals()));
    ASSERT_TRUE(s.ddiFiles.has_value());
    EXPECT_EQ(*s.ddiFiles, (std::array<std::string, 3>{"a", "b", "c"}));
    EXPECT_EQ(s.protFile, "obs");
    // A repeated -d names other files; the first ones are never opened.
    s = Parse(Cat({"prog", "-d", "no-such-a", "no-such-b", "no-such-c", "-d", "c", "a", "b"}, Positionals()));
    EXPECT_EQ(*s.ddiFiles, (std::array<std::string, 3>{"c", "a", "b"}));
}

TEST(CommandLine, DirectCallsRefuseBadWordsWithoutReadingPastTheEnd)
{
    // Each option's arguments cut short by the end of the command line; the
    // array is exactly as long as the words, so a read past it is caught.
    const std::vector<std::pair<std::vector<std::string>, std::string>> cut = {
        {{"prog", "-f", "10"}, "option -f needs 2 arguments"},
        {{"prog", "-f"}, "option -f needs 2 arguments"},
        {{"prog", "-l"}, "option -l needs 1 argument"},
        {{"prog", "-p"}, "option -p needs 1 argument"},
        {{"prog", "-n"}, "option -n needs 1 argument"},
        {{"prog", "-s"}, "option -s needs 1 argument"},
        {{"prog", "-t"}, "option -t needs 1 argument"},
        {{"prog", "-j", "0"}, "option -j needs 2 arguments"},
        {{"prog", "-d", "/dev/null", "/dev/null"}, "option -d needs 3 arguments"},
        {{"prog", "-l", "1", "-s"}, "option -s needs 1 argument"},
    };
    for (const auto& [words, why] : cut)
        EXPECT_EQ(Refusal(words), why);
    // The program name alone: the usage text says enough. Without even a
    // program name the same.
    EXPECT_EQ(Refusal({"prog"}), "");
    EXPECT_THROW(ParseCommandLine(0, nullptr), UsageErr);
    // Unknown option words are named whole.
    EXPECT_EQ(Refusal({"prog", "-x", "2", "a"}), "unknown option \"-x\"");
    EXPECT_EQ(Refusal({"prog", "-", "a"}), "unknown option \"-\"");
    EXPECT_EQ(Refusal({"prog", "--", "a"}), "unknown option \"--\"");
    EXPECT_EQ(Refusal({"prog", "--helpme"}), "unknown option \"--helpme\"");
    EXPECT_EQ(Refusal({"prog", "-\x1b[2J"}), "unknown option \"-\\x1b[2J\"");
    // The positional count, once the options are read.
    EXPECT_EQ(Refusal({"prog", "-s", "3"}), "expected 14 positional arguments after the options, got 0");
    EXPECT_EQ(Refusal({"prog", "-l", "0", "obs", "-l", "2", "-f", "1", "1"}),
              "expected 14 positional arguments after the options, got 6");
}

TEST(CommandLine, HelpAndVersionAreAnsweredOnStandardOutput)
{
    TempDir d;
    const std::string usage = Usage();
    auto r = RunMotifbind({"--help"}, d.Path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(r.out.substr(0, usage.size()), usage);
    // After the usage text, the options it leaves out, each with its
    // paragraph.
    const std::string more = r.out.substr(usage.size());
    for (const char* w : {"  [-t <threads>]\n", "  [-j <index> <count>]\n", "\n<threads>:\n", "\n<index> <count>:\n",
                          "1 to 256", "0 <= <index> < <count> <= 1000000", "motifbind-merge", "--version",
                          "  [-e <estimator>]\n", "  [-b <noise prior>]\n", "\n<estimator>:\n", "\n<noise prior>:\n"})
        EXPECT_NE(more.find(w), std::string::npos) << w;
    EXPECT_LT(more.find("<threads>:"), more.find("<index> <count>:"));

    // One word, the version the build sets, and a line break.
    const std::string version = MOTIFBIND_VERSION;
    EXPECT_EQ(version.find_first_not_of("0123456789."), std::string::npos) << version;
    EXPECT_EQ(std::count(version.begin(), version.end(), '.'), 2) << version;
    r = RunMotifbind({"--version"}, d.Path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "motifbind " + version + "\n");
    EXPECT_EQ(r.err, "");

    // Among the options they end the reading: what comes after does not
    // matter, what came before must be right.
    r = RunMotifbind(Cat({"-f", "2", "2", "--version", "-x"}, Positionals()), d.Path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "motifbind " + version + "\n");
    r = RunMotifbind({"-t", "2", "--help", "--version"}, d.Path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, usage.size()), usage);
    r = RunMotifbind({"-f", "x", "2", "--help"}, d.Path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Error: option -f <numprot> needs a whole number from 0 to 46340, got \"x\"\n" + usage);
    // Among the positionals it is a file name like any other.
    r = RunMotifbind(Cat({"-f", "2", "2", "obs", "--version"}, Positionals()), d.Path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Error: expected 14 positional arguments after the options, got 16\n" + usage);
    EXPECT_TRUE(std::filesystem::is_empty(d.Path()));

    // An answer that cannot be written is a failure.
    testutil::RunOptions full;
    full.stdoutFile = "/dev/full";
    r = testutil::RunProgram(MOTIFBIND_EXE, {"--version"}, full);
    EXPECT_EQ(r.status, 2) << testutil::Describe(r);
    EXPECT_EQ(r.err, "Error: can't write standard output\n");
}

TEST(CommandLine, UnacceptableCommandLinesPrintTheUsageText)
{
    TempDir d;
    WriteData(d);
    const auto before = Listing(d);
    const std::string usage = Usage();
    auto pos = Positionals();
    auto thirteen = pos;
    thirteen.pop_back();
    auto fifteen = Cat(pos, {"extra"});
    // "-l 0" after the first positional counts as two more positionals.
    auto lateOption = pos;
    lateOption.insert(lateOption.begin() + 1, {"-l", "0"});
    const std::string count = "Error: expected 14 positional arguments after the options, got ";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        // The program name alone: the usage text alone.
        {{}, ""},
        {Cat({"-x", "2"}, pos), "Error: unknown option \"-x\"\n"},
        {Cat({"-"}, pos), "Error: unknown option \"-\"\n"},
        {Cat({"-f", "2", "2", "-"}, pos), "Error: unknown option \"-\"\n"},
        {Cat({"--verbose"}, pos), "Error: unknown option \"--verbose\"\n"},
        {thirteen, count + "13\n"},
        {fifteen, count + "15\n"},
        {Cat({"-f", "2", "2"}, lateOption), count + "16\n"},
        // Ranges are checked only once the count is found right: a bad
        // leak type with 13 positionals is reported by the count.
        {Cat({"-l", "7"}, thirteen), count + "13\n"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto r = RunMotifbind(cases[i].first, d.Path());
        EXPECT_EQ(r.status, 1) << "case " << i;
        EXPECT_EQ(r.err, cases[i].second + usage) << "case " << i;
        EXPECT_EQ(r.out, "") << "case " << i;
    }
    EXPECT_EQ(Listing(d), before);
}

TEST(CommandLine, BadValuesGiveOneErrorLineThenTheUsageText)
{
    TempDir d; // no data files: the values are refused before any file is opened
    const std::string usage = Usage();
    auto pos = Positionals();
    auto groupZero = pos, groupWord = pos, groupNeg = pos;
    groupZero[12] = "0";
    groupWord[12] = "many";
    groupNeg[12] = "-3";
    const std::string leak =
        "argument <# a.a. pairs in leakProb> needs a whole number from 1 to 2147483647 with "
        "leak type 1, got ";
    const std::string counts = " needs a whole number from 0 to 46340, got ";
    const std::string threads = "option -t <threads> needs a whole number from 1 to 256, got ";
    struct Case {
        std::vector<std::string> args;
        std::string line; // the whole first line of standard error
    };
    const std::vector<Case> cases = {
        {Cat({"-f", "2"}, {}), "option -f needs 2 arguments"},
        {Cat({"-f", "-1", "5"}, pos), "option -f <numprot>" + counts + "\"-1\""},
        {Cat({"-f", "5", "46341"}, pos), "option -f <nummot>" + counts + "\"46341\""},
        {Cat({"-f", "46341", "5"}, pos), "option -f <numprot>" + counts + "\"46341\""},
        {Cat({"-f", "2", "2", "-l", "3"}, pos), "option -l <leaktype> needs 0, 1 or 2, got \"3\""},
        {Cat({"-f", "2", "2", "-l", "-1"}, pos), "option -l <leaktype> needs 0, 1 or 2, got \"-1\""},
        // The last value counts.
        {Cat({"-f", "2", "2", "-l", "2", "-l", "3"}, pos), "option -l <leaktype> needs 0, 1 or 2, got \"3\""},
        {Cat({"-f", "2", "2"}, groupZero), leak + "\"0\""}, // leak type 1 by default
        {Cat({"-f", "2", "2", "-l", "1"}, groupWord), leak + "\"many\""},
        {Cat({"-f", "2", "2", "-l", "1"}, groupNeg), leak + "\"-3\""},
        // With another leak type the group is unused, but still a number.
        {Cat({"-f", "2", "2", "-l", "2"}, groupWord),
         "argument <# a.a. pairs in leakProb> needs a whole number from -2147483648 to 2147483647, got \"many\""},
        {Cat(Cat({"-f", "2", "2"}, {}), {"-s"}), "option -s needs 1 argument"},
        {Cat({"-f", "2", "2", "-d", "a", "b"}, {}), "option -d needs 3 arguments"},
        {Cat({"-t", "0", "-f", "2", "2"}, pos), threads + "\"0\""},
        {Cat({"-f", "2", "2", "-t", "-2"}, pos), threads + "\"-2\""},
        {Cat({"-f", "2", "2", "-t", "2x"}, pos), threads + "\"2x\""},
        {Cat({"-f", "2", "2", "-t", "257"}, pos), threads + "\"257\""},
        {Cat({"-f", "2", "2", "-t", "99999999999"}, pos), threads + "\"99999999999\""},
        {Cat({"-f", "2", "2", "-t", ""}, pos), threads + "\"\""},
        {Cat(Cat({"-f", "2", "2"}, {}), {"-t"}), "option -t needs 1 argument"},
        // A value is refused where it stands, even when a later one would
        // replace it; a range only on the value that counts.
        {Cat({"-n", "x", "-n", "1"}, pos),
         "option -n <Dirichlet prior Neg / Pos> needs a finite real number >= 0, "
         "got \"x\""},
        // Words are quoted with control bytes shown, and cut after 40 bytes.
        {Cat({"-p", "1\t2\n"}, pos),
         "option -p <pertype> needs a whole number from -2147483648 to 2147483647, got \"1\\x092\\x0a\""},
        {Cat({"-s", std::string(41, '7')}, pos),
         "option -s <pertsize> needs a whole number from -2147483648 to 2147483647, got \"" + std::string(40, '7') +
             "\"..."},
        // ... never inside a UTF-8 character: "é" is two bytes, 40 and 41.
        {Cat({"-n", std::string(39, '1') + "\xc3\xa9"}, pos),
         "option -n <Dirichlet prior Neg / Pos> needs a finite real number >= 0, got \"" + std::string(39, '1') +
             "\"..."},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto r = RunMotifbind(cases[i].args, d.Path());
        EXPECT_EQ(r.status, 1) << "case " << i;
        EXPECT_EQ(r.out, "") << "case " << i;
        EXPECT_EQ(r.err, "Error: " + cases[i].line + "\n" + usage) << "case " << i;
    }
    EXPECT_TRUE(std::filesystem::is_empty(d.Path()));
}

// Every numeric argument against words that are no number of its kind, or
// are out of its range: each gets its one line, the usage text and status 1,
// and nothing is created. The same words where the argument takes them are
// accepted with the value the C library gives them.
TEST(CommandLine, MatrixOfBadNumbers)
{
    TempDir d;
    WriteData(d);
    const auto before = Listing(d);
    const std::string usage = Usage();
    const std::string intRange = "a whole number from -2147483648 to 2147483647";
    const std::string count = "a finite real number >= 0";
    const std::string block =
        "option -j needs a block index and a block count, whole numbers with 0 <= index < "
        "count <= 1000000, got ";

    // One numeric argument: the command line with `v` in its place, right
    // but for that word, and the line that refuses it: `prefix`, the word in
    // quotes, `suffix`.
    struct Slot {
        std::string name;
        std::function<std::vector<std::string>(const std::string& v)> args;
        std::string prefix, suffix;
        bool whole;
    };
    const auto plain = [](std::vector<std::string> opts) { return Cat(Cat({"-f", "2", "2"}, opts), Positionals()); };
    const auto at = [](std::size_t i, const std::string& v) { return Cat({"-f", "2", "2"}, PosWith(i, v)); };
    const std::vector<Slot> slots = {
        {"-f <numprot>",
         [](const std::string& v) {
             return Cat({"-f", v, "2"}, Positionals());
         },
         "option -f <numprot> needs a whole number from 0 to 46340, got ", "", true},
        {"-f <nummot>",
         [](const std::string& v) {
             return Cat({"-f", "2", v}, Positionals());
         },
         "option -f <nummot> needs a whole number from 0 to 46340, got ", "", true},
        {"-l",
         [&](const std::string& v) {
             return plain({"-l", v});
         },
         "option -l <leaktype> needs 0, 1 or 2, got ", "", true},
        {"-p",
         [&](const std::string& v) {
             return plain({"-p", v});
         },
         "option -p <pertype> needs " + intRange + ", got ", "", true},
        {"-s",
         [&](const std::string& v) {
             return plain({"-s", v});
         },
         "option -s <pertsize> needs " + intRange + ", got ", "", true},
        {"-n",
         [&](const std::string& v) {
             return plain({"-n", v});
         },
         "option -n <Dirichlet prior Neg / Pos> needs " + count + ", got ", "", false},
        {"-t",
         [&](const std::string& v) {
             return plain({"-t", v});
         },
         "option -t <threads> needs a whole number from 1 to 256, got ", "", true},
        {"-j <index>",
         [&](const std::string& v) {
             return plain({"-j", v, "4"});
         },
         block, " \"4\"", true},
        {"-j <count>",
         [&](const std::string& v) {
             return plain({"-j", "0", v});
         },
         block + "\"0\" ", "", true},
        {"-e",
         [&](const std::string& v) {
             return plain({"-e", v});
         },
         "option -e <estimator> needs 0 or 1, got ", "", true},
        {"-b",
         [&](const std::string& v) {
             return plain({"-b", v});
         },
         "option -b <noise prior> needs " + count + ", got ", "", false},
        {"<Dirichlet prior: Pos>", [&](const std::string& v) { return at(10, v); },
         "argument <Dirichlet prior: Pos> needs " + count + ", got ", "", false},
        {"<# a.a. pairs in leakProb>", [&](const std::string& v) { return at(12, v); },
         "argument <# a.a. pairs in leakProb> needs a whole number from 1 to 2147483647 with leak type 1, got ", "",
         true},
    };
    // Refused by every argument: a word, a trailing word or blank, a leading
    // blank, an empty word, not-a-number in its spellings, infinity,
    // hexadecimal, a decimal comma, a sign alone or doubled.
    const std::vector<std::string> refusedByAll = {"abc",       "2x",   "2 ",  " 2", "",  "nan", "NaN", "-nan", "inf",
                                                   "-Infinity", "0x10", "1,5", "+",  "-", "+-2", "--2", "2e"};
    // Refused by whole-number arguments: exponents, fractions, and values
    // beyond 64 bits (and beyond int).
    const std::vector<std::string> refusedByWhole = {
        "1e4", "1E0", "2.0", "2.", ".5", "99999999999999999999", "-99999999999999999999", "2147483648"};
    // Refused by reals: values that overflow, negative values.
    const std::vector<std::string> refusedByReal = {"1e999", "-1e999", "-0.5", "-1", "1e", ".", "e5", "1.5.2"};
    // Refused by a sign where the range excludes negative values.
    const std::vector<std::string> refusedNegative = {"-1", "-2147483648"};
    int refusals = 0;
    for (const Slot& s : slots) {
        std::vector<std::string> bad = refusedByAll;
        for (const auto& v : s.whole ? refusedByWhole : refusedByReal)
            bad.push_back(v);
        if (s.whole && s.name != "-p" && s.name != "-s")
            bad.insert(bad.end(), refusedNegative.begin(), refusedNegative.end());
        for (const std::string& v : bad) {
            const auto r = RunMotifbind(s.args(v), d.Path());
            EXPECT_EQ(r.status, 1) << s.name << " \"" << v << "\"";
            EXPECT_EQ(r.out, "") << s.name << " \"" << v << "\"";
            EXPECT_EQ(r.err, "Error: " + s.prefix + "\"" + v + "\"" + s.suffix + "\n" + usage)
                << s.name << " \"" << v << "\"";
            ++refusals;
        }
    }
    EXPECT_EQ(Listing(d), before);
    EXPECT_GE(refusals, 13 * 25);
    for (const char* v : {"2", "-1", "7"}) {
        const auto r = RunMotifbind(plain({"-e", v}), d.Path());
        EXPECT_EQ(r.err, "Error: option -e <estimator> needs 0 or 1, got \"" + std::string(v) + "\"\n" + usage);
    }

    // Accepted words mean what atoi and atof make of them.
    for (const char* v : {"+2", "02", "-0", "+0", "2147483647", "-2147483648", "-7", "7"}) {
        const Settings p = Parse(Cat({"prog"}, plain({"-p", v, "-s", v})));
        EXPECT_EQ(p.perType, std::atoi(v)) << v;
        EXPECT_EQ(p.pertSize, std::atoi(v)) << v;
    }
    for (const char* v : {"+2", "0", "1e-3", "2E0", "+0.5", ".5", "5.", "-0", "1e-400", "1e300", "00.25e+01",
                          "0.1000000000000000055511151231257827", "4.9406564584124654e-324"}) {
        const Settings p = Parse(Cat({"prog", "-n", v}, PosWith(10, v)));
        EXPECT_EQ(p.n2p, std::atof(v)) << v;
        EXPECT_EQ(p.aPos, std::atof(v)) << v;
        EXPECT_EQ(std::signbit(p.n2p), std::signbit(std::atof(v))) << v;
    }
    for (const char* v : {"+2", "0", "1e-3", "200", "1e300"}) {
        const Settings p = Parse(Cat({"prog", "-b", v}, Positionals()));
        EXPECT_EQ(p.noisePrior, std::atof(v)) << v;
    }
    const Settings p =
        Parse(Cat({"prog", "-f", "+46340", "00", "-l", "+2", "-t", "+256", "-j", "+0", "+1000000", "-e", "+1"},
                  PosWith(12, "+1")));
    EXPECT_EQ(p.estimator, 1);
    EXPECT_EQ(p.numProt, 46340);
    EXPECT_EQ(p.numMot, 0);
    EXPECT_EQ(p.leakType, 2);
    EXPECT_EQ(p.threads, 256);
    EXPECT_EQ(p.shard->index, 0);
    EXPECT_EQ(p.shard->count, 1000000);
    EXPECT_EQ(p.leakGroup, 1);
}

// Accepted spellings run as the plain ones do: the log (but for the echoed
// command line), the prediction file and standard output are the same.
TEST(CommandLine, AcceptedSpellingsRunAsThePlainOnes)
{
    struct Pair {
        std::vector<std::string> spelt, plain;
    };
    const auto pos = Positionals();
    const auto with = PosWith;
    const std::vector<Pair> pairs = {
        // -p 7 runs no analysis, as -p 4 does; -s -1 sets no bound.
        {Cat({"-f", "2", "2", "-p", "7"}, pos), Cat({"-f", "2", "2", "-p", "4"}, pos)},
        {Cat({"-f", "2", "2", "-s", "-1"}, pos), Cat({"-f", "2", "2"}, pos)},
        {Cat({"-f", "+2", "02", "-l", "+1", "-n", "2e0", "-p", "+1"}, with(10, "+0.5")),
         Cat({"-f", "2", "2", "-l", "1", "-n", "2", "-p", "1"}, with(10, "0.5"))},
        {Cat({"-f", "2", "2", "-n", ".5"}, with(12, "+0100")), Cat({"-f", "2", "2", "-n", "0.5"}, pos)},
        // Unused with leak type 2, but logged as given.
        {Cat({"-f", "2", "2", "-l", "2"}, with(12, "-005")), Cat({"-f", "2", "2", "-l", "2"}, with(12, "-5"))},
    };
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        std::string got[2][3];
        const std::vector<std::string>* runs[2] = {&pairs[i].spelt, &pairs[i].plain};
        for (int k = 0; k < 2; ++k) {
            TempDir d;
            WriteData(d);
            const auto r = RunMotifbind(*runs[k], d.Path());
            ASSERT_EQ(r.status, 0) << "pair " << i << ": " << r.err;
            EXPECT_EQ(r.err, "");
            got[k][0] = LogBody(ReadFile(d.File("log")));
            got[k][1] = ReadFile(d.File("pred"));
            got[k][2] = r.out;
        }
        EXPECT_EQ(got[0][0], got[1][0]) << "pair " << i;
        EXPECT_EQ(got[0][1], got[1][1]) << "pair " << i;
        EXPECT_EQ(got[0][2], got[1][2]) << "pair " << i;
    }
}

TEST(CommandLine, AcceptedEdgeValuesRunToTheEnd)
{
    TempDir d;
    WriteData(d);
    auto groupZero = Positionals();
    groupZero[12] = "0";
    // A bad leak type given first and replaced; a leak group of 0 is fine
    // when the leak type does not use it.
    auto r = RunMotifbind(Cat({"-f", "2", "2", "-l", "5", "-l", "0", "-p", "4"}, groupZero), d.Path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // Counts of 0 (with empty inputs, so that no identifier is out of range)
    // and the largest count accepted: both runs complete.
    for (const char* counts : {"0", "46340"}) {
        TempDir e;
        WriteData(e);
        if (counts[0] == '0')
            for (const char* f : {"obs", "pmc", "act", "pairs", "len", "cov"})
                e.Write(f, "");
        r = RunMotifbind(Cat({"-f", counts, counts, "-l", "2", "-p", "4"}, Positionals()), e.Path());
        EXPECT_EQ(r.status, 0) << counts << ": " << r.err;
        EXPECT_EQ(ReadFile(e.File("log")).rfind("*** Command line:", 0), 0u) << counts;
    }
}

TEST(CommandLine, MissingDdiFileEndsTheRunBeforeAnyOutput)
{
    TempDir d;
    WriteData(d);
    const auto before = Listing(d);
    const auto r =
        RunMotifbind(Cat({"-f", "2", "2", "-d", "obs", "no-ddi-models", "cov", "-l", "2"}, Positionals()), d.Path());
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Error: can't open no-ddi-models\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Listing(d), before);
}

TEST(CommandLine, LogHeaderEchoesTheCommandLineAndTheSettings)
{
    TempDir d;
    WriteData(d);
    auto pos = Positionals();
    pos[10] = "0.5";
    const auto r = RunMotifbind(Cat({"-f", "2", "2", "-lx", "2", "-n", "2", "-s", "7", "-p", "4"}, pos), d.Path());
    ASSERT_EQ(r.status, 0) << r.err;
    // Prior: aPos 0.5, ratio 2, aNeg = 2 * 0.5 = 1, aAll = 1 + 0.5 = 1.5.
    // Leak type 2 starts the leak at 0.01; leak type 1 with a leak group of
    // 100 would have started it at sqrt(100) * 0.0001 = 0.001.
    const std::string expected = std::string("*** Command line: ") + MOTIFBIND_EXE +
                                 " -f 2 2 -lx 2 -n 2 -s 7 -p 4 obs models pmc act inact wait log pred pairs pairs 0.5"
                                 " len 100 cov\n"
                                 "*** # proteins:\t2\n"
                                 "*** # motifs:\t2\n"
                                 "Prior:\t0.5\t2\t1\t1.5\n"
                                 "pertSize:\t7\n"
                                 "*** Total # motif appearances:\t2\n"
                                 "*** # noisy observations:\t1\n"
                                 "*** # active motif pairs:\t1\n"
                                 "*** Initial leak prob:\t0.01\n"
                                 "*** # noisy observations:\t0\n";
    const std::string log = ReadFile(d.File("log"));
    EXPECT_EQ(log.substr(0, expected.size()), expected);
}

TEST(CommandLine, EstimatorOptionsAreEchoedAndChangeTheRunOnlyWithDomainEvidence)
{
    // -e and -b change what a run learns, so the log's command line keeps
    // them. Without DDI evidence -e changes nothing but that line; -b 0 is
    // no prior at all.
    TempDir d;
    WriteData(d);
    auto pos = Positionals();
    pos[10] = "2";
    const auto plain = RunMotifbind(Cat({"-f", "2", "2"}, pos), d.Path());
    ASSERT_EQ(plain.status, 0) << plain.err;
    const std::string log = ReadFile(d.File("log"));
    const std::string pred = ReadFile(d.File("pred"));
    std::filesystem::remove(d.File("log"));
    std::filesystem::remove(d.File("pred"));
    const auto shared = RunMotifbind(Cat({"-e", "1", "-b", "0", "-f", "2", "2"}, pos), d.Path());
    ASSERT_EQ(shared.status, 0) << shared.err;
    const std::string sharedLog = ReadFile(d.File("log"));
    const std::string echo = log.substr(0, log.find('\n'));
    EXPECT_EQ(sharedLog.substr(0, sharedLog.find('\n')),
              echo.substr(0, echo.find(" -f ")) + " -e 1 -b 0" + echo.substr(echo.find(" -f ")));
    EXPECT_EQ(sharedLog.substr(sharedLog.find('\n')), log.substr(log.find('\n')));
    EXPECT_EQ(ReadFile(d.File("pred")), pred);
}

TEST(CommandLine, ThreadCountIsReadButNotEchoed)
{
    {
        const Settings s = Parse(Cat({"prog", "-t", "8", "-f", "3", "4", "-tx", "2"}, Positionals()));
        EXPECT_EQ(s.threads, 2); // the last one given wins
        EXPECT_EQ(s.protFile, "obs");
        EXPECT_EQ(s.numProt, 3);
        EXPECT_EQ(s.echo.substr(0, 30), "*** Command line: prog -f 3 4 ");
    }
    // The log of a run with -t is the log of the same run without it: the
    // echoed command line leaves the option out, even where its words also
    // occur elsewhere on the line.
    TempDir d;
    WriteData(d);
    auto pos = Positionals();
    pos[10] = "2";
    const auto plain = RunMotifbind(Cat({"-f", "2", "2", "-p", "1"}, pos), d.Path());
    ASSERT_EQ(plain.status, 0) << plain.err;
    const std::string log = ReadFile(d.File("log"));
    const std::string pred = ReadFile(d.File("pred"));
    std::filesystem::remove(d.File("log"));
    std::filesystem::remove(d.File("pred"));
    const auto threaded = RunMotifbind(Cat({"-t", "2", "-f", "2", "2", "-p", "1"}, pos), d.Path());
    ASSERT_EQ(threaded.status, 0) << threaded.err;
    EXPECT_EQ(ReadFile(d.File("log")), log);
    EXPECT_EQ(ReadFile(d.File("pred")), pred);
    EXPECT_EQ(threaded.out, plain.out);
    EXPECT_EQ(threaded.err, "");
    EXPECT_NE(log.find(" -f 2 2 -p 1 obs "), std::string::npos);
    EXPECT_NE(log.find("*** SetNonBind"), std::string::npos);
}

TEST(CommandLine, VeryLongCommandLineIsEchoedWhole)
{
    TempDir d;
    WriteData(d);
    // The two motif pair files after the active one are never opened, so
    // their names may be anything; together well over 10000 bytes.
    const std::string inact(9000, 'i');
    const std::string wait(7000, 'w');
    auto pos = Positionals();
    pos[4] = inact;
    pos[5] = wait;
    const auto r = RunMotifbind(Cat({"-f", "2", "2", "-l", "2", "-p", "4"}, pos), d.Path());
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string first = std::string("*** Command line: ") + MOTIFBIND_EXE +
                              " -f 2 2 -l 2 -p 4 obs models pmc act " + inact + " " + wait +
                              " log pred pairs pairs 1 len 100 cov\n";
    const std::string log = ReadFile(d.File("log"));
    EXPECT_EQ(log.substr(0, first.size()), first);
    EXPECT_EQ(log.substr(first.size(), 17), "*** # proteins:\t2");
}

// The number words on their own: what they accept is what strtol and strtod
// read whole, and nothing else.
TEST(NumberWord, AcceptsWholeWordsOnly)
{
    EXPECT_EQ(WholeWord("0"), 0);
    EXPECT_EQ(WholeWord("+17"), 17);
    EXPECT_EQ(WholeWord("-017"), -17);
    EXPECT_EQ(WholeWord("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(WholeWord("-9223372036854775808"), INT64_MIN);
    for (const char* w : {"", "+", "-", "9223372036854775808", "1e3", "1.", "0x1", " 1", "1 ", "1\n", "١"})
        EXPECT_FALSE(WholeWord(w).has_value()) << w;

    EXPECT_EQ(RealWord("-2.5e-1"), -0.25);
    EXPECT_EQ(RealWord("1.7976931348623157e308"), 1.7976931348623157e308);
    EXPECT_EQ(RealWord("1e-400"), 0.0);
    for (const char* w :
         {"", ".", "+.", "-e1", "1e+", "1e1.5", "1.7976931348623159e308", "NAN", "infinity", "0x1p3", "1d3", "1f"})
        EXPECT_FALSE(RealWord(w).has_value()) << w;

    EXPECT_EQ(Shown(""), "\"\"");
    EXPECT_EQ(Shown("a\x7f\x01"), "\"a\\x7f\\x01\"");
    EXPECT_EQ(Shown(std::string(40, 'x')), "\"" + std::string(40, 'x') + "\"");
    EXPECT_EQ(Shown(std::string(39, 'x') + "\xe2\x82\xac"), "\"" + std::string(39, 'x') + "\"...");
}

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "io/FileOpen.h"
#include "model/Globals.h"
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

// The result of calling ReadOption on a word list. The argument array is
// allocated with exactly as many entries as words (no terminating null), so
// that a read past the last word is caught by the address sanitizer.
struct Parsed {
    int argc = 0;
    std::vector<std::string> rest; // positional words left
    int leakType = 1, perType = 1, pertSize = -1, threads = 1;
    std::optional<Shard> shard;
    std::vector<std::string> unechoed;
    InFile ddi, ddmdl, ddiopt;
};

void Parse(const std::vector<std::string>& words, Parsed& p)
{
    ResetGlobals();
    std::vector<std::string> copy = words;
    std::unique_ptr<char*[]> arr(new char*[copy.size()]);
    for (std::size_t i = 0; i < copy.size(); ++i)
        arr[i] = copy[i].data();
    int argc = int(copy.size());
    char** argv = arr.get();
    InFopen(p.ddi, "/dev/null");
    InFopen(p.ddmdl, "/dev/null");
    InFopen(p.ddiopt, "/dev/null");
    std::vector<const char*> unechoed;
    ReadOption(argc, argv, p.leakType, p.perType, p.ddi, p.ddmdl, p.ddiopt, p.pertSize, p.threads, p.shard, &unechoed);
    for (const char* w : unechoed)
        p.unechoed.push_back(w);
    p.argc = argc;
    // argv must point inside the array, at the first positional word.
    ASSERT_EQ(argv, arr.get() + (copy.size() - argc));
    for (int i = 0; i < argc; ++i)
        p.rest.push_back(argv[i]);
}

std::string Slurp(std::istream& in)
{
    std::string s, w;
    while (in >> w)
        s += w + " ";
    return s;
}

} // namespace

TEST(CommandLine, OptionsAreReadAndArgvIsAdvancedToThePositionals)
{
    {
        // Nothing but positionals: every setting keeps its default.
        Parsed p;
        Parse(Cat({"prog"}, Positionals()), p);
        EXPECT_EQ(p.argc, 14);
        EXPECT_EQ(p.rest, Positionals());
        EXPECT_EQ(p.leakType, 1);
        EXPECT_EQ(p.perType, 1);
        EXPECT_EQ(p.pertSize, -1);
        EXPECT_EQ(g_numProt, 0);
        EXPECT_EQ(g_numMot, 0);
        EXPECT_EQ(g_aN2P, 1.0);
        EXPECT_EQ(Slurp(p.ddi), ""); // still the empty input it was opened on
    }
    {
        Parsed p;
        Parse(Cat({"prog", "-f", "10", "20", "-l", "0", "-p", "3", "-n", "2.5", "-s", "7"}, Positionals()), p);
        EXPECT_EQ(p.rest, Positionals());
        EXPECT_EQ(g_numProt, 10);
        EXPECT_EQ(g_numMot, 20);
        EXPECT_EQ(p.leakType, 0);
        EXPECT_EQ(p.perType, 3);
        EXPECT_EQ(g_aN2P, 2.5);
        EXPECT_EQ(p.pertSize, 7);
    }
    {
        // Only the second character of an option word counts, values are
        // taken as their leading numeric prefix (or 0), the last one given
        // wins, and a count of 0 is not refused here.
        Parsed p;
        Parse(Cat({"prog", "-lx", "2", "-foo", "3", "4", "-f", "5", "6x", "-p", "abc", "-n", "0.25e1z", "-s", "-4",
                   "-sizes", "9"},
                  {"only", "two"}),
                 p);
        EXPECT_EQ(p.leakType, 2);
        EXPECT_EQ(g_numProt, 5);
        EXPECT_EQ(g_numMot, 6);
        EXPECT_EQ(p.perType, 0);
        EXPECT_EQ(g_aN2P, 2.5);
        EXPECT_EQ(p.pertSize, 9);
        EXPECT_EQ(p.rest, (std::vector<std::string>{"only", "two"}));
    }
    {
        // The first word without a leading "-" ends the options: later
        // option-like words are positionals.
        Parsed p;
        Parse({"prog", "-l", "0", "obs", "-l", "2", "-f", "1", "1"}, p);
        EXPECT_EQ(p.leakType, 0);
        EXPECT_EQ(g_numProt, 0);
        EXPECT_EQ(p.rest, (std::vector<std::string>{"obs", "-l", "2", "-f", "1", "1"}));
    }
    {
        // Only options: nothing positional is left, which the entry point
        // then rejects by the count.
        Parsed p;
        Parse({"prog", "-s", "3"}, p);
        EXPECT_EQ(p.argc, 0);
        EXPECT_EQ(p.pertSize, 3);
    }
}

TEST(CommandLine, DdiOptionReopensTheThreeStreams)
{
    TempDir d;
    const auto a = d.Write("a", "1 2 3\n");
    const auto b = d.Write("b", "4 5\n");
    const auto c = d.Write("c", "6\n");
    {
        Parsed p;
        Parse({"prog", "-d", a, b, c, "x"}, p);
        EXPECT_EQ(p.rest, std::vector<std::string>{"x"});
        EXPECT_EQ(Slurp(p.ddi), "1 2 3 ");
        EXPECT_EQ(Slurp(p.ddmdl), "4 5 ");
        EXPECT_EQ(Slurp(p.ddiopt), "6 ");
    }
    {
        // A repeated -d reopens the streams on the later names.
        Parsed p;
        Parse({"prog", "-d", a, b, c, "-d", c, a, b, "x"}, p);
        EXPECT_EQ(Slurp(p.ddi), "6 ");
        EXPECT_EQ(Slurp(p.ddmdl), "1 2 3 ");
        EXPECT_EQ(Slurp(p.ddiopt), "4 5 ");
    }
}

TEST(CommandLine, DirectCallsRefuseBadWordsWithoutReadingPastTheEnd)
{
    // Each option's arguments cut short by the end of the command line; the
    // array is exactly as long as the words, so a read past it is caught.
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"prog", "-f", "10"}, {"prog", "-f"}, {"prog", "-l"}, {"prog", "-p"}, {"prog", "-n"},
             {"prog", "-s"}, {"prog", "-d", "/dev/null", "/dev/null"}, {"prog", "-l", "1", "-s"}}) {
        Parsed p;
        try {
            Parse(words, p);
            ADD_FAILURE() << "accepted " << words[1];
        } catch (const UsageErr& e) {
            const std::string what = e.what();
            const std::string opt = words.back()[0] == '-' ? words.back() : words[1];
            EXPECT_NE(what.find(opt), std::string::npos) << what;
        }
    }
    // The program name alone, an unknown letter and a lone "-": the usage
    // text alone says enough.
    for (const auto& words : std::vector<std::vector<std::string>>{{"prog"}, {"prog", "-x", "2", "a"}, {"prog", "-", "a"}}) {
        Parsed p;
        EXPECT_THROW(Parse(words, p), UsageErr) << words.size();
    }
    // -d with a missing file: the InFopen error, not a usage error.
    Parsed p;
    try {
        Parse({"prog", "-d", "/dev/null", "no-such-ddi-model-file", "/dev/null", "x"}, p);
        ADD_FAILURE() << "no error for a missing -d file";
    } catch (const FileOpenErr& e) {
        EXPECT_STREQ(e.what(), "can't open no-such-ddi-model-file");
    }
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
    const std::vector<std::vector<std::string>> cases = {
        {},
        Cat({"-x", "2"}, pos),
        Cat({"-"}, pos),
        Cat({"-f", "2", "2", "-"}, pos),
        thirteen,
        fifteen,
        Cat({"-f", "2", "2"}, lateOption),
        // Value checks come only after the count is found right: a bad
        // leak type with 13 positionals gives the usage text alone.
        Cat({"-l", "7"}, thirteen),
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto r = RunMotifbind(cases[i], d.Path());
        EXPECT_EQ(r.status, 1) << "case " << i;
        EXPECT_EQ(r.err, usage) << "case " << i;
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
    struct Case {
        std::vector<std::string> args;
        std::string named; // a word the error line must contain
    };
    const std::vector<Case> cases = {
        {Cat({"-f", "2"}, {}), "-f"},
        {Cat(Cat({"-f", "2", "2"}, pos), {"-f", "10"}), ""}, // 16 positionals: usage alone, checked below
        {Cat({"-f", "-1", "5"}, pos), "-f"},
        {Cat({"-f", "5", "46341"}, pos), "-f"},
        {Cat({"-f", "46341", "5"}, pos), "-f"},
        {Cat({"-f", "2", "2", "-l", "3"}, pos), "-l"},
        {Cat({"-f", "2", "2", "-l", "-1"}, pos), "-l"},
        {Cat({"-f", "2", "2", "-l", "2", "-l", "3"}, pos), "-l"}, // the last value counts
        {Cat({"-f", "2", "2"}, groupZero), "leak"},               // leak type 1 by default
        {Cat({"-f", "2", "2", "-l", "1"}, groupWord), "leak"},
        {Cat({"-f", "2", "2", "-l", "1"}, groupNeg), "leak"},
        {Cat(Cat({"-f", "2", "2"}, {}), {"-s"}), "-s"},
        {Cat({"-f", "2", "2", "-d", "a", "b"}, {}), "-d"},
        {Cat({"-t", "0", "-f", "2", "2"}, pos), "-t"},
        {Cat({"-f", "2", "2", "-t", "-2"}, pos), "-t"},
        {Cat({"-f", "2", "2", "-t", "2x"}, pos), "-t"},
        {Cat({"-f", "2", "2", "-t", "257"}, pos), "-t"},
        {Cat({"-f", "2", "2", "-t", "99999999999"}, pos), "-t"},
        {Cat({"-f", "2", "2", "-t", ""}, pos), "-t"},
        {Cat(Cat({"-f", "2", "2"}, {}), {"-t"}), "-t"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto r = RunMotifbind(cases[i].args, d.Path());
        EXPECT_EQ(r.status, 1) << "case " << i;
        EXPECT_EQ(r.out, "") << "case " << i;
        if (cases[i].named.empty()) {
            EXPECT_EQ(r.err, usage) << "case " << i;
            continue;
        }
        const auto nl = r.err.find('\n');
        ASSERT_NE(nl, std::string::npos) << "case " << i;
        const std::string first = r.err.substr(0, nl);
        EXPECT_EQ(first.rfind("Error: ", 0), 0u) << "case " << i << ": " << first;
        EXPECT_NE(first.find(cases[i].named), std::string::npos) << "case " << i << ": " << first;
        EXPECT_EQ(r.err.substr(nl + 1), usage) << "case " << i;
    }
    EXPECT_TRUE(std::filesystem::is_empty(d.Path()));
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
    // Prior: g_aPos 0.5, ratio 2, g_aNeg = 2 * 0.5 = 1, g_aAll = 1 + 0.5 = 1.5.
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

TEST(CommandLine, ThreadCountIsReadButNotEchoed)
{
    {
        Parsed p;
        Parse(Cat({"prog", "-t", "8", "-f", "3", "4", "-tx", "2"}, Positionals()), p);
        EXPECT_EQ(p.threads, 2); // the last one given wins
        EXPECT_EQ(p.rest, Positionals());
        EXPECT_EQ(p.unechoed, (std::vector<std::string>{"-t", "8", "-tx", "2"}));
        EXPECT_EQ(g_numProt, 3);
    }
    {
        Parsed p;
        Parse(Cat({"prog", "-f", "3", "4"}, Positionals()), p);
        EXPECT_EQ(p.threads, 1);
        EXPECT_TRUE(p.unechoed.empty());
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
    const std::string first = std::string("*** Command line: ") + MOTIFBIND_EXE + " -f 2 2 -l 2 -p 4 obs models pmc act " +
                              inact + " " + wait + " log pred pairs pairs 1 len 100 cov\n";
    const std::string log = ReadFile(d.File("log"));
    EXPECT_EQ(log.substr(0, first.size()), first);
    EXPECT_EQ(log.substr(first.size(), 17), "*** # proteins:\t2");
}

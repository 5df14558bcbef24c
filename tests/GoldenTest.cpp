// Golden runs: every folder under tests/golden holds the inputs of one run,
// its command words (args.txt) and the log, prediction file and standard
// output that the program wrote on them (expected.*), recorded with
// tests/golden/capture.sh. These suites do not judge whether the numbers are
// right (the other suites do that); they pin the current outputs byte for
// byte, so that a faster implementation of the inference can be checked to
// compute exactly what the present one computes, down to the last digit and
// the order of every line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/TestUtil.h"

namespace fs = std::filesystem;
using testutil::GoldenDir;
using testutil::ReadFile;
using testutil::RunMotifbindAs;
using testutil::TempDir;

namespace {

const char* const LOG = "motifbind.log";
const char* const PRED = "predictions.txt";

// The case folders, in name order; a folder counts when it holds args.txt.
std::vector<std::string> CaseNames()
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(GoldenDir(), ec))
        if (e.is_directory() && fs::exists(e.path() / "args.txt"))
            names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Leading options added in front of a case's words. Each must leave every
// output byte as recorded, the first log line included: that line echoes the
// command, and the expected log holds the words without these options, so a
// variant passes only if the program keeps such options out of the echo.
struct Variant {
    std::string name;
    std::vector<std::string> extra;
};

const std::vector<Variant>& Variants()
{
    static const std::vector<Variant> v = {
        {"AsRecorded", {}},
        // Options that change how the work is done but never its result.
        {"Threads1", {"-t", "1"}},
        {"Threads2", {"-t", "2"}},
        {"Threads8", {"-t", "8"}},
        // The one block of one: the whole analysis, and a manifest beside.
        {"Shard0of1", {"-j", "0", "1"}},
        {"Shard0of1Threads2", {"-t", "2", "-j", "0", "1"}},
    };
    return v;
}

std::vector<std::string> Words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> w;
    for (std::string s; in >> s;)
        w.push_back(s);
    return w;
}

std::string Join(const std::vector<std::string>& w)
{
    std::string s;
    for (const auto& x : w)
        s += (s.empty() ? "" : " ") + x;
    return s;
}

// The line of `text` that starts at `start`, without its newline.
std::string LineAt(const std::string& text, std::size_t start)
{
    const std::size_t end = text.find('\n', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// The same line as it is shown in a failure message: shortened, and marked
// when the text ends without a newline or before the line.
std::string ShownLine(const std::string& text, std::size_t start)
{
    if (start >= text.size())
        return "<end of file>";
    std::string line = LineAt(text, start);
    if (line.size() > 200)
        line = line.substr(0, 200) + "...";
    if (text.find('\n', start) == std::string::npos)
        line += "<no final newline>";
    return line;
}

// Empty when the texts are equal; otherwise the number of the first line in
// which they part, with that line from both.
std::string FirstDifference(const std::string& want, const std::string& got)
{
    if (want == got)
        return "";
    const auto w = std::mismatch(want.begin(), want.end(), got.begin(), got.end()).first;
    const std::size_t at = std::size_t(w - want.begin());
    const std::size_t line = 1 + std::size_t(std::count(want.begin(), w, '\n'));
    const std::size_t pos = want.rfind('\n', at == 0 ? 0 : at - 1);
    const std::size_t start = (pos == std::string::npos || at == 0) ? 0 : pos + 1;
    return "first difference in line " + std::to_string(line) + "\n  expected: " + ShownLine(want, start) +
           "\n  actual:   " + ShownLine(got, start);
}

// Names the variant in gtest's messages instead of dumping its bytes.
void PrintTo(const Variant& v, std::ostream* os) { *os << v.name; }

using Param = std::tuple<std::string, Variant>;

class GoldenRun : public ::testing::TestWithParam<Param> {};

TEST_P(GoldenRun, ReproducesRecordedOutputs)
{
    const auto& [name, variant] = GetParam();
    const fs::path src = GoldenDir() / name;
    const std::vector<std::string> words = Words(ReadFile((src / "args.txt").string()));
    ASSERT_FALSE(words.empty()) << name << ": args.txt is empty";
    // The outputs are read back under these names, so the case must use them.
    ASSERT_NE(std::find(words.begin(), words.end(), LOG), words.end()) << name;
    ASSERT_NE(std::find(words.begin(), words.end(), PRED), words.end()) << name;

    const std::string wantLog = ReadFile((src / "expected.log").string());
    const std::string wantPred = ReadFile((src / "expected.pred").string());
    const std::string wantOut = ReadFile((src / "expected.stdout").string());
    // A recorded log that does not echo exactly these words was captured
    // some other way and would not tell a changed echo from a changed case.
    ASSERT_EQ(LineAt(wantLog, 0), "*** Command line: motifbind " + Join(words)) << name;

    TempDir d;
    for (const auto& e : fs::directory_iterator(src)) {
        const std::string f = e.path().filename().string();
        if (e.is_regular_file() && f != "args.txt" && f.rfind("expected.", 0) != 0)
            fs::copy_file(e.path(), fs::path(d.Path()) / f);
    }

    std::vector<std::string> args = variant.extra;
    args.insert(args.end(), words.begin(), words.end());
    const testutil::RunResult r = RunMotifbindAs("motifbind", args, d.Path());
    ASSERT_EQ(r.status, 0) << name << " (" << variant.name << ") failed; standard error:\n" << r.err;

    const std::string logDiff = FirstDifference(wantLog, ReadFile(d.File(LOG)));
    EXPECT_TRUE(logDiff.empty()) << name << " (" << variant.name << "): " << LOG << ": " << logDiff;
    const std::string predDiff = FirstDifference(wantPred, ReadFile(d.File(PRED)));
    EXPECT_TRUE(predDiff.empty()) << name << " (" << variant.name << "): " << PRED << ": " << predDiff;
    const std::string outDiff = FirstDifference(wantOut, r.out);
    EXPECT_TRUE(outDiff.empty()) << name << " (" << variant.name << "): standard output: " << outDiff;
}

std::string ParamName(const ::testing::TestParamInfo<Param>& info)
{
    std::string s = std::get<0>(info.param) + "_" + std::get<1>(info.param).name;
    for (char& c : s)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return s;
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenRun,
                         ::testing::Combine(::testing::ValuesIn(CaseNames()), ::testing::ValuesIn(Variants())),
                         ParamName);

// A missing or emptied folder would otherwise leave nothing to compare and
// pass unnoticed.
TEST(GoldenCases, FolderHoldsTheRecordedCases) { EXPECT_GE(CaseNames().size(), 12u) << GoldenDir(); }

// The mismatch report points at the right line, also when one text is a
// prefix of the other.
TEST(GoldenCases, FirstDifferenceNamesTheLine)
{
    EXPECT_EQ(FirstDifference("a\nb\n", "a\nb\n"), "");
    EXPECT_EQ(FirstDifference("a\nb\nc\n", "a\nx\nc\n"), "first difference in line 2\n  expected: b\n  actual:   x");
    EXPECT_EQ(FirstDifference("a\nb\n", "a\n"), "first difference in line 2\n  expected: b\n  actual:   <end of file>");
    EXPECT_EQ(FirstDifference("ab\n", "ac\n"), "first difference in line 1\n  expected: ab\n  actual:   ac");
    EXPECT_EQ(FirstDifference("a\n", "a"),
              "first difference in line 1\n  expected: a\n  actual:   a<no final newline>");
}

} // namespace

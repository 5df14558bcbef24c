#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/FifoFeeder.h"
#include "support/TestUtil.h"

using testutil::Describe;
using testutil::FifoFeeder;
using testutil::FileExists;
using testutil::ReadFile;
using testutil::RunResult;
using testutil::TempDir;

// Every input file of a run, replaced one at a time by bad contents or by
// something that is not a regular file. Whatever the bytes, a run ends in
// one of two ways: complete (status 0, both outputs ending with "*** End of
// file.", only "Warning: " lines on standard error) or refused (status 2 and
// a single "Error: " line naming the file). Anything else - a crash, a
// sanitizer report, a hang - fails the case that caused it.
namespace {

namespace fs = std::filesystem;

const std::string kEnd = "*** End of file.\n";

// Seconds a run may take before it is killed and counted as a hang.
constexpr double kHardLimit = 20;
// An endless input must be given up on quickly.
constexpr double kEndlessLimit = 5;

// One input file of the small data set. The field numbers point into the
// file's first record; -1 when the file has no such field.
struct InputFile {
    const char* label;  // for test names
    const char* name;   // file name on the command line
    const char* good;   // contents of the good data set
    int idField;        // a protein, motif or model id
    int realField;      // a real value
    int lengthField;    // a length or a covered amino-acid count
    const char* filler; // record repeated on the 10 MB line; empty: the good records
    const char* refs;   // files whose references to this one's ids may be the ones refused
};

// Four proteins (3 carries no motifs), two motifs, both motif pairs with
// motif 0 active, binary and Gaussian observation models, and domain-domain
// evidence with a default observation for every active pair.
const std::vector<InputFile>& Files()
{
    static const std::vector<InputFile> files = {
        {"Observed", "observed.txt", "1 0 1 0 1\n2 1 0.3 2 3\n2 0 0 0 1\n", 0, 2, -1,
         "0000000002 0000000000 0000000000 0000000000 0000000001", ""},
        {"ModelTypes", "modeltypes.txt", "0 OM_BINARY 0.8\n1 OM_BINARY 0.2\n2 OM_GAUSSIAN 0 1\n3 OM_GAUSSIAN 1 1\n", 0,
         2, -1, "4", "observed.txt"},
        {"MotifContent", "content.txt", "0 0 5\n1 1 5\n2 0 4\n2 1 3\n", 0, -1, 2, "", ""},
        {"ActivePairs", "activepairs.txt", "1 0 0.5\n0 0 0.3\n", 0, 2, -1, "", ""},
        // On the 10 MB line, padded tokens keep the number of records (and
        // the work they make) small. Every pair to predict is a line of the
        // prediction file and every binding pair is perturbed, so those
        // lists repeat a pair of the motif-less protein. Each model record
        // is a model dumped in every phase of the log, so the model files
        // go on with a record cut short by a number where the type belongs.
        {"PredictPairs", "interact.txt", "1 0\n2 1\n2 0\n3 1\n", 0, -1, -1, "00000003 00000003", ""},
        {"BindingPairs", "bind.txt", "1 0\n2 1\n", 0, -1, -1, "00000003 00000003", ""},
        {"ProteinLengths", "lengths.txt", "0 10\n1 12\n2 15\n3 8\n", 0, -1, 1, "", ""},
        {"MotifCoverage", "coverage.txt", "0 5\n1 5\n2 7\n3 0\n", 0, -1, 1, "", ""},
        {"DdiObservations", "ddiobs.txt", "1 0 2.2 0 1\n0 0 -0.4 0 1\n", 0, 2, -1,
         "0000000001 0000000000 00000002.2 0000000000 0000000001", ""},
        {"DdiModels", "ddimodels.txt", "0 OM_GAUSSIAN 0 1\n1 OM_GAUSSIAN 2 1\n", 0, 2, -1, "4",
         "ddiobs.txt ddioptions.txt"},
        {"DdiOptions", "ddioptions.txt", "2 0.5 0 1 2\n", 4, 1, -1, "", ""},
    };
    return files;
}

void WriteDataSet(const TempDir& d)
{
    for (const auto& f : Files())
        d.Write(f.name, f.good);
    d.Write("maybepairs.txt", "");
    d.Write("waitpairs.txt", "");
}

// The command line of a run on the data set, with the word naming `which`
// (one of Files()) replaced by `word`.
std::vector<std::string> Args(const std::string& which = "", const std::string& word = "",
                              const std::string& log = "out.log", const std::string& pred = "out.pred")
{
    std::vector<std::string> a = {"-f",
                                  "4",
                                  "2",
                                  "-p",
                                  "1",
                                  "-d",
                                  "ddiobs.txt",
                                  "ddimodels.txt",
                                  "ddioptions.txt",
                                  "observed.txt",
                                  "modeltypes.txt",
                                  "content.txt",
                                  "activepairs.txt",
                                  "maybepairs.txt",
                                  "waitpairs.txt",
                                  log,
                                  pred,
                                  "interact.txt",
                                  "bind.txt",
                                  "1",
                                  "lengths.txt",
                                  "100",
                                  "coverage.txt"};
    for (auto& w : a)
        if (!which.empty() && w == which)
            w = word;
    return a;
}

// Runs motifbind from `cwd` under the memory cap, killed after `limit`
// seconds; with `closeOut` standard output is a pipe whose reader takes one
// byte and goes away.
RunResult RunLimited(const std::vector<std::string>& args, const std::string& cwd, double limit = kHardLimit,
                     bool closeOut = false)
{
    testutil::RunOptions o;
    o.cwd = cwd;
    o.seconds = limit;
    o.memoryCap = true;
    o.stdoutReaderLeaves = closeOut;
    return testutil::RunProgram(MOTIFBIND_EXE, args, o);
}

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<std::string> Lines(const std::string& s)
{
    std::vector<std::string> lines;
    std::istringstream in(s);
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    return lines;
}

// The two allowed ends of a run, checked on the outcome and the outputs in
// `dir`. `named` is the word the error line must contain.
void ExpectCompleteOrRefused(const RunResult& o, const TempDir& dir, const std::vector<std::string>& named,
                             const std::string& log = "out.log", const std::string& pred = "out.pred")
{
    ASSERT_FALSE(o.timedOut) << Describe(o);
    ASSERT_TRUE(o.exited) << Describe(o);
    ASSERT_TRUE(o.status == 0 || o.status == 2) << Describe(o);
    const std::string logPath = log[0] == '/' ? log : dir.File(log);
    const std::string predPath = pred[0] == '/' ? pred : dir.File(pred);
    if (o.status == 0) {
        // An output on a device (/dev/full) reads back as something else.
        if (log[0] != '/') {
            EXPECT_TRUE(EndsWith(ReadFile(logPath), kEnd)) << "log of a complete run is cut short";
        }
        if (pred[0] != '/') {
            EXPECT_TRUE(EndsWith(ReadFile(predPath), kEnd)) << "prediction file of a complete run is cut short";
        }
        for (const auto& l : Lines(o.err))
            EXPECT_EQ(l.rfind("Warning: ", 0), 0u) << "on standard error: " << l.substr(0, 200);
        return;
    }
    // Exactly one error line, the last; warnings may come before it (a model
    // file that stopped early, then the record that needs a lost model).
    const auto lines = Lines(o.err);
    ASSERT_FALSE(lines.empty()) << Describe(o);
    EXPECT_TRUE(EndsWith(o.err, "\n")) << Describe(o);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        EXPECT_EQ(lines[i].rfind("Warning: ", 0), 0u) << "before the error: " << lines[i].substr(0, 200);
    const std::string first = lines.back();
    EXPECT_EQ(first.rfind("Error: ", 0), 0u) << Describe(o);
    bool found = false;
    for (const auto& n : named)
        found = found || first.find(n) != std::string::npos;
    EXPECT_TRUE(found) << "error does not name " << named.front() << ": " << Describe(o);
    // A refused run must not leave outputs that look like a finished one.
    if (log[0] != '/' && FileExists(logPath)) {
        EXPECT_FALSE(EndsWith(ReadFile(logPath), kEnd)) << "refused run left a complete log";
    }
    if (pred[0] != '/' && FileExists(predPath)) {
        EXPECT_FALSE(EndsWith(ReadFile(predPath), kEnd)) << "refused run left a complete prediction file";
    }
}

// The good data set's log and prediction file.
struct Baseline {
    RunResult run;
    std::string log, pred;
};

const Baseline& Good()
{
    static const Baseline b = [] {
        TempDir d;
        WriteDataSet(d);
        Baseline r;
        r.run = RunLimited(Args(), d.Path());
        r.log = ReadFile(d.File("out.log"));
        r.pred = ReadFile(d.File("out.pred"));
        return r;
    }();
    return b;
}

enum class Kind {
    Empty,
    HeaderLine,
    WordMidFile,
    TruncatedRecord,
    IdOutOfRange,
    IdNegative,
    IdTwoPow40,
    LengthNegative,
    LengthHuge,
    Exponent,
    PlusSign,
    MinusZero,
    RealExponent,
    Nan,
    Inf,
    MinusInf,
    Crlf,
    NoFinalNewline,
    BinaryGarbage,
    LongLineOfTokens,
    LongToken,
    Directory,
    Fifo,
    DevZero,
};

const char* KindName(Kind k)
{
    switch (k) {
    case Kind::Empty:
        return "Empty";
    case Kind::HeaderLine:
        return "HeaderLine";
    case Kind::WordMidFile:
        return "WordMidFile";
    case Kind::TruncatedRecord:
        return "TruncatedRecord";
    case Kind::IdOutOfRange:
        return "IdOutOfRange";
    case Kind::IdNegative:
        return "IdNegative";
    case Kind::IdTwoPow40:
        return "IdTwoPow40";
    case Kind::LengthNegative:
        return "LengthNegative";
    case Kind::LengthHuge:
        return "LengthHuge";
    case Kind::Exponent:
        return "Exponent";
    case Kind::PlusSign:
        return "PlusSign";
    case Kind::MinusZero:
        return "MinusZero";
    case Kind::RealExponent:
        return "RealExponent";
    case Kind::Nan:
        return "Nan";
    case Kind::Inf:
        return "Inf";
    case Kind::MinusInf:
        return "MinusInf";
    case Kind::Crlf:
        return "Crlf";
    case Kind::NoFinalNewline:
        return "NoFinalNewline";
    case Kind::BinaryGarbage:
        return "BinaryGarbage";
    case Kind::LongLineOfTokens:
        return "LongLineOfTokens";
    case Kind::LongToken:
        return "LongToken";
    case Kind::Directory:
        return "Directory";
    case Kind::Fifo:
        return "Fifo";
    case Kind::DevZero:
        return "DevZero";
    }
    return "?";
}

// Cases that are the good data in another form: the run must be the good run.
bool SameAsGood(Kind k) { return k == Kind::Crlf || k == Kind::NoFinalNewline || k == Kind::Fifo; }

// `text` with token `field` of its first line replaced by `word`.
std::string ReplaceField(const std::string& text, int field, const std::string& word)
{
    const std::size_t eol = text.find('\n');
    std::istringstream in(text.substr(0, eol));
    std::vector<std::string> tokens;
    for (std::string t; in >> t;)
        tokens.push_back(t);
    tokens.at(std::size_t(field)) = word;
    std::string line;
    for (const auto& t : tokens)
        line += (line.empty() ? "" : " ") + t;
    return line + text.substr(eol);
}

std::string Replace(std::string s, const std::string& from, const std::string& to)
{
    for (std::size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += to.size())
        s.replace(at, from.size(), to);
    return s;
}

std::string FieldOf(const std::string& text, int field)
{
    std::istringstream in(text.substr(0, text.find('\n')));
    std::string t;
    for (int i = 0; i <= field; ++i)
        in >> t;
    return t;
}

constexpr std::size_t kTenMegabytes = 10u << 20;

// The bad contents of `f` for a case that replaces the file's bytes.
std::string Contents(const InputFile& f, Kind k)
{
    const std::string good = f.good;
    switch (k) {
    case Kind::Empty:
        return "";
    case Kind::HeaderLine:
        return "prot1 prot2 value\n" + good;
    case Kind::WordMidFile: {
        const std::size_t eol = good.find('\n') + 1;
        return good.substr(0, eol) + "abc\n" + good.substr(eol);
    }
    case Kind::TruncatedRecord: {
        // The last record without its last token.
        std::string s = good.substr(0, good.size() - 1);
        return s.substr(0, s.find_last_of(' ')) + "\n";
    }
    case Kind::IdOutOfRange:
        return ReplaceField(good, f.idField, "9");
    case Kind::IdNegative:
        return ReplaceField(good, f.idField, "-3");
    case Kind::IdTwoPow40:
        return ReplaceField(good, f.idField, "1099511627776");
    case Kind::LengthNegative:
        return ReplaceField(good, f.lengthField, "-10");
    case Kind::LengthHuge:
        return ReplaceField(good, f.lengthField, "99999999999999999999999");
    case Kind::Exponent:
        return ReplaceField(good, f.idField, "1e3");
    case Kind::PlusSign:
        return ReplaceField(good, f.idField, "+" + FieldOf(good, f.idField));
    case Kind::MinusZero:
        return ReplaceField(good, f.idField, "-0");
    case Kind::RealExponent:
        return ReplaceField(good, f.realField, "5e-1");
    case Kind::Nan:
        return ReplaceField(good, f.realField, "nan");
    case Kind::Inf:
        return ReplaceField(good, f.realField, "inf");
    case Kind::MinusInf:
        return ReplaceField(good, f.realField, "-inf");
    case Kind::Crlf:
        return Replace(good, "\n", "\r\n");
    case Kind::NoFinalNewline:
        return good.substr(0, good.size() - 1);
    case Kind::BinaryGarbage: {
        std::mt19937 gen(20240611);
        std::string s(400, '\0');
        for (auto& c : s)
            c = char(gen() & 0xFF);
        s[7] = '\0';
        s[100] = '\xFF';
        s[250] = '\0';
        s[399] = '\xFF';
        return s;
    }
    case Kind::LongLineOfTokens: {
        // The good records, then copies of the filler, all on one line.
        std::string s = Replace(good, "\n", " ");
        const std::string unit = std::string(*f.filler ? f.filler : Replace(good, "\n", " ")) + " ";
        s.reserve(kTenMegabytes + unit.size() + 1);
        while (s.size() < kTenMegabytes)
            s += unit;
        return s + "\n";
    }
    case Kind::LongToken:
        return ReplaceField(good, f.idField, "1" + std::string(kTenMegabytes, '0'));
    case Kind::Directory:
    case Kind::Fifo:
    case Kind::DevZero:
        break;
    }
    return good;
}

struct Case {
    int file;
    Kind kind;
};

std::vector<Case> AllCases()
{
    std::vector<Case> cases;
    for (int i = 0; i < int(Files().size()); ++i) {
        const InputFile& f = Files()[std::size_t(i)];
        for (int k = 0; k <= int(Kind::DevZero); ++k) {
            const Kind kind = Kind(k);
            const bool length = kind == Kind::LengthNegative || kind == Kind::LengthHuge;
            const bool real =
                kind == Kind::RealExponent || kind == Kind::Nan || kind == Kind::Inf || kind == Kind::MinusInf;
            if ((length && f.lengthField < 0) || (real && f.realField < 0))
                continue;
            cases.push_back({i, kind});
        }
    }
    return cases;
}

class BadInput : public ::testing::TestWithParam<Case> {};

TEST_P(BadInput, EndsCompleteOrWithOneErrorNamingTheFile)
{
    const Case c = GetParam();
    const InputFile& f = Files()[std::size_t(c.file)];
    TempDir d;
    WriteDataSet(d);
    const std::string path = d.File(f.name);
    std::string word = f.name;
    std::unique_ptr<FifoFeeder> feeder;
    double limit = kHardLimit;
    switch (c.kind) {
    case Kind::Directory:
        fs::remove(path);
        fs::create_directory(path);
        break;
    case Kind::Fifo:
        fs::remove(path);
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        feeder = std::make_unique<FifoFeeder>(path, f.good);
        break;
    case Kind::DevZero:
        word = "/dev/zero";
        limit = kEndlessLimit;
        break;
    default:
        d.Write(f.name, Contents(f, c.kind));
    }
    const RunResult o = RunLimited(Args(f.name, word), d.Path(), limit);
    if (feeder)
        feeder->Stop();
    // A model file that lost a record is seen where the missing model is
    // referred to.
    std::vector<std::string> named = {word};
    std::istringstream refs(f.refs);
    for (std::string r; refs >> r;)
        named.push_back(r);
    ExpectCompleteOrRefused(o, d, named);

    if (SameAsGood(c.kind)) {
        ASSERT_EQ(Good().run.status, 0);
        EXPECT_EQ(o.status, 0) << Describe(o);
        EXPECT_EQ(o.err, "");
        EXPECT_EQ(ReadFile(d.File("out.log")), Good().log) << "the same data gave another log";
        EXPECT_EQ(ReadFile(d.File("out.pred")), Good().pred) << "the same data gave other predictions";
    }
}

INSTANTIATE_TEST_SUITE_P(Files, BadInput, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(Files()[std::size_t(info.param.file)].label) + "_" +
                                    KindName(info.param.kind);
                         });

TEST(BadInputBaseline, GoodDataSetRunsCleanly)
{
    const Baseline& b = Good();
    ASSERT_TRUE(b.run.exited) << Describe(b.run);
    EXPECT_EQ(b.run.status, 0) << Describe(b.run);
    EXPECT_EQ(b.run.err, "");
    EXPECT_TRUE(EndsWith(b.log, kEnd));
    EXPECT_TRUE(EndsWith(b.pred, kEnd));
    // The perturbation ran, so the binding list was read for it too.
    EXPECT_NE(b.log.find("Joint prob before perturbation:"), std::string::npos);
}

TEST(BadOutput, LogOnAFullDeviceIsAWriteError)
{
    TempDir d;
    WriteDataSet(d);
    const RunResult o = RunLimited(Args("", "", "/dev/full", "out.pred"), d.Path());
    ExpectCompleteOrRefused(o, d, {"/dev/full"}, "/dev/full", "out.pred");
    EXPECT_EQ(o.status, 2) << Describe(o);
}

TEST(BadOutput, PredictionFileOnAFullDeviceIsAWriteError)
{
    TempDir d;
    WriteDataSet(d);
    const RunResult o = RunLimited(Args("", "", "out.log", "/dev/full"), d.Path());
    ExpectCompleteOrRefused(o, d, {"/dev/full"}, "out.log", "/dev/full");
    EXPECT_EQ(o.status, 2) << Describe(o);
}

TEST(BadOutput, StandardOutputClosedEarlyIsAnErrorWithTheLogIntact)
{
    // A run whose mixture models print some 15 kB of learning progress:
    // more than the pipe holds, so it is still writing when the reader goes.
    const fs::path data = fs::path(MOTIFBIND_TEST_DATA) / ".." / "golden" / "sim-mixture-scores";
    TempDir d, full;
    for (const auto& e : fs::directory_iterator(data)) {
        const std::string name = e.path().filename().string();
        if (name.rfind("expected", 0) == 0 || name == "args.txt")
            continue;
        fs::copy_file(e.path(), d.File(name));
        fs::copy_file(e.path(), full.File(name));
    }
    std::vector<std::string> args;
    std::istringstream words(ReadFile((data / "args.txt").string()));
    for (std::string w; words >> w;)
        args.push_back(w);
    const std::string log = "motifbind.log";
    ASSERT_NE(std::find(args.begin(), args.end(), log), args.end());

    const RunResult whole = RunLimited(args, full.Path());
    ASSERT_EQ(whole.status, 0) << Describe(whole);
    ASSERT_GT(whole.out.size(), 3 * testutil::LEAVING_PIPE_SIZE)
        << "too little progress on standard output to close it early";
    const std::string wholeLog = ReadFile(full.File(log));

    const RunResult o = RunLimited(args, d.Path(), kHardLimit, true);
    ASSERT_FALSE(o.timedOut) << Describe(o);
    EXPECT_TRUE(o.exited) << Describe(o);
    EXPECT_EQ(o.status, 2) << Describe(o);
    if (o.exited && o.status == 2) {
        EXPECT_EQ(o.err.rfind("Error: ", 0), 0u) << Describe(o);
        EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << "standard error is not exactly one line: " << o.err;
    }
    // What reached the log is the start of the whole run's log.
    const std::string part = ReadFile(d.File(log));
    EXPECT_EQ(wholeLog.compare(0, part.size(), part), 0) << "log differs from the complete run's";
    EXPECT_FALSE(EndsWith(part, kEnd)) << "a failed run left a complete log";
}

} // namespace

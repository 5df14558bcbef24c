// The merge on hand-made shards: outputs cut from one made-up run the way a
// run with -j cuts them, each with its manifest. Joined again they must give
// that run byte for byte; any shard that does not fit must be refused with
// one line naming it, and then nothing may be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "format/Checksum.h"
#include "motifbind/Version.h"
#include "tools/merge/ByteFile.h"
#include "tools/merge/MergeMain.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using testutil::ReadFile;
using testutil::TempDir;
using testutil::WriteFile;

namespace {

// Names of every file under `dir`, relative to it, sorted.
std::vector<std::string> Listing(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (e.is_regular_file()) {
            names.push_back(fs::relative(e.path(), dir).string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A made-up run of `cycles` cycles: each cycle writes log lines and some
// mixture progress of its own length, so that block boundaries fall at
// uneven offsets; one in three cycles prints nothing on standard output.
struct MadeUpRun {
    std::string version = "1.0.0";
    std::string command =
        "*** Command line: motifbind -f 40 12 -p 1 obs models pmc act inact wait "
        "motifbind.log predictions.txt pairs bind 0.1 len 100 cov";
    std::string training;
    std::string tail = "*** End of file.\n";
    std::string outTraining = "Log likelihood at start of iteration 0: -12.5\nConverged after 3 iterations\n";
    std::string pred = "1\t0\t0.5,0.4\t0.1\n3\t2\t0.9,0.9\tH\n*** End of file.\n";
    std::vector<std::string> cycleLog, cycleOut;

    explicit MadeUpRun(int cycles)
    {
        training = command +
                   "\n*** # proteins:\t40\n****** RunEM without DDI ...\n"
                   "Joint prob before perturbation:\t-1234.56789\n";
        for (int i = 0; i < cycles; ++i) {
            std::string log = "*** SetNonBind (prot1, mot1, prob2, numLeak, numNBLeak, numActLeak):\t" +
                              std::to_string(i) + "\t1\t0\t3\t1\t2\n";
            for (int k = 0; k <= i % 4; ++k) {
                log += "*** Likelihood change after reconverge (Prot1, Mot1, Prot2, Prob):\t" + std::to_string(i) +
                       "\t-0." + std::string(std::size_t(k + 1), char('1' + k)) + "\n";
            }
            cycleLog.push_back(log);
            cycleOut.push_back(i % 3 == 2 ? "" : "Log likelihood at start of iteration " + std::to_string(i) + "\n");
        }
    }
    std::string Log(std::size_t first, std::size_t end) const
    {
        std::string s = training;
        for (std::size_t i = first; i < end; ++i) {
            s += cycleLog[i];
        }
        return s + tail;
    }
    std::string Out(std::size_t first, std::size_t end) const
    {
        std::string s = outTraining;
        for (std::size_t i = first; i < end; ++i) {
            s += cycleOut[i];
        }
        return s;
    }
};

// The manifest's checksum of a part: 64-bit FNV-1a, 16 hex digits.
std::string Sum(const std::string& part)
{
    Fnv1a h;
    h.Add(part.data(), part.size());
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h.Value()));
    return buf;
}

// The files of one shard, in a folder of its own.
struct ShardFiles {
    std::string log, pred, out;
};

// Writes block `index` of `count` of `run` under `dir`, as a run with -j
// does: the whole training part and tail, its own cycles, its manifest.
ShardFiles WriteShard(const MadeUpRun& run, const std::string& dir, std::size_t index, std::size_t count)
{
    const std::size_t n = run.cycleLog.size();
    const std::size_t first = n * index / count, end = n * (index + 1) / count;
    ShardFiles f{dir + "/motifbind.log", dir + "/predictions.txt", dir + "/stdout.txt"};
    const std::string log = run.Log(first, end), out = run.Out(first, end);
    WriteFile(f.log, log);
    WriteFile(f.pred, run.pred);
    WriteFile(f.out, out);
    const std::size_t logStart = run.training.size(), logEnd = log.size() - run.tail.size();
    const std::size_t outStart = run.outTraining.size(), outEnd = out.size();
    std::string manifest = "motifbind shard\nversion " + run.version + "\nblock ";
    manifest += std::to_string(index) + " " + std::to_string(count) + "\ncycles " + std::to_string(first) + " " +
                std::to_string(end) + " " + std::to_string(n) + "\nlog_perturbation " + std::to_string(logStart) + " " +
                std::to_string(logEnd) + " " + Sum(log.substr(logStart, logEnd - logStart)) + "\nstdout_perturbation " +
                std::to_string(outStart) + " " + std::to_string(outEnd) + " " + Sum(out.substr(outStart)) + "\n";
    WriteFile(f.log + ".shard", manifest);
    return f;
}

struct Result {
    int status = -1;
    std::string out, err;
};

struct Merge {
    const TempDir& d;
    std::vector<ShardFiles> shards;

    std::vector<std::string> Args() const
    {
        std::vector<std::string> a = {"--logs"};
        for (const auto& s : shards) {
            a.push_back(s.log);
        }
        a.push_back("--predictions");
        for (const auto& s : shards) {
            a.push_back(s.pred);
        }
        a.push_back("--stdouts");
        for (const auto& s : shards) {
            a.push_back(s.out);
        }
        a.insert(a.end(), {"--out-log", d.File("merged/motifbind.log"), "--out-predictions",
                           d.File("merged/predictions.txt"), "--out-stdout", d.File("merged/stdout.txt")});
        return a;
    }
    Result Run(const std::vector<std::string>& args) const
    {
        fs::create_directories(d.File("merged"));
        std::ostringstream out, err;
        Result r;
        r.status = MergeMain(args, out, err);
        r.out = out.str();
        r.err = err.str();
        return r;
    }
    Result Run() const { return Run(Args()); }
};

// All blocks of `count`, in the order given by `order` (block numbers).
std::vector<ShardFiles> Shards(const MadeUpRun& run, const TempDir& d, std::size_t count,
                               const std::vector<std::size_t>& order)
{
    std::vector<ShardFiles> s;
    for (const std::size_t b : order) {
        std::string name = "s";
        name += std::to_string(b);
        s.push_back(WriteShard(run, d.File(name), b, count));
    }
    return s;
}

std::vector<std::size_t> AllBlocks(std::size_t count)
{
    std::vector<std::size_t> b(count);
    for (std::size_t i = 0; i < count; ++i) {
        b[i] = i;
    }
    return b;
}

// A refused merge: status 1, one "Error: " line holding every piece of
// `words`, and no file in the output folder, not even a temporary one.
void ExpectRefused(const Result& r, const TempDir& d, const std::vector<std::string>& words)
{
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("Error: ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    for (const auto& w : words) {
        EXPECT_NE(r.err.find(w), std::string::npos) << "'" << w << "' not in: " << r.err;
    }
    EXPECT_TRUE(Listing(d.File("merged")).empty());
}

} // namespace

TEST(Merge, BlocksInAnyOrderGiveTheSingleRunByteForByte)
{
    for (const int cycles : {7, 2, 0}) {
        const MadeUpRun run(cycles);
        for (const std::size_t count : {1u, 3u, 4u}) {
            std::vector<std::size_t> order = AllBlocks(count);
            std::reverse(order.begin(), order.end());
            if (count == 4) {
                order = {2, 0, 3, 1};
            }
            TempDir d;
            const Merge m{d, Shards(run, d, count, order)};
            const Result r = m.Run();
            ASSERT_EQ(r.status, 0) << cycles << " cycles, " << count << " shards: " << r.err;
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(ReadFile(d.File("merged/motifbind.log")), run.Log(0, std::size_t(cycles)))
                << cycles << " cycles, " << count << " shards";
            EXPECT_EQ(ReadFile(d.File("merged/stdout.txt")), run.Out(0, std::size_t(cycles)))
                << cycles << " cycles, " << count << " shards";
            EXPECT_EQ(ReadFile(d.File("merged/predictions.txt")), run.pred);
            // Only the three outputs: the temporary names are gone.
            EXPECT_EQ(Listing(d.File("merged")),
                      (std::vector<std::string>{"motifbind.log", "predictions.txt", "stdout.txt"}));
        }
    }
}

TEST(Merge, RefusesMissingRepeatedAndMisjoinedBlocks)
{
    const MadeUpRun run(7);
    {
        TempDir d;
        ExpectRefused(Merge{d, Shards(run, d, 4, {0, 1, 3})}.Run(), d, {"block 2 of 4 is missing"});
    }
    {
        TempDir d;
        auto s = Shards(run, d, 4, {0, 1, 2, 3});
        s.push_back(WriteShard(run, d.File("again"), 1, 4));
        ExpectRefused(Merge{d, s}.Run(), d, {"block 1 of 4 given twice", "s1/motifbind.log", "again/motifbind.log"});
    }
    {
        // The same shard named twice in place of another.
        TempDir d;
        auto s = Shards(run, d, 3, {0, 1, 2});
        s[2] = s[1];
        ExpectRefused(Merge{d, s}.Run(), d, {"block 1 of 3 given twice"});
    }
    {
        // A block of another split of the same analysis.
        TempDir d;
        auto s = Shards(run, d, 3, {0, 1});
        s.push_back(WriteShard(run, d.File("other"), 2, 4));
        ExpectRefused(Merge{d, s}.Run(), d, {"shard " + s[2].log, "block 2 of 4", "block 0 of 3"});
    }
    {
        // A manifest whose cycle range does not join its neighbours.
        TempDir d;
        auto s = Shards(run, d, 3, {0, 1, 2});
        std::string text = ReadFile(s[1].log + ".shard");
        const std::size_t at = text.find("cycles 2 4 7");
        ASSERT_NE(at, std::string::npos) << text;
        text.replace(at, 12, "cycles 3 4 7");
        WriteFile(s[1].log + ".shard", text);
        ExpectRefused(Merge{d, s}.Run(), d, {"shard " + s[1].log, "holds cycles 3 to 4", "end at cycle 2"});
    }
    {
        // A block of the same analysis run by another release of motifbind.
        TempDir d;
        auto s = Shards(run, d, 3, {0, 1});
        MadeUpRun newer = run;
        newer.version = "1.0.1";
        s.push_back(WriteShard(newer, d.File("newer"), 2, 3));
        ExpectRefused(
            Merge{d, s}.Run(), d,
            {"shard " + s[2].log + ": ", "made by motifbind version '1.0.1'", "shard " + s[0].log, "version '1.0.0'"});
    }
    {
        // Another analysis: the same blocks of a list with one cycle more.
        TempDir d;
        auto s = Shards(run, d, 2, {0});
        s.push_back(WriteShard(MadeUpRun(8), d.File("longer"), 1, 2));
        ExpectRefused(Merge{d, s}.Run(), d, {"shard " + s[1].log, "has 8 cycles", "7"});
    }
}

TEST(Merge, RefusesShardsOfAnotherCommandOrWithOtherTrainingOutputs)
{
    const MadeUpRun run(7);
    struct Edit {
        const char* what;
        std::string ShardFiles::*file;
        std::size_t at; // byte changed; counted from the end when `fromEnd`
        bool fromEnd;
        std::vector<std::string> words;
    };
    const std::size_t argEnd = run.command.size() - 3; // inside the echoed words
    const std::vector<Edit> edits = {
        {"command", &ShardFiles::log, argEnd, false, {"its command line differs", "s0/motifbind.log"}},
        {"training",
         &ShardFiles::log,
         run.command.size() + 5,
         false,
         {"its training part differs from that of shard", "s0/motifbind.log",
          "at byte offset " + std::to_string(run.command.size() + 5)}},
        {"tail", &ShardFiles::log, 3, true, {"the end of its log differs"}},
        {"predictions", &ShardFiles::pred, 4, false, {"prediction file", "at byte offset 4"}},
        {"stdout", &ShardFiles::out, 10, false, {"standard output", "before the perturbation part"}},
    };
    for (const Edit& e : edits) {
        TempDir d;
        auto s = Shards(run, d, 3, {0, 1, 2});
        const std::string path = s[2].*e.file;
        std::string text = ReadFile(path);
        const std::size_t at = e.fromEnd ? text.size() - e.at : e.at;
        text[at] = text[at] == 'x' ? 'y' : 'x';
        WriteFile(path, text);
        std::vector<std::string> words = e.words;
        words.push_back("shard " + s[2].log + ": ");
        SCOPED_TRACE(e.what);
        ExpectRefused(Merge{d, s}.Run(), d, words);
    }
    {
        // A longer training part that starts like the others.
        TempDir d;
        auto s = Shards(run, d, 2, {0, 1});
        MadeUpRun more = run;
        more.training += "*** one more line\n";
        s[1] = WriteShard(more, d.File("more"), 1, 2);
        ExpectRefused(Merge{d, s}.Run(), d,
                      {"its training part differs", "at byte offset " + std::to_string(run.training.size())});
    }
}

TEST(Merge, RefusesPartsTheShardDidNotWrite)
{
    // Blocks 1 and 2 of 4 of 8 cycles print one progress line each, of the
    // same length: given the wrong way round, only the checksum tells them
    // apart.
    const MadeUpRun run(8);
    {
        TempDir d;
        auto s = Shards(run, d, 4, {0, 1, 2, 3});
        ASSERT_EQ(ReadFile(s[1].out).size(), ReadFile(s[2].out).size());
        ASSERT_NE(ReadFile(s[1].out), ReadFile(s[2].out));
        std::swap(s[1].out, s[2].out);
        ExpectRefused(Merge{d, s}.Run(), d, {"shard " + s[1].log + ": ", s[1].out, "checksum"});
    }
    {
        TempDir d;
        auto s = Shards(run, d, 4, {0, 1, 2, 3});
        std::string log = ReadFile(s[1].log);
        const std::size_t at = log.find("\t-0.1", run.training.size());
        ASSERT_NE(at, std::string::npos);
        log[at + 4] = '9';
        WriteFile(s[1].log, log);
        ExpectRefused(Merge{d, s}.Run(), d, {"shard " + s[1].log + ": ", "perturbation lines", "checksum"});
    }
}

TEST(Merge, RefusesManifestsThatAreMissingBrokenOrDoNotFitTheirFiles)
{
    const MadeUpRun run(5);
    struct Case {
        const char* what;
        std::string manifest; // empty: no manifest file at all; "-": an empty file
        std::vector<std::string> words;
    };
    // The manifest of block 1 of 2, cycles 2 to 5, with lines replaced.
    const std::string logLines = run.Log(2, 5).substr(run.training.size());
    std::string logPart = "log_perturbation ";
    logPart += std::to_string(run.training.size()) + " " + std::to_string(run.Log(2, 5).size() - run.tail.size()) +
               " " + Sum(logLines.substr(0, logLines.size() - run.tail.size()));
    std::string outPart = "stdout_perturbation ";
    outPart += std::to_string(run.outTraining.size()) + " " + std::to_string(run.Out(2, 5).size()) + " " +
               Sum(run.Out(2, 5).substr(run.outTraining.size()));
    const auto manifest = [&](const std::string& block, const std::string& cycles, const std::string& log,
                              const std::string& out) {
        return "motifbind shard\nversion 1.0.0\n" + block + "\n" + cycles + "\n" + log + "\n" + out + "\n";
    };
    const std::string good = "motifbind shard\nversion 1.0.0\nblock 1 2\ncycles 2 5 5\n" + logPart + "\n";
    const std::vector<Case> cases = {
        {"none", "", {"no manifest", "motifbind.log.shard", "-j"}},
        {"empty", "-", {"is empty", "did not finish"}},
        {"first line", "motifbind shards\n", {"line 1", "expected 'motifbind shard'"}},
        {"cut short", "motifbind shard\nversion 1.0.0\nblock 1 2\ncycles 2 5 5\n", {"line 5", "missing"}},
        // The manifest of a run before versions: the block where the version goes.
        {"no version",
         "motifbind shard\nblock 1 2\ncycles 2 5 5\n" + logPart + "\n" + outPart + "\n",
         {"line 2", "expected 'version <version>', got 'block 1 2'"}},
        {"version without a word",
         "motifbind shard\nversion\nblock 1 2\ncycles 2 5 5\n" + logPart + "\n" + outPart + "\n",
         {"line 2", "got 'version'"}},
        {"word", good + "stdout_perturbation 10 x 0123456789abcdef\n", {"line 6", "got 'stdout_perturbation 10 x"}},
        {"negative", good + "stdout_perturbation -1 10 0123456789abcdef\n", {"line 6"}},
        {"no checksum", good + "stdout_perturbation 10 20\n", {"line 6", "<checksum>"}},
        {"short checksum", good + "stdout_perturbation 10 20 123456789abcdef\n", {"line 6"}},
        {"wrong checksum", good + "stdout_perturbation 10 20 0123456789abcdeg\n", {"line 6"}},
        {"extra line", good + outPart + "\nmore\n", {"line 7"}},
        {"index", manifest("block 2 2", "cycles 2 5 5", logPart, outPart), {"line 3", "below the count"}},
        {"cycles", manifest("block 1 2", "cycles 2 6 5", logPart, outPart), {"line 4", "first <= end <= total"}},
        {"log ends before it starts",
         manifest("block 1 2", "cycles 2 5 5", "log_perturbation 20 10 0123456789abcdef", outPart),
         {"line 5"}},
        {"log too short",
         manifest("block 1 2", "cycles 2 5 5", "log_perturbation 10 999999 0123456789abcdef", outPart),
         {"999999", "do not belong together"}},
        {"stdout too short",
         manifest("block 1 2", "cycles 2 5 5", logPart, "stdout_perturbation 10 999999 0123456789abcdef"),
         {"999999", "standard output"}},
        {"lines without cycles",
         manifest("block 1 2", "cycles 5 5 5", logPart, outPart),
         {"cycles 5 to 5", "bytes of perturbation lines"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir d;
        auto s = Shards(run, d, 2, {0, 1});
        fs::remove(s[1].log + ".shard");
        if (!c.manifest.empty()) {
            WriteFile(s[1].log + ".shard", c.manifest == "-" ? "" : c.manifest);
        }
        std::vector<std::string> words = c.words;
        words.push_back("shard " + s[1].log + ": ");
        ExpectRefused(Merge{d, s}.Run(), d, words);
    }
    {
        SCOPED_TRACE("missing standard output");
        TempDir d;
        auto s = Shards(run, d, 2, {0, 1});
        fs::remove(s[0].out);
        ExpectRefused(Merge{d, s}.Run(), d, {"shard " + s[0].log + ": ", "standard output", "does not exist"});
    }
    {
        SCOPED_TRACE("no log");
        TempDir d;
        auto s = Shards(run, d, 2, {0, 1});
        WriteFile(s[0].log, "not a log at all\n");
        WriteFile(s[0].log + ".shard", manifest("block 0 2", "cycles 0 0 5", "log_perturbation 17 17 " + Sum(""),
                                                "stdout_perturbation 0 0 " + Sum("")));
        ExpectRefused(Merge{d, s}.Run(), d, {"shard " + s[0].log + ": ", "expected a motifbind log"});
    }
}

TEST(Merge, NeverOverwritesAndChecksItsCommandLine)
{
    const MadeUpRun run(4);
    {
        // An existing output stays as it was, and no other output appears.
        TempDir d;
        const Merge m{d, Shards(run, d, 2, {0, 1})};
        WriteFile(d.File("merged/stdout.txt"), "keep me");
        const Result r = m.Run();
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("already exists"), std::string::npos) << r.err;
        EXPECT_EQ(ReadFile(d.File("merged/stdout.txt")), "keep me");
        EXPECT_EQ(Listing(d.File("merged")), std::vector<std::string>{"stdout.txt"});
    }
    {
        // Two outputs under one name.
        TempDir d;
        const Merge m{d, Shards(run, d, 2, {0, 1})};
        auto args = m.Args();
        const auto at = std::find(args.begin(), args.end(), "--out-stdout");
        *(at + 1) = d.File("merged/./motifbind.log");
        ExpectRefused(m.Run(args), d, {"--out-log and --out-stdout name the same file"});
    }
    {
        // Lists of different lengths.
        TempDir d;
        const Merge m{d, Shards(run, d, 2, {0, 1})};
        auto args = m.Args();
        args.erase(std::find(args.begin(), args.end(), "--stdouts") + 1);
        ExpectRefused(m.Run(args), d, {"got 2, 2 and 1"});
    }
    {
        // A required list left out.
        TempDir d;
        const Merge m{d, Shards(run, d, 2, {0, 1})};
        auto args = m.Args();
        const auto at = std::find(args.begin(), args.end(), "--predictions");
        args.erase(at, at + 3);
        ExpectRefused(m.Run(args), d, {"--predictions"});
    }
    {
        // A misspelt option is named, not the required one it leaves out.
        TempDir d;
        const Merge m{d, Shards(run, d, 2, {0, 1})};
        auto args = m.Args();
        *std::find(args.begin(), args.end(), "--out-log") = "--out-logs";
        const Result r = m.Run(args);
        ExpectRefused(r, d, {});
        EXPECT_EQ(r.err, "Error: --out-logs is not an option; did you mean --out-log?\n");
    }
    {
        TempDir d;
        const Merge m{d, {}};
        const Result r = m.Run({"--help"});
        EXPECT_EQ(r.status, 0);
        EXPECT_NE(r.out.find("--out-stdout"), std::string::npos);
        const Result v = m.Run({"--version"});
        EXPECT_EQ(v.status, 0);
        EXPECT_EQ(v.out, std::string("motifbind-merge ") + MOTIFBIND_VERSION + "\n");
        EXPECT_EQ(v.err, "");
    }
}

// Ranges longer than the block the files are read in.
TEST(ByteFile, ComparesAndCopiesAcrossReadBlocks)
{
    TempDir d;
    std::string a(3'500'000, 'a');
    for (std::size_t i = 0; i < a.size(); i += 977) {
        a[i] = char('b' + i % 7);
    }
    std::string b = "xy" + a;
    b[2 + 2'600'001] = '!';
    WriteFile(d.File("a"), a);
    WriteFile(d.File("b"), b);
    const ByteFile fa(d.File("a"), "first"), fb(d.File("b"), "second");
    EXPECT_EQ(fa.Size(), a.size());
    EXPECT_EQ(FirstDifference(fa, 0, fb, 2, a.size()), 2'600'001u);
    EXPECT_EQ(FirstDifference(fa, 0, fb, 2, 2'600'001), 2'600'001u);
    EXPECT_EQ(FirstDifference(fa, 100, fb, 102, 10), 10u);
    std::string copy;
    CopyRange(fb, 2, 2 + a.size(), [&](const char* p, std::size_t n) { copy.append(p, n); });
    EXPECT_EQ(copy.size(), a.size());
    EXPECT_EQ(copy.substr(0, 2'600'001), a.substr(0, 2'600'001));
    EXPECT_EQ(copy[2'600'001], '!');
    WriteFile(d.File("line"), "*** Command line: x y\nrest");
    EXPECT_EQ(ByteFile(d.File("line"), "log").FirstLine(1000), "*** Command line: x y");
    EXPECT_EQ(ByteFile(d.File("line"), "log").FirstLine(5), "*** C");
    EXPECT_THROW(ByteFile(d.File("none"), "log"), std::exception);
    EXPECT_THROW(ByteFile(d.Path().string(), "log"), std::exception);
}

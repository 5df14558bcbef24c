// Splitting the perturbation analysis with -j and joining it again: every
// shard trains exactly as a single run does, runs only its block of cycles
// and says in its manifest where they lie; motifbind-merge joins the shards
// into the very bytes the single run writes. The runs use the inputs of the
// golden cases (simulated and hand-made sets), each shard in a folder of its
// own as on another machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "motifbind/Version.h"
#include "perturb/Shard.h"
#include "support/TestUtil.h"

namespace fs = std::filesystem;
using testutil::GoldenDir;
using testutil::ReadFile;
using testutil::RunMotifbindAs;
using testutil::TempDir;

namespace {

const char* const LOG = "motifbind.log";
const char* const PRED = "predictions.txt";
const char* const OUT = "stdout.txt";

std::vector<std::string> Words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> w;
    for (std::string s; in >> s;)
        w.push_back(s);
    return w;
}

std::vector<std::string> Cat(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The command words of a golden case.
std::vector<std::string> CaseWords(const std::string& name)
{
    return Words(ReadFile((GoldenDir() / name / "args.txt").string()));
}

// Copies the inputs of golden case `name` into a new folder `dir`.
void CopyInputs(const std::string& name, const fs::path& dir)
{
    fs::create_directories(dir);
    for (const auto& e : fs::directory_iterator(GoldenDir() / name)) {
        const std::string f = e.path().filename().string();
        if (e.is_regular_file() && f != "args.txt" && f.rfind("expected.", 0) != 0)
            fs::copy_file(e.path(), dir / f);
    }
}

// Runs motifbind in `dir` with `words`, argv[0] "motifbind" as every shard
// has it, and keeps standard output beside the log.
testutil::RunResult RunIn(const fs::path& dir, const std::vector<std::string>& words)
{
    const auto r = RunMotifbindAs("motifbind", words, dir.string());
    std::ofstream(dir / OUT, std::ios::binary) << r.out;
    return r;
}

struct Outputs {
    std::string log, pred, out;
};

Outputs Read(const fs::path& dir)
{
    return {ReadFile((dir / LOG).string()), ReadFile((dir / PRED).string()), ReadFile((dir / OUT).string())};
}

// A manifest as numbers, read back independently of the merge.
struct Manifest {
    std::int64_t index = -1, count = -1, first = -1, end = -1, total = -1;
    std::uint64_t logStart = 0, logEnd = 0, outStart = 0, outEnd = 0;
    std::string logSum, outSum;
};

Manifest ReadManifest(const fs::path& path)
{
    std::istringstream in(ReadFile(path.string()));
    Manifest m;
    std::string w[6], version[2];
    in >> w[0] >> w[1];
    EXPECT_EQ(w[0] + " " + w[1], "motifbind shard") << path;
    // The version of the program that ran the shard, on a line of its own.
    in >> version[0] >> version[1];
    EXPECT_EQ(version[0] + " " + version[1], std::string("version ") + MOTIFBIND_VERSION) << path;
    in >> w[2] >> m.index >> m.count >> w[3] >> m.first >> m.end >> m.total >> w[4] >> m.logStart >> m.logEnd >>
        m.logSum >> w[5] >> m.outStart >> m.outEnd >> m.outSum;
    EXPECT_TRUE(in) << path;
    EXPECT_EQ(w[2], "block");
    EXPECT_EQ(w[3], "cycles");
    EXPECT_EQ(w[4], "log_perturbation");
    EXPECT_EQ(w[5], "stdout_perturbation");
    std::string more;
    EXPECT_FALSE(in >> more) << path << ": " << more;
    return m;
}

#ifdef MOTIFBIND_MERGE_EXE
// Cycle lines in a piece of log: each cycle of every analysis writes one
// round count.
std::size_t Cycles(const std::string& log)
{
    std::size_t n = 0;
    for (std::size_t at = log.find("*** Total # EM round ("); at != std::string::npos;
         at = log.find("*** Total # EM round (", at + 1))
        ++n;
    return n;
}

testutil::RunResult Merge(const fs::path& cwd, const std::vector<fs::path>& shards, const fs::path& out)
{
    std::vector<std::string> args = {"--logs"};
    for (const auto& s : shards)
        args.push_back((s / LOG).string());
    args.push_back("--predictions");
    for (const auto& s : shards)
        args.push_back((s / PRED).string());
    args.push_back("--stdouts");
    for (const auto& s : shards)
        args.push_back((s / OUT).string());
    args = Cat(args, {"--out-log", (out / LOG).string(), "--out-predictions", (out / PRED).string(), "--out-stdout",
                      (out / OUT).string()});
    testutil::RunOptions o;
    o.argv0 = "motifbind-merge";
    o.cwd = cwd.string();
    return testutil::RunProgram(MOTIFBIND_MERGE_EXE, args, o);
}

// Runs golden case `name` once without -j and as `count` shards (with
// `extra` options), checks every shard against the single run and returns
// the shard folders in block order.
std::vector<fs::path> RunShards(const TempDir& d, const std::string& name, std::int64_t count,
                                const std::vector<std::string>& extra, const Outputs& single)
{
    std::vector<fs::path> dirs;
    std::int64_t cyclesSeen = 0;
    for (std::int64_t b = 0; b < count; ++b) {
        const fs::path dir = fs::path(d.Path()) / ("shard" + std::to_string(b));
        CopyInputs(name, dir);
        const auto r = RunIn(dir, Cat(Cat({"-j", std::to_string(b), std::to_string(count)}, extra), CaseWords(name)));
        EXPECT_EQ(r.status, 0) << name << " block " << b << " of " << count << ": " << r.err;
        EXPECT_EQ(r.err, "");
        const Outputs got = Read(dir);
        const Manifest m = ReadManifest(dir / (std::string(LOG) + ".shard"));
        const std::string what = name + " block " + std::to_string(b) + " of " + std::to_string(count);
        // The block is the one asked for, and the blocks come back to back.
        EXPECT_EQ(m.index, b) << what;
        EXPECT_EQ(m.count, count) << what;
        EXPECT_EQ(m.first, cyclesSeen) << what;
        EXPECT_EQ(m.total, std::int64_t(Cycles(single.log))) << what;
        EXPECT_EQ(m.end, m.total * (b + 1) / count) << what;
        cyclesSeen = m.end;
        // Training part and tail as in the single run, cycles in between.
        EXPECT_EQ(got.pred, single.pred) << what;
        EXPECT_EQ(got.log.substr(0, m.logStart), single.log.substr(0, m.logStart)) << what;
        EXPECT_TRUE(got.log.substr(0, m.logStart).ends_with("\n") &&
                    got.log.rfind("Joint prob before perturbation:\t", m.logStart) != std::string::npos)
            << what;
        EXPECT_EQ(got.log.substr(m.logEnd), "*** End of file.\n") << what;
        EXPECT_EQ(Cycles(got.log.substr(m.logStart, m.logEnd - m.logStart)), std::size_t(m.end - m.first)) << what;
        EXPECT_EQ(Cycles(got.log), std::size_t(m.end - m.first)) << what;
        EXPECT_EQ(got.out.substr(0, m.outStart), single.out.substr(0, m.outStart)) << what;
        EXPECT_EQ(m.outEnd, got.out.size()) << what;
        dirs.push_back(dir);
    }
    EXPECT_EQ(cyclesSeen, std::int64_t(Cycles(single.log))) << name;
    return dirs;
}
#endif

// The single run of a golden case, in `dir`.
Outputs RunSingle(const std::string& name, const fs::path& dir)
{
    CopyInputs(name, dir);
    const auto r = RunIn(dir, CaseWords(name));
    EXPECT_EQ(r.status, 0) << name << ": " << r.err;
    EXPECT_FALSE(fs::exists(dir / (std::string(LOG) + ".shard"))) << name << ": a run without -j wrote a manifest";
    return Read(dir);
}

} // namespace

TEST(ShardBlocks, CoverTheCyclesOnceInBlocksThatDifferByAtMostOne)
{
    for (std::size_t n = 0; n <= 40; ++n) {
        for (std::int64_t count = 1; count <= 45; ++count) {
            std::size_t next = 0, least = n, most = 0;
            for (std::int64_t i = 0; i < count; ++i) {
                const CycleRange r = BlockOf(n, Shard{i, count});
                ASSERT_EQ(r.first, n * std::size_t(i) / std::size_t(count)) << n << " " << i << " " << count;
                ASSERT_EQ(r.first, next);
                ASSERT_LE(r.first, r.end);
                least = std::min(least, r.end - r.first);
                most = std::max(most, r.end - r.first);
                next = r.end;
            }
            EXPECT_EQ(next, n);
            EXPECT_LE(most - least, 1u) << n << " cycles in " << count;
        }
    }
    // Sizes whose product n * index does not fit 64 bits come out exact too.
    __extension__ typedef unsigned __int128 Wide;
    const std::size_t n = (std::size_t(1) << 62) + 12345;
    for (const std::int64_t count : {std::int64_t(7), std::int64_t(999983), MAXSHARDS}) {
        for (const std::int64_t i : {std::int64_t(1), count / 3, count - 1}) {
            const CycleRange r = BlockOf(n, Shard{i, count});
            EXPECT_EQ(r.first, std::size_t(Wide(n) * Wide(i) / Wide(count)));
            EXPECT_EQ(r.end, std::size_t(Wide(n) * Wide(i + 1) / Wide(count)));
        }
    }
    EXPECT_EQ(BlockOf(n, Shard{MAXSHARDS - 1, MAXSHARDS}).end, n);
}

TEST(ShardOption, IsReadWithItsWordsLeftOutOfTheEcho)
{
    const std::vector<std::string> pos = {"obs",  "models", "pmc",   "act", "inact", "wait", "log",
                                          "pred", "pairs",  "pairs", "1",   "len",   "100",  "cov"};
    const auto parse = [](const std::vector<std::string>& words) {
        std::vector<const char*> argv;
        for (const auto& w : words)
            argv.push_back(w.c_str());
        return ParseCommandLine(int(argv.size()), argv.data());
    };
    const Settings s = parse(Cat({"prog", "-j", "2", "5", "-t", "3", "-f", "3", "4", "-jx", "3", "4"}, pos));
    ASSERT_TRUE(s.shard.has_value());
    EXPECT_EQ(s.shard->index, 3); // the last one given wins
    EXPECT_EQ(s.shard->count, 4);
    EXPECT_EQ(s.threads, 3);
    EXPECT_EQ(s.protFile, "obs");
    // The very words of both -j and of -t leave the echo, not equal words
    // elsewhere (the 3 4 of -f).
    EXPECT_EQ(s.echo,
              "*** Command line: prog -f 3 4 obs models pmc act inact wait log pred pairs pairs 1 len 100 "
              "cov\n");

    // Without -j there is no block.
    const Settings plain = parse(Cat({"prog", "-f", "3", "4"}, pos));
    EXPECT_FALSE(plain.shard.has_value());
    EXPECT_EQ(plain.echo.substr(0, 30), "*** Command line: prog -f 3 4 ");
}

TEST(ShardOption, BadBlocksGiveOneErrorLineThenTheUsageText)
{
    TempDir d; // no inputs: the values are refused before any file is opened
    const std::string usage = ReadFile(std::string(MOTIFBIND_TEST_DATA) + "/usage.txt");
    const std::vector<std::string> pos = {"obs",  "models", "pmc",   "act", "inact", "wait", "log",
                                          "pred", "pairs",  "pairs", "1",   "len",   "100",  "cov"};
    const std::vector<std::vector<std::string>> bad = {
        {"-j", "4", "4"},
        {"-j", "5", "4"},
        {"-j", "0", "0"},
        {"-j", "0", "-2"},
        {"-j", "-1", "4"},
        {"-j", "1.5", "4"},
        {"-j", "1", "4x"},
        {"-j", "", "4"},
        {"-j", "1", "4 "},
        {"-j", "0", "1000001"},
        {"-j", "99999999999999999999", "1"},
        {"-t", "2", "-j", "x", "y"},
    };
    for (const auto& j : bad) {
        const auto r = RunMotifbindAs("motifbind", Cat(Cat({"-f", "2", "2"}, j), pos), d.Path());
        const std::string what = j[j.size() - 2] + " " + j.back();
        EXPECT_EQ(r.status, 1) << what;
        EXPECT_EQ(r.out, "") << what;
        const auto nl = r.err.find('\n');
        ASSERT_NE(nl, std::string::npos) << what;
        EXPECT_EQ(r.err.substr(0, nl),
                  "Error: option -j needs a block index and a block count, whole numbers with 0 <= index < count "
                  "<= 1000000, got \"" +
                      j[j.size() - 2] + "\" \"" + j.back() + "\"");
        EXPECT_EQ(r.err.substr(nl + 1), usage) << what;
    }
    // Words missing at the end of the command line.
    for (const auto& tail : std::vector<std::vector<std::string>>{{"-j", "1"}, {"-j"}}) {
        const auto r = RunMotifbindAs("motifbind", Cat({"-f", "2", "2"}, tail), d.Path());
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "Error: option -j needs 2 arguments\n" + usage) << tail.size();
    }
    EXPECT_TRUE(fs::is_empty(d.Path()));
}

// -j 0 1 is the run without -j, byte for byte, plus a manifest that holds
// every cycle; a manifest that exists already is never overwritten.
TEST(ShardRun, ZeroOfOneIsTheWholeRunAndItsManifestIsNeverOverwritten)
{
    const std::string name = "sim-mixture-scores";
    TempDir d;
    const Outputs single = RunSingle(name, fs::path(d.Path()) / "single");
    ASSERT_NE(single.out, "");
    const fs::path dir = fs::path(d.Path()) / "whole";
    CopyInputs(name, dir);
    const auto r = RunIn(dir, Cat({"-j", "0", "1"}, CaseWords(name)));
    ASSERT_EQ(r.status, 0) << r.err;
    const Outputs got = Read(dir);
    EXPECT_EQ(got.log, single.log);
    EXPECT_EQ(got.pred, single.pred);
    EXPECT_EQ(got.out, single.out);
    const Manifest m = ReadManifest(dir / (std::string(LOG) + ".shard"));
    EXPECT_EQ(m.first, 0);
    EXPECT_EQ(m.end, m.total);
    EXPECT_EQ(m.total, 2);
    EXPECT_EQ(single.log.substr(m.logEnd), "*** End of file.\n");
    EXPECT_EQ(single.log.substr(m.logStart - 1, 1), "\n");
    EXPECT_NE(single.log.substr(m.logStart, 40).find("*** SetNonBind"), std::string::npos);
    EXPECT_EQ(m.outEnd, single.out.size());
    EXPECT_LT(m.outStart, m.outEnd); // the cycles' mixture progress
    EXPECT_NE(single.out.substr(m.outStart).find("Log likelihood at start of iteration 0"), std::string::npos);

    const fs::path again = fs::path(d.Path()) / "again";
    CopyInputs(name, again);
    const std::string manifest = (again / (std::string(LOG) + ".shard")).string();
    std::ofstream(manifest) << "keep";
    const auto refused = RunIn(again, Cat({"-j", "1", "2"}, CaseWords(name)));
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("motifbind.log.shard"), std::string::npos) << refused.err;
    EXPECT_EQ(ReadFile(manifest), "keep");
    EXPECT_FALSE(fs::exists(again / PRED)); // ended before any training
}

#ifdef MOTIFBIND_MERGE_EXE

// Each analysis on simulated and hand-made sets, in 1, 3 and 4 shards,
// merged, gives the log, prediction file and standard output of one run.
// Some cases have fewer cycles than shards, so that some blocks are empty;
// the 3-shard runs also use two threads each.
TEST(ShardRun, MergedShardsGiveTheSingleRunByteForByte)
{
    const std::vector<std::string> cases = {
        "sim-pert1-all-motifs",        // -p 1, 14 cycles
        "sim-mixture-scores",          // -p 1, 2 cycles with mixture progress on standard output
        "sim-leak0-pert2-motif-pairs", // -p 2, 2 cycles
        "hand-ddi-options-type-pairs", // -p 2, 4 cycles
        "sim-leak2-pert3-prior-ratio", // -p 3, 7 cycles
        "sim-nested-mixture-ddi",      // -p 3, 1 cycle with mixture progress
        "sim-nopert-self-pairs",       // -p 4: no analysis, no cycle
    };
    bool emptyBlockSeen = false;
    for (const auto& name : cases) {
        TempDir d;
        const Outputs single = RunSingle(name, fs::path(d.Path()) / "single");
        for (const std::int64_t count : {1, 3, 4}) {
            TempDir s;
            const std::vector<std::string> extra =
                count == 3 ? std::vector<std::string>{"-t", "2"} : std::vector<std::string>{};
            std::vector<fs::path> shards = RunShards(s, name, count, extra, single);
            for (const auto& dir : shards) {
                const Manifest m = ReadManifest(dir / (std::string(LOG) + ".shard"));
                emptyBlockSeen = emptyBlockSeen || (m.first == m.end && m.total > 0);
            }
            // Any order will do.
            std::rotate(shards.begin(), shards.begin() + 1, shards.end());
            const fs::path out = fs::path(s.Path()) / "merged";
            fs::create_directories(out);
            const auto r = Merge(s.Path(), shards, out);
            ASSERT_EQ(r.status, 0) << name << ", " << count << " shards: " << r.err;
            EXPECT_EQ(r.err, "");
            const Outputs merged = Read(out);
            EXPECT_TRUE(merged.log == single.log) << name << ", " << count << " shards: the log differs";
            EXPECT_TRUE(merged.pred == single.pred) << name << ", " << count << " shards: the predictions differ";
            EXPECT_TRUE(merged.out == single.out) << name << ", " << count << " shards: standard output differs";
        }
    }
    EXPECT_TRUE(emptyBlockSeen);
}

// The merge refuses shards that do not make up one run, names the shard and
// writes nothing.
TEST(ShardRun, MergeRefusesShardsThatDoNotMakeUpOneRun)
{
    const std::string name = "sim-leak2-pert3-prior-ratio";
    TempDir d;
    const Outputs single = RunSingle(name, fs::path(d.Path()) / "single");
    const std::vector<fs::path> shards = RunShards(d, name, 4, {}, single);
    // Block 2 of 4 of the same command, but with another prior ratio.
    const fs::path other = fs::path(d.Path()) / "other";
    CopyInputs(name, other);
    std::vector<std::string> words = CaseWords(name);
    const auto n = std::find(words.begin(), words.end(), "-n");
    ASSERT_NE(n, words.end());
    *(n + 1) = "2";
    ASSERT_EQ(RunIn(other, Cat({"-j", "2", "4"}, words)).status, 0);
    // Block 1 with one byte of its training part changed.
    const fs::path edited = fs::path(d.Path()) / "edited";
    fs::copy(shards[1], edited);
    std::string log = ReadFile((edited / LOG).string());
    const std::size_t at = log.find("****** RunEM with DDI ...");
    ASSERT_NE(at, std::string::npos);
    log[at + 7] = 'e';
    std::ofstream(edited / LOG, std::ios::binary | std::ios::trunc) << log;

    struct Case {
        const char* what;
        std::vector<fs::path> shards;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"missing", {shards[0], shards[1], shards[3]}, "Error: block 2 of 4 is missing\n"},
        {"twice",
         {shards[0], shards[1], shards[2], shards[3], shards[1]},
         "Error: block 1 of 4 given twice: shard shard1/motifbind.log and shard shard1/motifbind.log\n"},
        {"other command",
         {shards[0], shards[1], other, shards[3]},
         "Error: shard other/motifbind.log: its command line differs from that of shard shard0/motifbind.log "
         "(only -j may differ between shards of one run)\n"},
        {"training",
         {shards[0], edited, shards[2], shards[3]},
         "Error: shard edited/motifbind.log: its training part differs from that of shard shard0/motifbind.log at "
         "byte offset " +
             std::to_string(at + 7) + "\n"},
    };
    for (const Case& c : cases) {
        std::vector<fs::path> rel;
        for (const auto& p : c.shards)
            rel.push_back(fs::relative(p, d.Path()));
        const fs::path out = fs::path(d.Path()) / (std::string("out-") + c.what);
        fs::create_directories(out);
        const auto r = Merge(d.Path(), rel, out);
        EXPECT_EQ(r.status, 1) << c.what;
        EXPECT_EQ(r.err, c.error) << c.what;
        EXPECT_TRUE(fs::is_empty(out)) << c.what;
    }
}

#endif

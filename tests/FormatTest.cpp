// The file formats of format/ as the program writes them and the helpers
// read them: one definition, so that what one side writes the other reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "format/Checksum.h"
#include "format/CycleLayout.h"
#include "format/LogLabels.h"
#include "format/PairIndex.h"
#include "format/ShardManifest.h"
#include "motifbind/Version.h"
#include "perturb/AnalysisKind.h"
#include "perturb/CycleFormat.h"

#ifdef MOTIFBIND_FORMAT_READERS
#include "bench/LogPhases.h"
#include "tools/runfiles/RunLog.h"
#endif

namespace {

std::string Written(const ShardManifest& m)
{
    std::ostringstream out;
    WriteManifest(out, m);
    return out.str();
}

// The line of the error ParseManifest throws for `text`, 0 for none.
std::size_t RefusedAt(const std::string& text)
{
    try {
        ParseManifest(text);
    } catch (const ManifestError& e) {
        return e.Line();
    }
    return 0;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    return lines;
}

} // namespace

TEST(ShardManifest, WritesWhatItReadsBack)
{
    ShardManifest m;
    EXPECT_EQ(m.version, MOTIFBIND_VERSION);
    m.shard = {999998, 999999};
    m.cycles = {150, 225};
    m.total = 300;
    m.logStart = 12345;
    m.logEnd = UINT64_MAX;
    m.logSum = 255;
    m.outStart = 0;
    m.outEnd = 0;
    m.outSum = Fnv1a::BASIS;
    const std::string text = Written(m);
    EXPECT_EQ(text, std::string("motifbind shard\nversion ") + MOTIFBIND_VERSION +
                        "\nblock 999998 999999\ncycles 150 225 300\n"
                        "log_perturbation 12345 18446744073709551615 00000000000000ff\n"
                        "stdout_perturbation 0 0 cbf29ce484222325\n");
    const ShardManifest r = ParseManifest(text);
    EXPECT_EQ(r.version, MOTIFBIND_VERSION);
    EXPECT_EQ(r.shard.index, 999998);
    EXPECT_EQ(r.shard.count, 999999);
    EXPECT_EQ(r.cycles.first, 150u);
    EXPECT_EQ(r.cycles.end, 225u);
    EXPECT_EQ(r.total, 300u);
    EXPECT_EQ(r.logStart, 12345u);
    EXPECT_EQ(r.logEnd, UINT64_MAX);
    EXPECT_EQ(r.logSum, 255u);
    EXPECT_EQ(r.outSum, Fnv1a::BASIS);

    // Another release's manifest keeps its version.
    const std::string other =
        "motifbind shard\nversion 1.12.0\nblock 2 4\ncycles 150 225 300\n"
        "log_perturbation 12345 23456 00000000000000ff\n"
        "stdout_perturbation 10 20 cbf29ce484222325\n";
    EXPECT_EQ(ParseManifest(other).version, "1.12.0");
}

// The messages are motifbind-merge's, checked with it; here the line each
// refusal names.
TEST(ShardManifest, RefusesAnythingButTheSixLines)
{
    const std::string head = "motifbind shard\nversion 1.0.0\n";
    const std::string parts = "log_perturbation 5 9 00000000000000ff\nstdout_perturbation 0 3 00000000000000ff\n";
    const std::string good = head + "block 1 2\ncycles 2 5 5\n" + parts;
    ASSERT_EQ(RefusedAt(good), 0u);
    const std::vector<std::pair<std::string, std::size_t>> cases = {
        {"", 1},
        {"motifbind shard \n", 1},
        {"motifbind shard\n", 2},
        {"motifbind shard\nversion 1 0\n", 2},
        {head, 3},
        {head + "block 1 2 3\ncycles 2 5 5\n" + parts, 3},
        {head + "block -1 2\ncycles 2 5 5\n" + parts, 3},
        {head + "block +1 2\ncycles 2 5 5\n" + parts, 3},
        {head + "block 2 2\ncycles 2 5 5\n" + parts, 3},
        // A count motifbind cannot have written: above the largest signed
        // 64-bit number, the type of a block.
        {head + "block 1 9223372036854775808\ncycles 2 5 5\n" + parts, 3},
        {head + "block 1 2\ncycles 2 6 5\n" + parts, 4},
        {head + "block 1 2\ncycles 3 2 5\n" + parts, 4},
        {head + "block 1 2\ncycles 2 5 5\nlog_perturbation 9 5 00000000000000ff\nstdout_perturbation 0 3 "
                "00000000000000ff\n",
         5},
        {head + "block 1 2\ncycles 2 5 5\nlog_perturbation 5 9 00000000000000FF\n", 5},
        {head + "block 1 2\ncycles 2 5 5\nlog_perturbation 5 9 ff\n", 5},
        {head + "block 1 2\ncycles 2 5 5\nlog_perturbation 5 9 00000000000000ff\n", 6},
        {head + "block 1 2\ncycles 2 5 5\nlog_perturbation 5 9 00000000000000ff\nstdout_perturbation 3 0 "
                "00000000000000ff\n",
         6},
        {good + "\n", 7},
    };
    for (const auto& [text, line] : cases)
        EXPECT_EQ(RefusedAt(text), line) << text;
}

TEST(Fnv1a, KnownValuesAndPieces)
{
    const auto sum = [](const std::string& s) {
        Fnv1a h;
        h.Add(s.data(), s.size());
        return h.Value();
    };
    EXPECT_EQ(sum(""), 0xcbf29ce484222325ull);
    EXPECT_EQ(sum("a"), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(sum("foobar"), 0x85944171f73967e8ull);
    // Byte by byte, in pieces, and after a reset: the same.
    Fnv1a h;
    h.Add('x');
    h.Reset();
    h.Add("foo", 3);
    for (const char c : std::string("bar"))
        h.Add(c);
    EXPECT_EQ(h.Value(), sum("foobar"));
    // Bytes above 0x7f count as unsigned.
    EXPECT_NE(sum("\xff"), sum("\x7f"));
    EXPECT_EQ(sum("\xff"), (Fnv1a::BASIS ^ 0xffull) * Fnv1a::PRIME);
}

TEST(PairIndex, BothWidthsAgreeUpToTheLargestId)
{
    // Every pair of small ids: one key each, ascending by larger id, then
    // smaller.
    std::int64_t next = 0;
    for (int l = 0; l < 300; ++l) {
        for (int s = 0; s <= l; ++s, ++next) {
            ASSERT_EQ(PairIndex(l, s), next);
            ASSERT_EQ(PairIndex(s, l), next);
            ASSERT_EQ(PairIndex64(s, l), next);
            ASSERT_EQ(PairRevIndex(int(next), 300), std::make_pair(l, s));
            ASSERT_EQ(PairRevIndex64(next), std::make_pair(l, s));
        }
    }
    // Near the bound of motifbind's int keys: ids up to 46339.
    constexpr int N = 46340;
    for (int l = N - 8; l < N; ++l) {
        for (const int s : {0, 1, l / 2, l - 1, l}) {
            const int k = PairIndex(l, s);
            EXPECT_EQ(k, PairIndex64(s, l)) << l << " " << s;
            EXPECT_EQ(PairRevIndex(k, N), std::make_pair(l, s)) << l << " " << s;
            EXPECT_EQ(PairRevIndex64(k), std::make_pair(l, s)) << l << " " << s;
        }
    }
    EXPECT_EQ(PairIndex(N - 1, N - 1), 1073720969);
    EXPECT_EQ(PairIndex(N - 1, N - 1) + 1, PairIndex64(N, 0));
}

TEST(PairIndex, SixtyFourBitsBeyondTheIntBound)
{
    for (const int l : {46340, 46341, 65536, 1000000, 123456789, INT_MAX - 1, INT_MAX}) {
        for (const int s : {0, 1, l / 3, l - 1, l}) {
            const std::int64_t k = PairIndex64(l, s);
            EXPECT_EQ(k, std::int64_t(l) * (std::int64_t(l) + 1) / 2 + s);
            EXPECT_EQ(PairRevIndex64(k), std::make_pair(l, s)) << l << " " << s;
        }
        // The last key of one larger id is just before the first of the next.
        if (l < INT_MAX) {
            EXPECT_EQ(PairIndex64(l, l) + 1, PairIndex64(l + 1, 0)) << l;
        }
    }
    EXPECT_EQ(PairIndex64(INT_MAX, INT_MAX), 2305843010287435775);
}

namespace {

// One cycle of each analysis as the program writes it, with values that
// tell the columns apart.
std::string WrittenCycle(int analysis)
{
    const Candidate c{11, 12, 13, 14};
    CycleRecord r;
    r.numLeak = 30;
    r.numNBLeak = 7;
    r.forced.nonInter = 0.25;
    r.forced.joint = -95.5;
    r.forced.positive = -4.5;
    r.rounds = 17;
    r.reconverged.nonInter = 0.75;
    r.reconverged.joint = -97.25;
    r.reconverged.positive = -6.5;
    std::ostringstream out;
    out.precision(15);
    WriteCycle(AnalysisOf(analysis)->layout, c, r, -100.0, out);
    return out.str();
}

} // namespace

TEST(CycleLayout, TheProgramWritesEveryLineOfItsLayout)
{
    for (int analysis = 1; analysis <= 3; ++analysis) {
        SCOPED_TRACE(analysis);
        const CycleLayout& layout = *CycleLayoutOf(analysis);
        const std::vector<std::string> lines = Lines(WrittenCycle(analysis));
        ASSERT_EQ(lines.size(), layout.lines.size());
        for (std::size_t k = 0; k < lines.size(); ++k) {
            std::string expected(layout.lines[k].label);
            for (const CycleId id : layout.ids) {
                const int shown = id == CycleId::Protein1   ? 11
                                  : id == CycleId::Motif1   ? 12
                                  : id == CycleId::Protein2 ? 13
                                                            : 14;
                expected += '\t';
                expected += std::to_string(shown);
            }
            ASSERT_EQ(lines[k].substr(0, expected.size() + 1), expected + "\t");
            // One field a value, no more.
            const std::string values = lines[k].substr(expected.size());
            EXPECT_EQ(std::size_t(std::count(values.begin(), values.end(), '\t')), layout.lines[k].values.size());
        }
    }
    EXPECT_EQ(CycleLayoutOf(0), nullptr);
    EXPECT_EQ(CycleLayoutOf(4), nullptr);
    // The SetNonBind line of -p 1 with its leak counts.
    EXPECT_EQ(Lines(WrittenCycle(1)).front(),
              "*** SetNonBind (prot1, mot1, prob2, numLeak, numNBLeak, numActLeak):\t11\t12\t13\t30\t7\t23");
    EXPECT_EQ(Lines(WrittenCycle(2)).back(),
              "*** Positive likelihood after reconverge (Mot1, Mot2, Prob):\t12\t14\t-6.5");
}

#ifdef MOTIFBIND_FORMAT_READERS
// What the program writes, read back by the report's log reader and timed
// by the benchmark.
TEST(CycleLayout, TheHelpersReadWhatTheProgramWrites)
{
    const std::vector<std::vector<std::pair<std::string, double>>> expected = {
        {{"protein_1", 11},
         {"motif_1", 12},
         {"protein_2", 13},
         {"num_leak", 30},
         {"num_nb_leak", 7},
         {"num_act_leak", 23},
         {"non_interaction_forced", 0.25},
         {"likelihood_change_forced", 4.5},
         {"em_rounds", 17},
         {"non_interaction_reconverged", 0.75},
         {"likelihood_change_reconverged", 2.75}},
        {{"motif_1", 12},
         {"motif_2", 14},
         {"likelihood_change_forced", 4.5},
         {"positive_likelihood_forced", -4.5},
         {"em_rounds", 17},
         {"likelihood_change_reconverged", 2.75},
         {"positive_likelihood_reconverged", -6.5}},
        {{"protein_1", 11},
         {"motif_1", 12},
         {"protein_2", 13},
         {"motif_2", 14},
         {"non_interaction_forced", 0.25},
         {"likelihood_change_forced", 4.5},
         {"em_rounds", 17},
         {"non_interaction_reconverged", 0.75},
         {"likelihood_change_reconverged", 2.75}},
    };
    for (int analysis = 1; analysis <= 3; ++analysis) {
        SCOPED_TRACE(analysis);
        const std::string cycle = WrittenCycle(analysis);
        std::istringstream in(std::string(loglabel::COMMAND_LINE) + " motifbind -p " + std::to_string(analysis) + "\n" +
                              loglabel::BEFORE_PERTURBATION + "-100\n" + cycle + cycle + loglabel::END_OF_FILE + "\n");
        const RunLog log = ReadRunLog(in, "log");
        ASSERT_TRUE(log.complete);
        ASSERT_EQ(log.perturbations.size(), 2u);
        const PerturbationCycle& c = log.perturbations.front();
        EXPECT_TRUE(c.complete);
        EXPECT_EQ(c.analysis, analysis);
        ASSERT_EQ(c.values.size(), expected[std::size_t(analysis - 1)].size());
        std::vector<std::string> names;
        for (std::size_t i = 0; i < c.values.size(); ++i) {
            EXPECT_EQ(c.values[i].first, expected[std::size_t(analysis - 1)][i].first);
            EXPECT_EQ(c.values[i].second.value, expected[std::size_t(analysis - 1)][i].second) << c.values[i].first;
            names.push_back(c.values[i].first);
        }
        EXPECT_EQ(PerturbationColumns(analysis), names);
        ASSERT_TRUE(c.effect);
        EXPECT_EQ(c.effect->value, 2.75);

        // The benchmark starts a cycle at its first line and at no other.
        const std::vector<std::string> lines = Lines(cycle);
        EXPECT_EQ(ClassifyLogLine(lines.front(), analysis).event, LogEvent::CycleStart);
        for (std::size_t k = 1; k < lines.size(); ++k)
            EXPECT_EQ(ClassifyLogLine(lines[k], analysis).event, LogEvent::None) << lines[k];
    }
}
#endif

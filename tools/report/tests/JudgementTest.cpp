// Judging a run against held-out protein pairs and known motif pairs.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "tools/report/Judgement.h"

namespace fs = std::filesystem;

TEST(JudgementTest, HeldOutPairsAgainstTheModelAndTheDegreeGuess)
{
    // Interacting (1,0) 0.9 and (2,1) 0.4; not (2,0) 0.6, (3,2) 0.1, and
    // (4,3), which the prediction file does not list.
    const std::set<PairKey> pos{{1, 0}, {2, 1}};
    const std::set<PairKey> neg{{2, 0}, {3, 2}, {4, 3}};
    const std::map<PairKey, double> scores{{{1, 0}, 0.9}, {{2, 1}, 0.4}, {{2, 0}, 0.6}, {{3, 2}, 0.1}};
    const auto score = [&](const PairKey& p) -> std::optional<double> {
        const auto it = scores.find(p);
        return it == scores.end() ? std::nullopt : std::optional<double>(it->second);
    };
    // Degrees 0:3 1:2 2:1 3:4 give products (1,0) 6, (2,1) 2, (2,0) 3, (3,2) 4.
    const std::map<int, int> degree{{0, 3}, {1, 2}, {2, 1}, {3, 4}};
    const TruthView t = JudgeTruth(pos, neg, score, &degree);
    EXPECT_EQ(t.interacting, 2u);
    EXPECT_EQ(t.notInteracting, 2u);
    EXPECT_EQ(t.missing, 1u);
    ASSERT_EQ(t.roc.size(), 2u);
    // Model: 0.9 beats both negatives, 0.4 beats 0.1 only: 3 / 4.
    EXPECT_EQ(t.roc[0].label, "motifbind");
    EXPECT_DOUBLE_EQ(t.roc[0].area, 0.75);
    // Baseline: 6 beats 3 and 4, 2 beats neither: 2 / 4.
    EXPECT_EQ(t.roc[1].label, "degree-only baseline");
    EXPECT_DOUBLE_EQ(t.roc[1].area, 0.5);
    // Average precision of the model: 0.9 (1/1) then 0.6 (1/2), 0.4 (2/3).
    EXPECT_DOUBLE_EQ(t.pr[0].area, 0.5 * 1.0 + 0.5 * (2.0 / 3));

    const TruthView noInputs = JudgeTruth(pos, neg, score, nullptr);
    EXPECT_EQ(noInputs.roc.size(), 1u);
}

TEST(JudgementTest, KnownPairsAmongTheTopAgainstChance)
{
    std::map<PairKey, double> affinities;
    std::set<PairKey> known;
    // 120 candidate pairs, affinity falling with the index; known: the
    // first 5 and the 60th.
    for (int i = 0; i < 120; ++i) {
        const PairKey p{i + 1, i % 7};
        affinities[p] = 1.0 - i / 200.0;
        if (i < 5 || i == 59) {
            known.insert(p);
        }
    }
    known.insert({500, 400});  // not a candidate: counts nowhere
    const KnownView k = JudgeKnown(affinities, known);
    EXPECT_EQ(k.known, 6u);
    EXPECT_EQ(k.candidates, 120u);
    ASSERT_EQ(k.rows.size(), 3u);
    EXPECT_EQ(k.rows[0].top, 10u);
    EXPECT_EQ(k.rows[0].found, 5u);
    EXPECT_DOUBLE_EQ(k.rows[0].chance, 0.5);
    EXPECT_EQ(k.rows[1].found, 5u);
    EXPECT_EQ(k.rows[2].found, 6u);
    EXPECT_DOUBLE_EQ(k.rows[2].chance, 5.0);

    // Fewer candidates than 50: the rows stop at all of them.
    const KnownView small = JudgeKnown({{{1, 0}, 0.5}, {{2, 0}, 0.7}}, {{1, 0}});
    ASSERT_EQ(small.rows.size(), 1u);
    EXPECT_EQ(small.rows[0].top, 2u);
    EXPECT_EQ(small.rows[0].found, 1u);
}

TEST(JudgementTest, PairFilesNameProteinsByAccessionWithAHeader)
{
    const fs::path dir = fs::path(::testing::TempDir()) / "report_pairs";
    fs::create_directories(dir);
    std::ofstream(dir / "proteins.tsv") << "id\taccession\n0\tP11111\n1\tP22222\n2\tP33333\n";
    std::ofstream(dir / "pos.tsv") << "accession_a\taccession_b\nP22222\tP11111\n# a comment\nP33333 P33333\nO99999\tP11111\n";
    const NamedPairs p = ReadProteinPairs(dir / "pos.tsv", Names::Read(dir));
    EXPECT_EQ(p.pairs, (std::set<PairKey>{{1, 0}, {2, 2}}));
    EXPECT_EQ(p.unknown, 1u);
    fs::remove_all(dir);
}

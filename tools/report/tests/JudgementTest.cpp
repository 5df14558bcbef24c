// Judging a run against held-out protein pairs and known motif pairs.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "support/TempDir.h"
#include "tools/report/Judgement.h"
#include "tools/toolbox/ToolError.h"

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
    // The run observed (1,0) and (3,2); the other three are held out.
    const auto observed = [](const PairKey& p) { return p == PairKey{1, 0} || p == PairKey{3, 2}; };
    const TruthView t = JudgeTruth(pos, neg, score, &degree, observed);
    EXPECT_EQ(t.interacting, 2u);
    EXPECT_EQ(t.notInteracting, 2u);
    EXPECT_EQ(t.missing, 1u);
    EXPECT_EQ(t.observed, 2u);
    EXPECT_EQ(t.heldOut, 3u);
    ASSERT_EQ(t.roc.size(), 2u);
    // Model: 0.9 beats both negatives, 0.4 beats 0.1 only: 3 / 4.
    EXPECT_EQ(t.roc[0].label, "motifbind");
    EXPECT_DOUBLE_EQ(t.roc[0].area, 0.75);
    // Baseline: 6 beats 3 and 4, 2 beats neither: 2 / 4.
    EXPECT_EQ(t.roc[1].label, "degree-only baseline");
    EXPECT_DOUBLE_EQ(t.roc[1].area, 0.5);
    // Average precision of the model: 0.9 (1/1) then 0.6 (1/2), 0.4 (2/3).
    EXPECT_DOUBLE_EQ(t.pr[0].area, 0.5 * 1.0 + 0.5 * (2.0 / 3));

    const TruthView noInputs = JudgeTruth(pos, neg, score, nullptr, observed);
    EXPECT_EQ(noInputs.roc.size(), 1u);

    // A pair in both lists is one truth pair, observed or not, though both
    // rankings count it.
    const TruthView both = JudgeTruth(pos, {{1, 0}}, score, nullptr, observed);
    EXPECT_EQ(both.observed + both.heldOut, 2u);
    EXPECT_EQ(both.interacting + both.notInteracting, 3u);
}

TEST(JudgementTest, KnownPairsTheDomainEvidenceListsAreCountedApart)
{
    // Candidates 0..19 with falling affinity; known: 0, 1, 2 and 15, and a
    // pair that is no candidate; the evidence lists 0, 1, 15 and the
    // non-candidate, and others not known.
    std::map<PairKey, double> affinities;
    for (int i = 0; i < 20; ++i) {
        affinities[{i + 1, 0}] = 1.0 - i / 40.0;
    }
    const std::set<PairKey> known{{1, 0}, {2, 0}, {3, 0}, {16, 0}, {90, 80}};
    const std::set<PairKey> evidence{{1, 0}, {2, 0}, {16, 0}, {90, 80}, {5, 0}, {70, 60}};
    const KnownView k = JudgeKnown(affinities, known, evidence);
    EXPECT_EQ(k.known, 4u);
    EXPECT_EQ(k.circular, 4u); // the non-candidate too: the warning is about the list
    EXPECT_EQ(k.knownOutside, 1u);
    ASSERT_EQ(k.rows.size(), 2u); // 20 candidates: the top 10, then all 20
    EXPECT_EQ(k.rows[0].top, 10u);
    EXPECT_EQ(k.rows[0].found, 3u);
    EXPECT_EQ(k.rows[0].foundOutside, 1u); // (3,0), which the evidence does not list
    EXPECT_DOUBLE_EQ(k.rows[0].chance, 10.0 * 4 / 20);
    EXPECT_DOUBLE_EQ(k.rows[0].chanceOutside, 10.0 * 1 / 20);
    EXPECT_EQ(k.rows[1].top, 20u);
    EXPECT_EQ(k.rows[1].found, 4u);
    EXPECT_EQ(k.rows[1].foundOutside, 1u);
    // Without evidence nothing is circular and the two counts agree.
    const KnownView plain = JudgeKnown(affinities, known);
    EXPECT_EQ(plain.circular, 0u);
    EXPECT_EQ(plain.rows[0].foundOutside, plain.rows[0].found);
    EXPECT_DOUBLE_EQ(plain.rows[0].chanceOutside, plain.rows[0].chance);
    EXPECT_EQ(CircularText(k),
              "--known lists 4 motif pairs that the run's domain-domain evidence already lists: "
              "their enrichment is circular");
    KnownView one = k;
    one.circular = 1;
    one.evidenceFile = "ddi_observations.txt";
    EXPECT_EQ(CircularText(one),
              "--known lists 1 motif pair that the run's domain-domain evidence "
              "(ddi_observations.txt) already lists: their enrichment is circular");
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
    known.insert({500, 400}); // not a candidate: counts nowhere
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
    const testutil::TempDir tmp;
    const fs::path dir = tmp.Path();
    std::ofstream(dir / "proteins.tsv") << "id\taccession\n0\tP11111\n1\tP22222\n2\tP33333\n";
    std::ofstream(dir / "pos.tsv")
        << "accession_a\taccession_b\nP22222\tP11111\n# a comment\nP33333 P33333\nO99999\tP11111\n";
    const NamedPairs p = ReadProteinPairs(dir / "pos.tsv", Names::Read(dir));
    EXPECT_EQ(p.pairs, (std::set<PairKey>{{1, 0}, {2, 2}}));
    EXPECT_EQ(p.unknown.pairs, 1u);
    EXPECT_EQ(p.unknown.names, 1u);
    EXPECT_EQ(p.unknown.first, (std::vector<std::string>{"O99999"}));

    // A protein pair list takes two names a line, no more.
    std::ofstream(dir / "three.tsv") << "P11111\tP22222\t1\n";
    try {
        ReadProteinPairs(dir / "three.tsv", Names::Read(dir));
        FAIL() << "a third column was taken";
    } catch (const ToolError& e) {
        EXPECT_NE(std::string(e.what()).find("3 fields"), std::string::npos) << e.what();
    }
}

TEST(JudgementTest, UnknownNamesAreCountedOnceAndTheFirstFiveShown)
{
    const testutil::TempDir tmp;
    const fs::path dir = tmp.Path();
    std::ofstream(dir / "motifs.tsv") << "id\tfamily\tname\tproteins\n0\tPF00069\tPkinase\t2\n1\tPF00017\tSH2\t2\n";
    // A header; then seven unknown names over eight lines, X1 three times,
    // and one line whose names are both unknown. Extra columns are scores
    // or model ids, as in a database's list or the run's own evidence file.
    std::ofstream(dir / "known.tsv") << "family_a family_b score\n"
                                        "PF00069 PF00017 0.9\nX1 PF00017\nPF00069 X2 0 1\nX1 X3\nX4 Pkinase\n"
                                        "X1 SH2\nX5 X6\nPkinase SH2 1 0 1\nX7 PF00069\n";
    const NamedPairs k = ReadMotifPairs(dir / "known.tsv", Names::Read(dir));
    EXPECT_EQ(k.pairs, (std::set<PairKey>{{1, 0}}));
    EXPECT_EQ(k.unknown.pairs, 7u);
    EXPECT_EQ(k.unknown.names, 7u);
    EXPECT_EQ(k.unknown.first, (std::vector<std::string>{"X1", "X2", "X3", "X4", "X5"}));
    EXPECT_EQ(UnknownText("--known", "family", k.unknown),
              "--known names 7 families the run does not know ('X1', 'X2', 'X3', 'X4', 'X5', ...): 7 pairs left out");
    UnknownNames one;
    one.pairs = 1;
    one.names = 1;
    one.first = {"O\x1b[31m"};
    EXPECT_EQ(UnknownText("--truth", "protein", one),
              "--truth names 1 protein the run does not know ('O\\x1b[31m'): 1 pair left out");
}

// What motifbind-prep answers on small hand-made sets, each value worked out
// by hand in the comments: an isoform read before its canonical record,
// overlapping copies of one family, a protein that loses all its pairs,
// --require-domains, the hold-out guard, and sampling that runs out of pairs.
#include <gtest/gtest.h>

#include <sstream>

#include "tools/prep/tests/AnnotationFiles.h"
#include "tools/prep/tests/PrepRuns.h"

namespace {

std::string Residues(std::size_t n) { return std::string(n, 'A') + "\n"; }

// Six accessions are listed. P11111's isoform record comes before its
// canonical one (60 against 100 residues), and its two Kinase copies overlap
// (10-60 and 50-90) under an SH3 at 70-80. P33333 carries no domain.
// P44444's only partner, P55555, has no sequence.
class PrepAnswersTest : public AnnotationFiles {
protected:
    void SetUp() override
    {
        AnnotationFiles::SetUp();
        fasta_ = Write("proteins.fasta", ">sp|P11111-2|A_HUMAN Isoform 2\n" + Residues(60) + ">sp|P11111|A_HUMAN\n" +
                                             Residues(100) + ">P22222\n" + Residues(50) + ">P33333\n" + Residues(40) +
                                             ">P44444\n" + Residues(30) + ">Q66666\n" + Residues(70));
        domains_ = Write("domains.tsv",
                         "P11111\tKinase\t10\t60\n"
                         "P11111\tKinase\t50\t90\n"
                         "P11111\tSH3\t70\t80\n"
                         "P22222\tSH3\t1\t20\n"
                         "P44444\tPDZ\t5\t15\n"
                         "Q66666\tSH3\t10\t30\n"
                         "Q66666\tKinase\t40\t60\n");
        interactions_ = Write("interactions.tsv",
                              "P11111\tP22222\n"
                              "P11111\tQ66666\n"
                              "P22222\tP33333\n"
                              "P33333\tQ66666\n"
                              "P44444\tP55555\n");
        negatives_ = Write("negatives.tsv", "P22222\tQ66666\nP11111\tP33333\n");
    }

    std::vector<std::string> Args(const std::string& out) const
    {
        return {"--out",     out,      "--interactions",  interactions_, "--negatives", negatives_,
                "--domains", domains_, "--domain-format", "tsv",         "--fasta",     fasta_};
    }

    std::string fasta_;
    std::string domains_;
    std::string interactions_;
    std::string negatives_;
};

TEST_F(PrepAnswersTest, IsoformFirstOverlappingCopiesAndAProteinThatLosesItsPairs)
{
    const std::string out = Path("set");
    const PrepRun r = RunPrep(Args(out));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto file = [&](const std::string& name) { return Slurp(out + "/" + name); };

    // P55555 has no length and P44444 no pair left: four proteins stay, in
    // accession order. P11111 has its canonical 100 residues, so its Kinase
    // at 50-90 lies inside it.
    EXPECT_EQ(file("proteins.tsv"),
              "id\taccession\tlength\tcovered\tmotifs\tname\n"
              "0\tP11111\t100\t81\t2\tP11111\n"
              "1\tP22222\t50\t20\t1\tP22222\n"
              "2\tP33333\t40\t0\t0\tP33333\n"
              "3\tQ66666\t70\t42\t2\tQ66666\n");
    // PDZ went with P44444; SH3 on three proteins comes before Kinase on two.
    EXPECT_EQ(file("motifs.tsv"),
              "id\tfamily\tname\tproteins\tdescription\n0\tSH3\tSH3\t3\tSH3\n1\tKinase\tKinase\t2\tKinase\n");
    // Kinase on P11111 covers 10-90, 81 residues, not the 51 + 41 = 92 of its
    // copies; SH3 70-80 is 11. The whole protein: 10-90 again, 81.
    EXPECT_EQ(file("protein_motifs.txt"), "0\t0\t11\n0\t1\t81\n1\t0\t20\n3\t0\t21\n3\t1\t21\n");
    EXPECT_EQ(file("motif_coverage.txt"), "0\t81\n1\t20\n2\t0\n3\t42\n");
    EXPECT_EQ(file("protein_lengths.txt"), "0\t100\n1\t50\n2\t40\n3\t70\n");
    // Reported (1,0), (2,1), (3,0), (3,2); listed negatives (2,0), (3,1).
    EXPECT_EQ(file("ppi_observations.txt"),
              "1\t0\t1\t0\t1\n2\t1\t1\t0\t1\n3\t0\t1\t0\t1\n3\t2\t1\t0\t1\n2\t0\t0\t0\t1\n3\t1\t0\t0\t1\n");
    // (1,0): SH3 with SH3 and Kinase; (3,0): both with both. P33333 adds none.
    EXPECT_EQ(file("active_motif_pairs.txt"), "0\t0\t0.1\n1\t0\t0.1\n1\t1\t0.1\n");
    const std::string summary = file("summary.txt");
    for (const std::string& line : std::vector<std::string>{
             "proteins: 6 listed, 4 kept (1 without any domain), 2 dropped: 1 no length: not in the FASTA file; 1 no "
             "pair left (every partner dropped)\n",
             "pairs dropped with a dropped protein: 1\n",
             "domain families dropped with the proteins that lost every pair: 1\n",
             // Of the four reported pairs of proteins with a length, the two of
             // P33333.
             "reported pairs with a protein without any domain: 2 of 4 (50.0%), kept; --require-domains drops them\n",
             "motifs: 2 domain families from 6 domain ranges (1 ranges on proteins outside the set)\n",
             // (1,0): 1 x 2 variables, (3,0): 2 x 2, (3,1): 2 x 1.
             "binding variables: 8 on the observed protein pairs\n",
             // Every protein is in two reported pairs: nothing to correlate.
             "  source 'reported': 4 reported, 2 non-interacting (listed), models 0 and 1, degree correlation n/a\n",
             std::string("warning: 1 FASTA isoform records folded onto their accession (the canonical record's length "
                         "is used where there is one) (first: ") +
                 fasta_ + " line 1)\n"}) {
        EXPECT_NE(summary.find(line), std::string::npos) << line << "\nin:\n" << summary;
    }
}

TEST_F(PrepAnswersTest, RequireDomainsDropsProteinsWithoutOneAndTheirPairs)
{
    std::vector<std::string> args = Args(Path("set"));
    args.emplace_back("--require-domains");
    const PrepRun r = RunPrep(args);
    ASSERT_EQ(r.status, 0) << r.err;
    // P33333 goes, and with it (P22222,P33333), (P33333,Q66666) and the
    // negative (P11111,P33333); the other three keep pairs.
    EXPECT_EQ(Slurp(Path("set/proteins.tsv")),
              "id\taccession\tlength\tcovered\tmotifs\tname\n"
              "0\tP11111\t100\t81\t2\tP11111\n"
              "1\tP22222\t50\t20\t1\tP22222\n"
              "2\tQ66666\t70\t42\t2\tQ66666\n");
    EXPECT_EQ(Slurp(Path("set/ppi_observations.txt")), "1\t0\t1\t0\t1\n2\t0\t1\t0\t1\n2\t1\t0\t0\t1\n");
    for (const std::string& line : std::vector<std::string>{
             "proteins: 6 listed, 3 kept (0 without any domain), 3 dropped: 1 no domain (--require-domains); 1 no "
             "length: not in the FASTA file; 1 no pair left (every partner dropped)\n",
             "pairs dropped with a dropped protein: 4\n",
             "reported pairs with a protein without any domain: 2 of 4 (50.0%), dropped by --require-domains\n"}) {
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\nin:\n" << r.out;
    }
    // Nothing left at all is refused, naming the interaction file.
    const std::string bare = Write("bare.tsv", "P33333\tP55555\nP33333\tP33333\n");
    args[1] = Path("none");
    args[3] = bare;
    args[5] = Write("no-negatives.tsv", "");
    const PrepRun none = RunPrep(args);
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "Error: no protein of the pair lists (" + bare +
                            ") is left with a pair of two kept proteins and a domain (--require-domains); expected "
                            "pairs of proteins with a known length\n");
}

// Ten proteins of ten residues, each with one domain; the pairs of one source.
class HoldoutGuardTest : public AnnotationFiles {
protected:
    std::vector<std::string> Args(const std::string& out, const std::string& reported, const std::string& negative,
                                  const std::string& fraction)
    {
        std::string fasta;
        std::string domains;
        for (int i = 0; i < 10; ++i) {
            fasta += ">P1000" + std::to_string(i) + "\n" + Residues(10);
            domains += "P1000" + std::to_string(i) + "\tD\t1\t5\n";
        }
        return {"--out",           out,
                "--interactions",  Write("pos.tsv", reported),
                "--negatives",     Write("neg.tsv", negative),
                "--domains",       Write("dom.tsv", domains),
                "--domain-format", "tsv",
                "--fasta",         Write("seq.fasta", fasta),
                "--holdout",       fraction};
    }
};

TEST_F(HoldoutGuardTest, KeepsEveryProteinAnObservationAndEverySourceAReportedPair)
{
    // Reported P10000-P10001, P10002-P10003, P10004-P10005; the first four
    // also have a negative each with a protein seen nowhere else. 0.99 asks
    // for round(2.97) = 3 reported and round(3.96) = 4 negatives, in an order
    // that does not matter: no negative can go (its lone protein would have
    // nothing), nor P10004-P10005; the other two can, one after the other,
    // leaving the source P10004-P10005.
    const std::string pos = "P10000\tP10001\nP10002\tP10003\nP10004\tP10005\n";
    const std::string neg = "P10000\tP10006\nP10001\tP10007\nP10002\tP10008\nP10003\tP10009\n";
    const PrepRun r = RunPrep(Args(Path("on"), pos, neg, "0.99"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Slurp(Path("on/truth_holdout.txt")), "1\t0\t1\n3\t2\t1\n");
    EXPECT_EQ(Slurp(Path("on/ppi_observations.txt")),
              "5\t4\t1\t0\t1\n6\t0\t0\t0\t1\n7\t1\t0\t0\t1\n8\t2\t0\t0\t1\n9\t3\t0\t0\t1\n");
    EXPECT_NE(r.out.find("held out: 2 reported and 0 non-interacting pairs"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("hold-out guard: 2 of 7 pairs held out; 5 drawn pairs kept in training instead, so that "
                         "every protein keeps an observation and every source a reported pair\n"),
              std::string::npos)
        << r.out;

    // Without the guard all three reported pairs go: refused, nothing written.
    std::vector<std::string> off = Args(Path("off"), pos, neg, "0.99");
    off.emplace_back("--no-holdout-guard");
    const PrepRun refused = RunPrep(off);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "Error: --holdout 0.99 leaves source 'reported' without a reported training pair (all 3 "
              "held out); expected a smaller --holdout, or the hold-out guard\n");
    EXPECT_FALSE(std::filesystem::exists(Path("off")));
}

TEST_F(HoldoutGuardTest, WithoutTheGuardColdStartPairsAreCounted)
{
    // Two reported and two negative pairs, no protein in two: half of each
    // is one pair, whichever is drawn its proteins have nothing left.
    const std::string pos = "P10000\tP10001\nP10002\tP10003\n";
    const std::string neg = "P10004\tP10005\nP10006\tP10007\n";
    std::vector<std::string> off = Args(Path("off"), pos, neg, "0.5");
    off.emplace_back("--no-holdout-guard");
    const PrepRun r = RunPrep(off);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("held out: 1 reported and 1 non-interacting pairs"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("cold-start pairs: 2 held-out pairs with a protein without any training observation "
                         "(--no-holdout-guard)\n"),
              std::string::npos)
        << r.out;
    // With it, no pair can go: each of the four is looked at once.
    const PrepRun on = RunPrep(Args(Path("on"), pos, neg, "0.5"));
    ASSERT_EQ(on.status, 0) << on.err;
    EXPECT_EQ(Slurp(Path("on/truth_holdout.txt")), "");
    EXPECT_NE(on.out.find("hold-out guard: 0 of 2 pairs held out; 4 drawn pairs kept in training instead"),
              std::string::npos)
        << on.out;
}

TEST_F(HoldoutGuardTest, SamplingTakesEveryFreePairAndASourceOfOnePairGetsNone)
{
    // Source "path": P10000-P10001-P10002-P10003 in a row; its three free
    // pairs are (2,0), (3,0), (3,1), all of them drawn for a ratio of 1.
    // Reported per protein 1, 2, 2, 1 and non-interacting 2, 1, 1, 2: a
    // correlation of -1. Source "solo" has one pair and no free one.
    std::vector<std::string> args = Args(Path("set"),
                                         "P10000\tP10001\tpath\nP10001\tP10002\tpath\nP10002\tP10003\tpath\n"
                                         "P10004\tP10005\tsolo\n",
                                         "", "0");
    args.erase(args.begin() + 4, args.begin() + 6); // no --negatives
    const PrepRun r = RunPrep(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Slurp(Path("set/ppi_observations.txt")),
              "1\t0\t1\t0\t1\n2\t1\t1\t0\t1\n3\t2\t1\t0\t1\n2\t0\t0\t0\t1\n3\t0\t0\t0\t1\n3\t1\t0\t0\t1\n"
              "5\t4\t1\t2\t3\n");
    EXPECT_NE(r.out.find("  source 'path': 3 reported, 3 non-interacting (sampled degree-matched), models 0 and 1, "
                         "degree correlation -1.000\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("  source 'solo': 1 reported, 0 non-interacting (sampled degree-matched), models 2 and 3, "
                         "degree correlation n/a\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("warning: 1 sources with fewer free pairs among their proteins than the non-interacting "
                         "pairs asked for (as many drawn as there are) (first: source 'solo', 0 of 1)\n"),
              std::string::npos)
        << r.out;
}

} // namespace

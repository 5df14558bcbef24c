// Whole runs of motifbind-prep on small hand-written inputs: every file of
// the input set compared byte for byte with values worked out by hand, and
// the refusals of input it cannot use.
#include <gtest/gtest.h>

#include <sstream>

#include "motifbind/Version.h"
#include "tools/prep/tests/AnnotationFiles.h"
#include "tools/prep/tests/PrepRuns.h"
#include "tools/toolbox/RunCommand.h"

namespace {

// Four proteins; P11111 and P22222 listed in both orders, a self-interaction
// of P33333, an isoform of Q44444; overlapping, split and repeated domains.
class PrepRunTest : public AnnotationFiles {
protected:
    void SetUp() override
    {
        AnnotationFiles::SetUp();
        interactions_ = Write("interactions.tsv",
                              "# reported interactions\n"
                              "P11111\tP22222\n"
                              "P22222\tP11111\n"
                              "P33333\tP33333\n"
                              "P11111\tQ44444-2\n");
        negatives_ = Write("negatives.tsv", "P22222\tP33333\nQ44444\tP33333\n");
        domains_ = Write("domains.tsv",
                         "accession\tdomain\tstart\tend\n"
                         "P11111\tKinase\t10\t60\n"
                         "P11111\tSH3\t50\t80\n"
                         "P22222\tSH3\t1\t20\n"
                         "P22222\tSH3\t31\t40\n"
                         "P33333\tPDZ\t5\t15\n"
                         "Q44444\tKinase\t1\t100\n");
        fasta_ = Write("proteins.fasta", ">sp|P11111|A_HUMAN\n" + std::string(60, 'M') + "\n" + std::string(40, 'K') +
                                             "\n" + ">P22222 second\n" + std::string(50, 'A') + "\n" + ">P33333\n" +
                                             std::string(30, 'G') + "\n" + ">Q44444\n" + std::string(120, 'L') + "\n");
    }

    std::vector<std::string> Args(const std::string& out) const
    {
        return {"--out",     out,      "--interactions",  interactions_, "--negatives", negatives_,
                "--domains", domains_, "--domain-format", "tsv",         "--fasta",     fasta_};
    }

    std::string interactions_;
    std::string negatives_;
    std::string domains_;
    std::string fasta_;
};

TEST_F(PrepRunTest, EveryFileHoldsTheHandWorkedValues)
{
    const std::string out = Path("set");
    const PrepRun r = RunPrep(Args(out));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto file = [&](const std::string& name) { return Slurp(out + "/" + name); };

    // Proteins in accession order; families by the number of carriers, then name.
    EXPECT_EQ(file("proteins.tsv"),
              "id\taccession\tlength\tcovered\tmotifs\tname\n"
              "0\tP11111\t100\t71\t2\tP11111\n"
              "1\tP22222\t50\t30\t1\tP22222\n"
              "2\tP33333\t30\t11\t1\tP33333\n"
              "3\tQ44444\t120\t100\t1\tQ44444\n");
    // A plain domain list has no descriptions: the name stands in.
    EXPECT_EQ(file("motifs.tsv"),
              "id\tfamily\tname\tproteins\tdescription\n"
              "0\tKinase\tKinase\t2\tKinase\n"
              "1\tSH3\tSH3\t2\tSH3\n"
              "2\tPDZ\tPDZ\t1\tPDZ\n");
    EXPECT_EQ(file("protein_lengths.txt"), "0\t100\n1\t50\n2\t30\n3\t120\n");
    // Kinase 10-60 and SH3 50-80 overlap in 50-60: 71 residues, not 82.
    EXPECT_EQ(file("motif_coverage.txt"), "0\t71\n1\t30\n2\t11\n3\t100\n");
    // The two SH3 copies of P22222 add up to 20 + 10.
    EXPECT_EQ(file("protein_motifs.txt"), "0\t0\t51\n0\t1\t31\n1\t1\t30\n2\t2\t11\n3\t0\t100\n");
    // Reported pairs once each, larger id first, then the listed negatives.
    EXPECT_EQ(file("ppi_observations.txt"),
              "1\t0\t1\t0\t1\n2\t2\t1\t0\t1\n3\t0\t1\t0\t1\n2\t1\t0\t0\t1\n3\t2\t0\t0\t1\n");
    EXPECT_EQ(file("ppi_models.txt"), "0\tOM_BINARY\t0.98\n1\tOM_BINARY\t0.3\n");
    // (1,0): SH3 x {Kinase, SH3}; (2,2): PDZ x PDZ; (3,0): Kinase x {Kinase, SH3}.
    EXPECT_EQ(file("active_motif_pairs.txt"), "0\t0\t0.1\n1\t0\t0.1\n1\t1\t0.1\n2\t2\t0.1\n");
    EXPECT_EQ(file("inactive_motif_pairs.txt"), "");
    EXPECT_EQ(file("waiting_motif_pairs.txt"), "");
    EXPECT_EQ(file("predict_interaction_pairs.txt"), "1\t0\n2\t1\n2\t2\n3\t0\n3\t2\n");
    EXPECT_EQ(file("predict_binding_pairs.txt"), "1\t0\n2\t1\n2\t2\n3\t0\n3\t2\n");
    EXPECT_EQ(file("sources.tsv"),
              "source\tmodel_not_interacting\tmodel_interacting\treported\tnot_interacting\n"
              "reported\t0\t1\t3\t2\n");
    EXPECT_EQ(file("command.txt"),
              "motifbind -e 1 -b 200 -f 4 3 -l 1 -p 0 -s -1 ppi_observations.txt ppi_models.txt protein_motifs.txt "
              "active_motif_pairs.txt inactive_motif_pairs.txt waiting_motif_pairs.txt motifbind.log "
              "predictions.txt predict_interaction_pairs.txt predict_binding_pairs.txt 0.1 protein_lengths.txt "
              "10000 motif_coverage.txt\n");
    EXPECT_FALSE(std::filesystem::exists(out + "/truth_holdout.txt"));
    // 6 domain ranges; 3 reported pairs once each and 2 listed negatives make
    // 5 observations; every observed pair is predicted. Reported and
    // non-interacting pairs per protein, a self-pair counting twice: (2, 1,
    // 2, 1) and (0, 1, 2, 1), whose deviations from the means 1.5 and 1 have
    // no product sum: correlation 0.

    const std::string summary =
        std::string("made by: motifbind-prep ") + MOTIFBIND_VERSION + "\n" +
        "proteins: 4 listed, 4 kept (0 without any domain), 0 dropped\n"
        "reported pairs with a protein without any domain: 0 of 3 (0.0%), kept; "
        "--require-domains drops them\n"
        "self-interactions: 1 kept as pairs of a protein with itself\n"
        "pairs listed again by the same source (counted once): 1\n"
        "motifs: 3 domain families from 6 domain ranges (0 ranges on proteins outside the set)\n"
        "protein names: 0 gene names from the FASTA headers, 0 aliases from the interaction "
        "files, 4 accessions for want of both\n"
        "observations: 5\n"
        "  source 'reported': 3 reported, 2 non-interacting (listed), models 0 and 1, "
        "degree correlation 0.000\n"
        "candidate motif pairs: 4 of 4 motif pairs on reported interactions (support at least 1)\n"
        "binding variables: 5 on the observed protein pairs\n"
        "pairs to predict: 5\n";
    EXPECT_EQ(file("summary.txt"), summary);
    // What prep prints is the summary it wrote, framed by the folder and the
    // command: 10 inputs of motifbind, 3 name tables, command.txt, summary.txt,
    // provenance.txt.
    // The run line names the motifbind beside prep; its text has a test of its own.
    EXPECT_EQ(r.out, "motifbind-prep: wrote 16 files to " + out + "\n" + summary + RunLine(out));

    // Binding variables on the observed pairs: 2 on (1,0), 1 on (2,2), 2 on
    // (3,0), none on the two negatives.
    EXPECT_NE(r.out.find("binding variables: 5 on"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("proteins: 4 listed, 4 kept (0 without any domain), 0 dropped\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("self-interactions: 1 kept"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("pairs listed again by the same source (counted once): 1\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("candidate motif pairs: 4 of 4"), std::string::npos) << r.out;
}

TEST_F(PrepRunTest, EstimatorAndNoisePriorLeadTheCommandOnlyWhenNotZero)
{
    const std::string tail =
        "-f 4 3 -l 1 -p 0 -s -1 ppi_observations.txt ppi_models.txt protein_motifs.txt "
        "active_motif_pairs.txt inactive_motif_pairs.txt waiting_motif_pairs.txt motifbind.log "
        "predictions.txt predict_interaction_pairs.txt predict_binding_pairs.txt 0.1 "
        "protein_lengths.txt 10000 motif_coverage.txt\n";
    const struct {
        const char* folder;
        std::vector<std::string> extra;
        std::string head;
    } cases[] = {
        // Both at motifbind's defaults: the command line of earlier versions.
        {"old", {"--estimator", "0", "--noise-prior", "0"}, "motifbind "},
        {"prior-only", {"--estimator", "0", "--noise-prior", "0.5"}, "motifbind -b 0.5 "},
        {"estimator-only", {"--noise-prior", "0"}, "motifbind -e 1 "},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = Args(Path(c.folder));
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const PrepRun r = RunPrep(args);
        ASSERT_EQ(r.status, 0) << c.folder << ": " << r.err;
        EXPECT_EQ(Slurp(Path(c.folder) + "/command.txt"), c.head + tail) << c.folder;
    }
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--estimator", "2"}, std::vector<std::string>{"--noise-prior", "-1"}}) {
        std::vector<std::string> args = Args(Path("refused"));
        args.insert(args.end(), bad.begin(), bad.end());
        const PrepRun r = RunPrep(args);
        EXPECT_NE(r.status, 0) << bad[0];
        EXPECT_NE(r.err.find(bad[0]), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(Path("refused"))) << bad[0];
    }
}

TEST_F(PrepRunTest, SupportDomainDomainEvidenceAndSelfPairs)
{
    const std::string ddi = Write("ddi.tsv", "# known pairs\nKinase\tSH3\nPDZ PDZ\nSH3\tPDZ\nKinase\tNoSuchFamily\n");
    std::vector<std::string> args = Args(Path("set"));
    for (const char* a : {"--min-support", "2", "--ddi", ddi.c_str(), "--drop-self"}) {
        args.emplace_back(a);
    }
    const PrepRun r = RunPrep(args);
    ASSERT_EQ(r.status, 0) << r.err;
    // Only SH3-Kinase occurs on two reported interactions; the self-pair of
    // P33333 is gone, and PDZ with it from the motif pairs.
    EXPECT_EQ(Slurp(Path("set/active_motif_pairs.txt")), "1\t0\t0.1\n");
    EXPECT_EQ(Slurp(Path("set/ppi_observations.txt")), "1\t0\t1\t0\t1\n3\t0\t1\t0\t1\n2\t1\t0\t0\t1\n3\t2\t0\t0\t1\n");
    EXPECT_EQ(Slurp(Path("set/ddi_observations.txt")), "1\t0\t1\t0\t1\n");
    EXPECT_EQ(Slurp(Path("set/ddi_models.txt")), "0\tOM_BINARY\t0.99\n1\tOM_BINARY\t0.3\n");
    EXPECT_EQ(Slurp(Path("set/ddi_options.txt")), "2\t0\t0\t1\t3\n");
    EXPECT_NE(Slurp(Path("set/command.txt")).find(" -d ddi_observations.txt ddi_models.txt ddi_options.txt "),
              std::string::npos);
    EXPECT_NE(r.out.find("domain-domain evidence: 1 candidate pair reported, of 4 listed (1 naming a family not "
                         "in the set, 2 no candidate pair)"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("self-interactions: 1 listed, dropped"), std::string::npos) << r.out;
}

TEST_F(PrepRunTest, HoldOutAndPredictionListByAccession)
{
    const std::string predict = Write("predict.tsv", "P11111\tP33333\nP11111\tO99999\nQ44444-3\tP22222\n");
    std::vector<std::string> args = Args(Path("set"));
    for (const char* a : {"--holdout", "0.5", "--predict", predict.c_str()}) {
        args.emplace_back(a);
    }
    const PrepRun r = RunPrep(args);
    ASSERT_EQ(r.status, 0) << r.err;
    // Half of 3 reported pairs rounds to 2, half of 2 negatives to 1.
    const std::string truth = Slurp(Path("set/truth_holdout.txt"));
    const std::string obs = Slurp(Path("set/ppi_observations.txt"));
    EXPECT_EQ(std::count(obs.begin(), obs.end(), '\n'), 2) << obs;
    std::istringstream held(truth);
    int a = 0;
    int b = 0;
    int state = 0;
    int reported = 0;
    int lines = 0;
    while (held >> a >> b >> state) {
        ++lines;
        reported += state;
        // A held-out pair is never also observed.
        EXPECT_EQ(obs.find(std::to_string(a) + "\t" + std::to_string(b) + "\t"), std::string::npos) << obs;
    }
    EXPECT_EQ(lines, 3) << truth;
    EXPECT_EQ(reported, 2) << truth;
    // The same pairs by accession, one file per state.
    const std::string interacting = Slurp(Path("set/holdout_interacting.tsv"));
    const std::string notInteracting = Slurp(Path("set/holdout_not_interacting.tsv"));
    EXPECT_EQ(interacting.rfind("accession_a\taccession_b\n", 0), 0u);
    EXPECT_EQ(std::count(interacting.begin(), interacting.end(), '\n'), 3) << interacting;
    EXPECT_EQ(std::count(notInteracting.begin(), notInteracting.end(), '\n'), 2) << notInteracting;
    // O99999 is in no input: that pair is reported, the other two are kept.
    EXPECT_EQ(Slurp(Path("set/predict_interaction_pairs.txt")), "2\t0\n3\t1\n");
    EXPECT_NE(r.out.find("pairs to predict: 2 of 3 listed (1 naming a protein not in the set)"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("warning: 1 pairs to predict naming a protein not in the set (not predicted) (first: " +
                         predict + " line 2)"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("proteins: 5 listed, 4 kept (0 without any domain), 1 dropped: 1 no length: not in the "
                         "FASTA file"),
              std::string::npos)
        << r.out;
}

TEST_F(PrepRunTest, InputItCannotUseIsRefusedBeforeAnythingIsWritten)
{
    struct Case {
        std::string name;
        std::vector<std::string> extra;
        std::string mention;
    };
    const std::string pastEnd = Write("past_end.tsv", "P11111\tKinase\t10\t60\nP33333\tPDZ\t5\t31\n");
    const std::string twoSources = Write("two.tsv", "P11111\tP22222\tY2H\nP33333\tQ44444\tAP-MS\n");
    const std::string empty = Write("empty.tsv", "# nothing reported\n");
    const std::vector<Case> cases{
        {"range past the protein's end",
         {"--domains", pastEnd},
         pastEnd + " line 2: domain 'PDZ' at 5-31 ends past the end of P33333, which has 30 residues"},
        {"negatives without a source when two sources report",
         {"--interactions", twoSources},
         negatives_ + " line 1: no source column, but the interactions name 3 sources"},
        {"fpr and fnr", {"--fpr", "0.6", "--fnr", "0.5"}, "--fpr plus --fnr"},
        {"unknown format", {"--domain-format", "gff"}, "--domain-format"},
        {"lengths needed", {"--fasta", ""}, "--fasta"},
    };
    std::vector<Case> all = cases;
    all.push_back({"no interaction at all", {}, "no interaction of two proteins in " + empty + ";"});
    for (const Case& c : all) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = Args(Path("set"));
        if (c.name == "no interaction at all") {
            args[3] = empty;
        }
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const PrepRun r = RunPrep(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("Error: ", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_NE(r.err.find(c.mention), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(Path("set")));
    }
}

TEST_F(PrepRunTest, AMisspeltOptionIsNamedNotTheOptionItHides)
{
    std::vector<std::string> args = Args(Path("set"));
    args[2] = "--interactoins";
    const PrepRun r = RunPrep(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Error: --interactoins is not an option; did you mean --interactions?\n");
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(std::filesystem::exists(Path("set")));

    const PrepRun version = RunPrep({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("motifbind-prep ") + MOTIFBIND_VERSION + "\n");
    EXPECT_EQ(version.err, "");
}

TEST_F(PrepRunTest, AFolderThatHoldsFilesIsLeftAlone)
{
    std::filesystem::create_directories(Path("set"));
    Write("set/ppi_observations.txt", "precious\n");
    const PrepRun r = RunPrep(Args(Path("set")));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("already holds files"), std::string::npos) << r.err;
    EXPECT_EQ(Slurp(Path("set/ppi_observations.txt")), "precious\n");
}

} // namespace

// The name tables and input files the report finds beside a run.
#include <gtest/gtest.h>

#include <fstream>

#include "support/TempDir.h"
#include "tools/report/Names.h"
#include "tools/report/RunInputs.h"
#include "tools/toolbox/ToolError.h"

#include <set>

namespace fs = std::filesystem;

namespace {

class RunFolderTest : public ::testing::Test {
protected:
    void Write(const std::string& name, const std::string& text) const { std::ofstream(dir_ / name) << text; }

    testutil::TempDir tmp_;
    const std::filesystem::path dir_ = tmp_.Path();
};

TEST_F(RunFolderTest, NamesComeFromTheTablesOrFallBackToIds)
{
    const Names none = Names::Read(dir_);
    EXPECT_EQ(none.Protein(3), "3");
    EXPECT_EQ(none.MotifName(2), "2");
    EXPECT_EQ(none.ProteinId("7"), 7);
    EXPECT_EQ(none.ProteinId("P11111"), std::nullopt);
    EXPECT_EQ(none.ModelRole(0), -1);

    Write("proteins.tsv", "id\taccession\tlength\tcovered\tmotifs\n0\tP11111\t100\t71\t2\n1\tP22222\t50\t30\t1\n");
    Write("motifs.tsv", "id\tfamily\tname\tproteins\n0\tPF00069\tPkinase\t2\n1\tPF00018\tSH3_1\t2\n");
    Write("sources.tsv",
          "source\tmodel_not_interacting\tmodel_interacting\treported\tnot_interacting\n"
          "two hybrid\t0\t1\t3\t2\nAP-MS\t2\t3\t1\t1\n");
    const Names n = Names::Read(dir_);
    EXPECT_EQ(n.Protein(1), "P22222");
    EXPECT_EQ(n.Protein(5), "5"); // not in the table
    EXPECT_EQ(n.Motif(0), "PF00069");
    EXPECT_EQ(n.MotifName(1), "SH3_1");
    EXPECT_EQ(n.ProteinId("P11111"), 0);
    EXPECT_EQ(n.ProteinId("0"), std::nullopt); // with a table, names only
    EXPECT_EQ(n.MotifId("Pkinase"), 0);
    EXPECT_EQ(n.MotifId("PF00018"), 1);
    EXPECT_EQ(n.Source(3), "AP-MS");
    EXPECT_EQ(n.ModelRole(2), 0);
    EXPECT_EQ(n.ModelRole(3), 1);

    Write("motifs.tsv", "id\tfamily\tname\tproteins\n0\tPF00069\tPkinase\t2\n2\tPF00018\tSH3_1\t2\n");
    try {
        Names::Read(dir_);
        FAIL() << "a table with a gap in its ids was accepted";
    } catch (const ToolError& e) {
        EXPECT_EQ(std::string(e.what()).rfind((dir_ / "motifs.tsv").string() + " line 3: id '2'", 0), 0u) << e.what();
    }
}

TEST_F(RunFolderTest, CarriersAndDegreesFromTheInputFiles)
{
    // Proteins 0 {1, 2}, 1 {1}, 2 {2}, 3 {} ; active 1-1, 2-1, 2-2.
    // Observed (1,0) reported twice, (2,0) not, (2,1) reported, (3,0)
    // reported, (2,2) reported.
    Write("obs.txt", "1 0 1 0 1\n0 1 1 0 1\n2 0 0 0 1\n2 1 1 0 1\n3 0 0.999999 0 1\n2 2 1 0 1\n");
    Write("pm.txt", "0 1 10\n0 2 10\n1 1 5\n2 2 7\n");
    Write("act.txt", "1 1 0.1\n2 1 0.1\n2 2 0.1\n");
    const RunInputs r = ReadRunInputs(dir_,
                                      "motifbind -f 4 3 -l 1 -d a b c obs.txt models.txt pm.txt act.txt x y "
                                      "motifbind.log predictions.txt p q 0.1 len.txt 10000 cov.txt");
    ASSERT_TRUE(r.present) << r.problem;
    // 1-1: (1,0); 2-1: (1,0), (2,0), (2,1); 2-2: (2,0), (2,2); the pair
    // (3,0) carries none (protein 3 has no motif).
    const std::map<PairKey, long long> carriers{{{1, 1}, 1}, {{2, 1}, 3}, {{2, 2}, 2}};
    EXPECT_EQ(r.carriers, carriers);
    // Reported partners: 0 with 1 and 3; 1 with 0 and 2; 2 with 1 and itself.
    const std::map<int, int> degree{{0, 2}, {1, 2}, {2, 2}, {3, 1}};
    EXPECT_EQ(r.degree, degree);
    EXPECT_EQ(r.observedPairs.size(), 5u);

    const RunInputs missing = ReadRunInputs(dir_, "motifbind obs.txt models.txt nothere.txt act.txt");
    EXPECT_FALSE(missing.present);
    EXPECT_NE(missing.problem.find("nothere.txt"), std::string::npos) << missing.problem;
}

TEST_F(RunFolderTest, CertainPairsAndServedStatesBehindEveryLeadingOption)
{
    // Noise-free observations: -1 for state 0 rules it out unless the value
    // is 0 (within 1e-5); -2 (uniform on [0, 1]) only outside [0, 1].
    Write("obs.txt", "1 0 1 -1 -1\n2 0 0.000001 -1 -1\n3 0 1.5 -2 1\n4 0 0.5 -2 1\n5 0 1 4 9\n5 1 0 4 4\n");
    // File ids 9, 4, 3 are positions 0, 1, 2; 3 is named by no observation.
    Write("models.txt", "9 OM_BINARY 0.3\n4 OM_BINARY 0.98\n3 OM_GAUSSIAN 0 1\n");
    Write("pm.txt", "0 1 10\n1 1 10\n");
    Write("act.txt", "1 1 0.1\n");
    // The domain-domain files through -d, the option file naming its models
    // in fields 3 and 4; every leading option that takes words, -e and -b
    // included, before the positional arguments.
    Write("dobs.txt", "1 1 1 0 1\n");
    Write("dmod.txt", "1 OM_BINARY 0.3\n0 OM_BINARY 0.99\n");
    Write("dopt.txt", "2 0 0 1 3\n");
    const std::string tail =
        " obs.txt models.txt pm.txt act.txt x y motifbind.log predictions.txt p q 0.1 len.txt "
        "10000 cov.txt";
    const RunInputs r =
        ReadRunInputs(dir_, "motifbind -e 1 -b 200 -f 6 2 -l 1 -p 1 -s 10 -n 2 -d dobs.txt dmod.txt dopt.txt" + tail);
    ASSERT_TRUE(r.present) << r.problem;
    EXPECT_EQ(r.certainPairs, (std::set<PairKey>{{1, 0}, {3, 0}}));
    const std::map<int, ModelState> ppi{{0, ModelState::ONE}, {1, ModelState::BOTH}};
    EXPECT_EQ(r.ppiStates, ppi);
    const std::map<int, ModelState> ddi{{0, ModelState::ONE}, {1, ModelState::ZERO}};
    EXPECT_EQ(r.ddiStates, ddi);
    EXPECT_EQ(ServedState(r.ppiStates, 0), 1);
    EXPECT_EQ(ServedState(r.ppiStates, 1), -1); // both states
    EXPECT_EQ(ServedState(r.ppiStates, 2), -1); // none

    // The domain-domain evidence's pairs, for the check of --known.
    EXPECT_EQ(r.ddiFile, "dobs.txt");
    EXPECT_EQ(r.ddiPairs, (std::set<PairKey>{{1, 1}}));
    EXPECT_EQ(r.ddiProblem, "");

    // A model file the report cannot follow leaves the models unnamed, and
    // the rest of the inputs read.
    Write("models.txt", "9 OM_BINARY 0.3\n4 OM_NOSUCH 0.98\n");
    const RunInputs unnamed = ReadRunInputs(dir_, "motifbind -d dobs.txt dmod.txt dopt.txt" + tail);
    EXPECT_TRUE(unnamed.present) << unnamed.problem;
    EXPECT_TRUE(unnamed.ppiStates.empty());
    EXPECT_EQ(unnamed.ddiStates, ddi);
}

TEST_F(RunFolderTest, DomainEvidenceThatCannotBeReadIsSaidNotFatal)
{
    Write("obs.txt", "1 0 1 0 1\n");
    Write("pm.txt", "0 1 10\n1 1 10\n");
    Write("act.txt", "1 1 0.1\n");
    const std::string tail =
        " obs.txt models.txt pm.txt act.txt x y motifbind.log predictions.txt p q 0.1 len.txt "
        "10000 cov.txt";
    // Both orders of a pair are one pair; a model id no model file has
    // leaves the states unnamed but the pairs known.
    Write("dobs.txt", "2 1 1 0 1\n1 2 0 0 1\n3 3 1 7 -3\n");
    const RunInputs r = ReadRunInputs(dir_, "motifbind -d dobs.txt dmod.txt dopt.txt" + tail);
    EXPECT_TRUE(r.present) << r.problem;
    EXPECT_EQ(r.ddiPairs, (std::set<PairKey>{{2, 1}, {3, 3}}));
    EXPECT_TRUE(r.ddiStates.empty());
    EXPECT_EQ(r.ddiProblem, "");

    const RunInputs missing = ReadRunInputs(dir_, "motifbind -d gone.txt dmod.txt dopt.txt" + tail);
    EXPECT_TRUE(missing.present);
    EXPECT_EQ(missing.ddiFile, "gone.txt");
    EXPECT_TRUE(missing.ddiPairs.empty());
    EXPECT_NE(missing.ddiProblem.find("gone.txt is not beside the log"), std::string::npos) << missing.ddiProblem;

    Write("dobs.txt", "2 1 1 0 1\n2 x 1 0 1\n");
    const RunInputs bad = ReadRunInputs(dir_, "motifbind -d dobs.txt dmod.txt dopt.txt" + tail);
    EXPECT_TRUE(bad.present);
    EXPECT_TRUE(bad.ddiPairs.empty());
    EXPECT_NE(bad.ddiProblem.find("dobs.txt"), std::string::npos) << bad.ddiProblem;

    const RunInputs none = ReadRunInputs(dir_, "motifbind" + tail);
    EXPECT_EQ(none.ddiFile, "");
    EXPECT_EQ(none.ddiProblem, "");
}

} // namespace

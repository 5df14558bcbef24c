// The top-interactions table on a hand-made prediction file: the order,
// where each pair stands, its mediating motif pairs and what each motif
// pair explains.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/TempDir.h"
#include "tools/report/TopInteractions.h"
#include "tools/runfiles/PredictionFile.h"

namespace fs = std::filesystem;

namespace {

// Interaction probabilities (1 - the posterior, else 1 - the second
// probability): (3,0) 0.9 observed, (3,1) 0.8, (2,1) 0.7, (4,2) 0.95, (4,3)
// 0.3 observed, (2,0) 0.1. Binding variables: four on (3,0), the most
// probable 2-1 at 0.95; on (4,2), without observations, 2-1 at its
// conditioned affinity 0.6 and 0-0 at 0.4; 1-0 on (2,1); 2-1 on (4,3); 1-1
// on (2,0).
const char* const PREDICTIONS =
    "***s Predicted non-interaction probability for protein pairs:\t(1st, 2nd, prob w/o evidence, prob w/ "
    "evidence/H)\n"
    "3\t0\t0.5,0.4\t0.1\n3\t1\t0.5,0.2\tH\n2\t1\t0.5,0.3\tH\n4\t2\t0.5,0.05\tH\n4\t3\t0.5,0.6\t0.7\n"
    "2\t0\t0.5,0.9\tH\n"
    "***e Predicted non-interaction probability for protein pairs.\n"
    "***s Binding variable:\t(1st prot, 2nd prot, 1st mot, 2nd mot, mot affinity, P(B=1) w/ evidence/H)\n"
    "3\t0\t0\t1\t0.6,0.7\t0.8\n3\t0\t2\t1\t0.5,0.5\t0.95\n3\t0\t1\t1\t0.3,0.3\t0.1\n3\t0\t1\t0\t0.2,0.2\t0.05\n"
    "4\t2\t0\t0\t0.4,0.4\tH\n4\t2\t2\t1\t0.5,0.6\tH\n2\t1\t1\t0\t0.7,0.7\tH\n4\t3\t2\t1\t0.5,0.5\t0.3\n"
    "2\t0\t1\t1\t0.3,0.3\tH\n"
    "***e Binding variable.\n*** End of file.\n";

class TopInteractionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Protein 1 has no display name; motif 1 a description, 0 and 2 only
        // short names.
        std::ofstream(dir_ / "proteins.tsv") << "id\taccession\tlength\tcovered\tmotifs\tname\n"
                                                "0\tP00000\t100\t50\t2\tABC0\n1\tP11111\t100\t50\t2\t\n"
                                                "2\tP22222\t100\t50\t2\tGENE2\n3\tP33333\t100\t50\t2\tGENE3\n"
                                                "4\tP44444\t100\t50\t2\tGENE4\n";
        std::ofstream(dir_ / "motifs.tsv") << "id\tfamily\tname\tproteins\tdescription\n"
                                              "0\tPF00000\tFam0\t2\t\n1\tPF00001\tKin\t2\tKinase domain\n"
                                              "2\tPF00002\tSH2\t2\t\n";
        std::istringstream in(PREDICTIONS);
        predictions_ = ReadPredictionFile(in, "predictions.txt");
    }

    testutil::TempDir tmp_;
    const std::filesystem::path dir_ = tmp_.Path();
    Predictions predictions_;
};

TEST_F(TopInteractionsTest, MostLikelyFirstWithStatusTruthAndMediators)
{
    const Names names = Names::Read(dir_);
    // Truth: (3,1) interacts, (2,0) does not; the inputs observe (3,0),
    // which its posterior says too, and (4,3) only by its posterior.
    const std::set<PairKey> pos{{3, 1}};
    const std::set<PairKey> neg{{2, 0}};
    const std::set<PairKey> observed{{3, 0}};
    const TopInteractions t =
        FindTopInteractions(predictions_, names, 3, 20, {&pos, &neg, &observed}, {{{2, 1}, 0.55}, {{1, 0}, 0.7}});
    const TopInteractionsView& v = t.view;
    EXPECT_EQ(v.asked, 3u);
    EXPECT_EQ(v.listed, 6u);
    EXPECT_EQ(v.predicted, 4u); // 0.95, 0.9, 0.8 and 0.7
    EXPECT_TRUE(v.truth);
    EXPECT_TRUE(v.bindings);
    ASSERT_EQ(v.rows.size(), 3u);

    // (4,2): new, explained by its prior alone.
    const InteractionView& first = v.rows[0];
    EXPECT_EQ(first.nameA, "GENE4");
    EXPECT_EQ(first.idA, "P44444");
    EXPECT_EQ(first.nameB, "GENE2");
    EXPECT_DOUBLE_EQ(first.probability, 0.95);
    EXPECT_EQ(first.status, InteractionView::Status::NEW);
    EXPECT_EQ(first.truth, "");
    ASSERT_EQ(first.mediators.size(), 2u);
    EXPECT_EQ(first.mediators[0].first, "SH2 (PF00002)");
    EXPECT_EQ(first.mediators[0].second, "Kinase domain (PF00001)");
    EXPECT_DOUBLE_EQ(first.mediators[0].probability, 0.6); // the conditioned affinity
    EXPECT_FALSE(first.mediators[0].posterior);
    EXPECT_EQ(first.mediators[1].first, "Fam0 (PF00000)");
    EXPECT_EQ(first.moreMediators, 0u);

    // (3,0): observed, three of its four binding variables by posterior.
    const InteractionView& second = v.rows[1];
    EXPECT_EQ(second.nameB, "ABC0");
    EXPECT_DOUBLE_EQ(second.probability, 0.9);
    EXPECT_EQ(second.status, InteractionView::Status::OBSERVED);
    ASSERT_EQ(second.mediators.size(), MEDIATORS_SHOWN);
    EXPECT_DOUBLE_EQ(second.mediators[0].probability, 0.95);
    EXPECT_DOUBLE_EQ(second.mediators[1].probability, 0.8);
    EXPECT_DOUBLE_EQ(second.mediators[2].probability, 0.1);
    EXPECT_TRUE(second.mediators[0].posterior);
    EXPECT_EQ(second.moreMediators, 1u);

    // (3,1): held out and interacting; no display name, no binding variable.
    const InteractionView& third = v.rows[2];
    EXPECT_EQ(third.nameB, "P11111");
    EXPECT_EQ(third.idB, "P11111");
    EXPECT_EQ(third.status, InteractionView::Status::HELD_OUT);
    EXPECT_EQ(third.truth, "interacting");
    EXPECT_TRUE(third.mediators.empty());

    // 2-1 is the most probable mediator of (4,2) and (3,0), both on top and
    // predicted, and of (4,3), which is neither; 1-0 of (2,1), predicted
    // but fourth; 1-1 of (2,0) only, which counts nowhere.
    const std::map<PairKey, std::pair<std::size_t, std::size_t>> explains{
        {{2, 1}, {2, 2}}, {{1, 0}, {0, 1}}, {{1, 1}, {0, 0}}};
    EXPECT_EQ(t.explains, explains);
    ASSERT_EQ(v.explainers.size(), 2u);
    EXPECT_EQ(v.explainers[0].first, "SH2 (PF00002)");
    EXPECT_EQ(v.explainers[0].second, "Kinase domain (PF00001)");
    EXPECT_DOUBLE_EQ(v.explainers[0].affinity, 0.55);
    EXPECT_EQ(v.explainers[0].top, 2u);
    EXPECT_EQ(v.explainers[0].predicted, 2u);
    EXPECT_EQ(v.explainers[1].top, 0u);
    EXPECT_EQ(v.explainers[1].predicted, 1u);
}

TEST_F(TopInteractionsTest, WithoutTruthOrInputsTheFileAloneDecides)
{
    // No --truth: a pair is observed by its posterior or new; asking for more
    // rows than listed gives them all; at most one explainer when asked.
    const TopInteractions t = FindTopInteractions(predictions_, Names(), 100, 1, {}, {});
    const TopInteractionsView& v = t.view;
    EXPECT_FALSE(v.truth);
    ASSERT_EQ(v.rows.size(), 6u);
    const std::vector<InteractionView::Status> status{
        InteractionView::Status::NEW, InteractionView::Status::OBSERVED, InteractionView::Status::NEW,
        InteractionView::Status::NEW, InteractionView::Status::OBSERVED, InteractionView::Status::NEW};
    for (std::size_t i = 0; i < v.rows.size(); ++i) {
        EXPECT_EQ(v.rows[i].status, status[i]) << i;
        EXPECT_EQ(v.rows[i].truth, "") << i;
    }
    // Names are ids without the tables; the explainer has no learned affinity.
    EXPECT_EQ(v.rows[0].nameA, "4");
    EXPECT_EQ(v.rows[0].idA, "4");
    ASSERT_EQ(v.explainers.size(), 1u);
    EXPECT_EQ(v.explainers[0].first, "2");
    EXPECT_TRUE(std::isnan(v.explainers[0].affinity));
    // All six are within the top now: 2-1 explains three of them.
    EXPECT_EQ(v.explainers[0].top, 3u);
    EXPECT_EQ(v.explainers[0].predicted, 2u);

    // Equal probabilities keep the file's order; a file without binding
    // variables names no mediator.
    std::istringstream in(
        "***s Predicted non-interaction probability for protein pairs:\t(1st, 2nd, prob w/o evidence, prob w/ "
        "evidence/H)\n5\t1\t0.5,0.5\t0.25\n2\t0\t0.5,0.25\tH\n9\t9\t0.5,0.5\t0.25\n"
        "***e Predicted non-interaction probability for protein pairs.\n"
        "***s Binding variable:\t(1st prot, 2nd prot, 1st mot, 2nd mot, mot affinity, P(B=1) w/ evidence/H)\n"
        "***e Binding variable.\n*** End of file.\n");
    const TopInteractions tied = FindTopInteractions(ReadPredictionFile(in, "tied.txt"), Names(), 3, 20, {}, {});
    ASSERT_EQ(tied.view.rows.size(), 3u);
    EXPECT_EQ(tied.view.rows[0].idA, "5");
    EXPECT_EQ(tied.view.rows[1].idA, "2");
    EXPECT_EQ(tied.view.rows[2].idA, "9");
    EXPECT_FALSE(tied.view.bindings);
    EXPECT_TRUE(tied.view.explainers.empty());
}

} // namespace

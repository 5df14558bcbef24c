// The evaluator on a hand-made data folder: which numbers it takes from
// which file, the summary it prints, and the one-line errors.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "motifbind/Version.h"
#include "support/TempDir.h"
#include "tools/eval/EvalMain.h"
#include "tools/runfiles/BindingSupport.h"

namespace fs = std::filesystem;

namespace {

// Proteins 0-5 carry motifs 1, 2 and 3, proteins 0-4 also motif 4 (protein 0
// lists motif 1 twice, which names it once). Observed pairs: (1,0) twice,
// (2,0), (3,0), (4,0), (5,0) and protein 5 with itself. Binding variables
// per active motif pair, one per ordered (motif of i, motif of j) choice:
//   2-1: (1,2) and (2,1) on each of the five pairs with 0, and both again on
//        (5,5): 12;  3-2 likewise: 12;  3-3: one per pair, six pairs: 6;
//   4-4: only where both proteins carry 4, (1,0) to (4,0): 4, below the
//        five needed to be judged.
const char* const MOTIFS =
    "0\t1\t10\n0\t1\t7\n0\t2\t10\n0\t3\t10\n0\t4\t10\n"
    "1\t1\t10\n1\t2\t10\n1\t3\t10\n1\t4\t10\n2\t1\t10\n2\t2\t10\n2\t3\t10\n2\t4\t10\n"
    "3\t1\t10\n3\t2\t10\n3\t3\t10\n3\t4\t10\n4\t1\t10\n4\t2\t10\n4\t3\t10\n4\t4\t10\n"
    "5\t1\t10\n5\t2\t10\n5\t3\t10\n";
const char* const ACTIVE = "2\t1\t0.1\n3\t2\t0.1\n3\t3\t0.1\n4\t4\t0.1\n";
const char* const OBSERVATIONS =
    "0\t1\t1\t0\t1\n1\t0\t0\t0\t1\n2\t0\t0\t0\t1\n0\t3\t1.5\t2\t3\n4\t0\t1\t-1\t-1\n0\t5\t0\t0\t1\n5\t5\t1\t0\t1\n";
const char* const TRUTH_AFFINITIES = "2\t1\t0.1\n3\t2\t0.3\n3\t3\t0.6\n4\t4\t0.01\n";
const char* const TRUTH_INTERACTIONS =
    "1\t0\t1\t0.5\t0\n2\t0\t0\t0.9\t0\n3\t0\t1\t0.5\t0\n4\t0\t0\t0.9\t0\n5\t0\t0\t0.9\t0\n5\t5\t1\t0.2\t1\n";

// The phase-1 dump holds other affinities (they would give a correlation of
// -0.5), the conditioned dump after the last phase others again; a
// perturbation line that also counts EM rounds follows.
const char* const LOG =
    "*** Command line: motifbind -f 6 5\n"
    "****** RunEM without DDI ...\n"
    "*** Start of EM, before round 0. Log joint:\t-150\n"
    "*** (After EM round, Log joint):\t2\t-130\n"
    "*** (After EM round, Log joint):\t5\t-120.5\n"
    "*** Total # EM round and joint prob:\t6\t-120.5\n"
    "****** Potential without conditioning ******\n"
    "***s Motif pair affinity:\n2\t1\t0.9\n3\t2\t0.1\n3\t3\t0.2\n4\t4\t0.3\n***e Motif pair affinity.\n"
    "*** Total # motif pairs:\t4\n*** Leak probability:\t0.001\n"
    "****** PPI observatoin model ******\n*** # models:\t3\n"
    "***s Model info (stat size, ID, type, (param)+):\n"
    "0\t0\tOM_BINARY\t0.97\n0\t1\tOM_BINARY\t0.3\n0\t2\tOM_GAUSSIAN\t0\t1\n***e Model info.\n"
    "****** initializing DDI model ...\n"
    "*** Joint prob:\t-115\n"
    "****** RunEM with DDI ...\n"
    "*** Start of EM, before round 0. Log joint:\t-115\n"
    "*** (After EM round, Log joint):\t2\t-110.25\n"
    "*** Total # EM round and joint prob:\t3\t-110.25\n"
    "****** Potential without conditioning ******\n"
    "***s Motif pair affinity:\n2\t1\t0.2\n3\t2\t0.5\n3\t3\t0.4\n4\t4\t0.9\n***e Motif pair affinity.\n"
    "*** Total # motif pairs:\t4\n*** Leak probability:\t0.001\n"
    "***** Potential conditioned on DDi data *****\n"
    "***s Motif pair affinity:\n2\t1\t0.6\n3\t2\t0.1\n3\t3\t0.2\n4\t4\t0.9\n***e Motif pair affinity.\n"
    "*** Total # motif pairs:\t4\n*** Leak probability:\t0.001\n"
    "****** PPI observatoin model ******\n*** # models:\t3\n"
    "***s Model info (stat size, ID, type, (param)+):\n"
    "0\t0\tOM_BINARY\t1\n0\t1\tOM_BINARY\t0.25\n0\t2\tOM_GAUSSIAN\t0\t1\n***e Model info.\n"
    "****** DDI observatoin model ******\n*** # models:\t1\n"
    "***s Model info (stat size, ID, type, (param)+):\n0\t0\tOM_BINARY\t0.99\n***e Model info.\n"
    "Joint prob before perturbation:\t-110.25\n"
    "*** Total # EM round (Prot1, Mot1, Prot2, EM):\t1\t1\t0\t1\n"
    "*** End of file.\n";

// Posterior non-interaction probabilities; the untested pair (4,1) has none.
const char* const PREDICTIONS =
    "***s Predicted non-interaction probability for protein pairs:\t(1st, 2nd, prob w/o evidence, prob w/ "
    "evidence/H)\n"
    "1\t0\t0.5,0.5\t0.1\n2\t0\t0.9,0.9\t0.8\n3\t0\t0.5,0.5\t0.8\n4\t0\t0.9,0.9\t0.3\n5\t0\t0.9,0.9\t0.9\n"
    "5\t5\t0.2,0.2\t0.05\n4\t1\t0.99,0.99\tH\n"
    "***e Predicted non-interaction probability for protein pairs.\n"
    "***s Binding variable:\t(1st prot, 2nd prot, 1st mot, 2nd mot, mot affinity, P(B=1) w/ evidence/H)\n"
    "***e Binding variable.\n*** End of file.\n";

class Folder {
public:
    Folder()
    {
        Write("protein_motifs.txt", MOTIFS);
        Write("active_motif_pairs.txt", ACTIVE);
        Write("ppi_observations.txt", OBSERVATIONS);
        Write("truth_affinities.txt", TRUTH_AFFINITIES);
        Write("truth_interactions.txt", TRUTH_INTERACTIONS);
        Write("motifbind.log", LOG);
        Write("predictions.txt", PREDICTIONS);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    void Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(path_ / name, std::ios::binary | std::ios::trunc) << text;
    }
    std::string Str() const { return path_.string(); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    testutil::TempDir tmp_;
    const fs::path path_ = tmp_.Path();
};

struct EvalRun {
    int status = 0;
    std::string out;
    std::string err;
};

EvalRun Eval(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    EvalRun r;
    r.status = EvalMain(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

} // namespace

TEST(EvalFolderTest, CountsBindingVariablesAsTheModelDoes)
{
    const Folder f;
    const std::map<PairKey, int> expected{{{2, 1}, 12}, {{3, 2}, 12}, {{3, 3}, 6}, {{4, 4}, 4}};
    EXPECT_EQ(CountBindingVariables(f.Str()), expected);
}

TEST(EvalFolderTest, SummaryOfAFinishedRun)
{
    // Judged motif pairs 2-1, 3-2, 3-3: learned 0.2 0.5 0.4 (ranks 1 3 2)
    // against planted 0.1 0.3 0.6 (ranks 1 2 3); d = 0 1 -1, so
    // rho = 1 - 6 * 2 / (3 * 8) = 0.5.
    // Tested pairs: non-interacting posteriors 0.8 0.3 0.9, interacting 0.1
    // 0.8 0.05. Of the nine (non-interacting, interacting) pairs, 0.8 beats
    // 0.1 and 0.05 and ties 0.8 (2.5), 0.3 beats two (2), 0.9 all three (3):
    // AUC = 7.5 / 9 = 0.833.
    const Folder f;
    const EvalRun r = Eval({f.Str()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "EM without domain-domain evidence: 6 rounds, log joint -120.50\n"
              "EM with domain-domain evidence: 3 rounds, log joint -110.25\n"
              "final log joint: -110.25\n"
              "affinities: rank correlation 0.500 between learned and planted, over 3 of 4 active motif pairs "
              "(those with at least 5 binding variables on observed protein pairs)\n"
              "interactions: ROC AUC 0.833 of the posterior non-interaction probability, over 6 tested protein "
              "pairs (3 interacting, 3 not)\n"
              // By interaction probability 0.95 (5,5) and 0.9 (1,0), both
              // interacting, 0.7 (4,0) not, 0.2 (2,0) not tied with (3,0)
              // interacting, 0.1 (5,0) not: precision 1, 1 and 3/5 where
              // recall rises by a third each: (1 + 1 + 0.6) / 3 = 0.867.
              "interactions: average precision 0.867 for the interacting pairs in the same ranking (0.500 by "
              "chance, their share)\n"
              // Reported: (1,0), (4,0), (5,5); degrees 0:2, 1:1, 4:1, 5:1.
              // Products: (1,0) 2, (4,0) 2, (5,0) 2, (5,5) 1, (2,0) 0, (3,0)
              // 0. Wins of the interacting over the others: (1,0) beats one
              // and ties two (2), (5,5) beats one (1), (3,0) ties one (0.5):
              // 3.5 / 9. Precision 1/3, 1/2 and 1/2 at each third of recall.
              "degree-only baseline: ROC AUC 0.389, average precision 0.444 over the same pairs, ranked by the "
              "product of the two proteins' numbers of reported partners\n"
              // The phase-1 dump: learned 0.9 0.1 0.2 (ranks 3 1 2) against
              // planted ranks 1 2 3, d = 2 -1 -1: rho = 1 - 6 * 6 / 24 = -0.5.
              "affinities after EM without domain-domain evidence: rank correlation -0.500 between learned and "
              "planted, over the same 3 motif pairs\n"
              "affinities after EM with domain-domain evidence: rank correlation 0.500 between learned and "
              "planted, over the same 3 motif pairs\n"
              // Without model files ids are positions: observations name 0
              // (and the Gaussian 2) for pairs that do not interact, 1 (and
              // 3) for those that do. No domain-domain observations: the
              // model's state is unknown.
              "noise models after EM without domain-domain evidence: protein-protein model 0 false-positive rate "
              "0.03, model 1 false-negative rate 0.3\n"
              "noise models after EM with domain-domain evidence: protein-protein model 0 false-positive rate 0, "
              "model 1 false-negative rate 0.25; domain-domain model 0 chance of observing 1 0.01\n");
}

TEST(EvalFolderTest, ModelFilesMapTheIdsThatObservationsNameOntoLoggedPositions)
{
    // File id 1 is position 0 and serves interacting pairs, file id 0 is
    // position 1 and serves the others. In the domain-domain file a mixture
    // (with a component of its own) comes first, so file id 5 is position 1:
    // the one observation names 5 for non-binding and 7 (position 0) for
    // binding motif pairs; the option record names them again.
    const Folder f;
    f.Write("ppi_models.txt", "1 OM_BINARY 0.3\n0 OM_BINARY 0.98\n2\tOM_GAUSSIAN 0 1\n3 OM_GAUSSIAN\n2 1\n");
    f.Write("ddi_models.txt", "7 OM_MIXTURE 50 2\n0.3 OM_BINARY 0.9\n0.7 OM_GAUSSIAN 0 1\n5 OM_BINARY 0.99\n");
    f.Write("ddi_observations.txt", "2 1 1 5 7\n");
    f.Write("ddi_options.txt", "2 0 5 7 4\n");
    const EvalRun r = Eval({f.Str()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("noise models after EM without domain-domain evidence: protein-protein model 0 "
                         "false-negative rate 0.97, model 1 false-positive rate 0.7\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("noise models after EM with domain-domain evidence: protein-protein model 0 "
                         "false-negative rate 1, model 1 false-positive rate 0.75; domain-domain model 0 "
                         "false-negative rate 0.99\n"),
              std::string::npos)
        << r.out;

    // A model named for both states serves neither alone; a model file
    // that names an unknown distribution is refused with its line.
    f.Write("ddi_observations.txt", "2 1 1 5 7\n3 3 0 7 7\n");
    EXPECT_NE(Eval({f.Str()}).out.find("domain-domain model 0 chance of observing 1 0.01\n"), std::string::npos);
    f.Write("ppi_models.txt", "1 OM_BINARY 0.3\n0 OM_POISSON 2\n");
    const EvalRun bad = Eval({f.Str()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "Error: " + f.File("ppi_models.txt") +
                           " line 2: expected a model id, a distribution type and its parameters, got '0' "
                           "'OM_POISSON'\n");
}

TEST(EvalFolderTest, PreparedSetIsScoredOnItsHeldOutPairs)
{
    // Held-out pairs have no observations: the model's prediction without
    // them, the second of the two probabilities, is what ranks them.
    // Not reported: (4,1) 0.99, (2,0) 0.9, (5,5) 0.2; reported: (1,0) and
    // (3,0) 0.5. Of the six (not, reported) pairs 0.99 and 0.9 win both,
    // 0.2 none: AUC = 4 / 6.
    const Folder f;
    fs::remove(f.File("truth_affinities.txt"));
    fs::remove(f.File("truth_interactions.txt"));
    f.Write("truth_holdout.txt", "4\t1\t0\n2\t0\t0\n5\t5\t0\n1\t0\t1\n3\t0\t1\n");
    f.Write("predictions.txt",
            "***s Predicted non-interaction probability for protein pairs:\t(1st, 2nd, prob w/o evidence, prob w/ "
            "evidence/H)\n"
            "1\t0\t0.9,0.5\tH\n2\t0\t0.1,0.9\tH\n3\t0\t0.9,0.5\tH\n5\t5\t0.9,0.2\tH\n4\t1\t0.1,0.99\tH\n"
            "***e Predicted non-interaction probability for protein pairs.\n*** End of file.\n");
    const EvalRun r = Eval({f.Str()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "EM without domain-domain evidence: 6 rounds, log joint -120.50\n"
              "EM with domain-domain evidence: 3 rounds, log joint -110.25\n"
              "final log joint: -110.25\n"
              "interactions: ROC AUC 0.667 of the predicted non-interaction probability (without the pair's own "
              "observations), over 5 held-out protein pairs (2 reported, 3 not)\n"
              // (5,5) first and not reported, then the two reported pairs
              // tied: precision 2/3 for all the recall.
              "interactions: average precision 0.667 for the reported pairs in the same ranking (0.400 by "
              "chance, their share)\n"
              // Products (1,0) 2, (4,1) 1, (5,5) 1, (2,0) 0, (3,0) 0: (1,0)
              // beats all three, (3,0) ties one: 3.5 / 6; precision 1 at
              // half the recall, 2/5 at the rest.
              "degree-only baseline: ROC AUC 0.583, average precision 0.700 over the same pairs, ranked by the "
              "product of the two proteins' numbers of reported partners\n"
              // No planted affinities to rank, but the noise models still.
              "noise models after EM without domain-domain evidence: protein-protein model 0 false-positive rate "
              "0.03, model 1 false-negative rate 0.3\n"
              "noise models after EM with domain-domain evidence: protein-protein model 0 false-positive rate 0, "
              "model 1 false-negative rate 0.25; domain-domain model 0 chance of observing 1 0.01\n");

    f.Write("truth_holdout.txt", "4\t1\t0\n6\t0\t1\n");
    EXPECT_EQ(Eval({f.Str()}).err,
              "Error: " + f.File("predictions.txt") + ": no prediction for held-out protein pair 6 0\n");
}

TEST(EvalFolderTest, BadOrMissingFilesGiveOneErrorLine)
{
    {
        const Folder f;
        fs::remove(f.File("predictions.txt"));
        const EvalRun r = Eval({f.Str()});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "Error: cannot open " + f.File("predictions.txt") +
                             ": No such file or directory; expected a readable file\n");
    }
    {
        // A tested pair predicted without observations.
        const Folder f;
        std::string text = PREDICTIONS;
        text.replace(text.find("0.2,0.2\t0.05"), 12, "0.2,0.2\tH");
        f.Write("predictions.txt", text);
        const EvalRun r = Eval({f.Str()});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "Error: " + f.File("predictions.txt") + ": no posterior for tested protein pair 5 5\n");
    }
    {
        // A run that stopped right after its last EM phase.
        const Folder f;
        const std::string log = LOG;
        f.Write("motifbind.log", log.substr(0, log.rfind("*** Total # EM round and joint prob:")) +
                                     "*** Total # EM round and joint prob:\t3\t-110.25\n");
        const EvalRun r = Eval({f.Str()});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "Error: " + f.File("motifbind.log") + ": no learned affinities after the last EM phase\n");
    }
    {
        const Folder f;
        f.Write("truth_affinities.txt", std::string("m1 m2 affinity\n") + TRUTH_AFFINITIES);
        const EvalRun r = Eval({f.Str()});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "Error: " + f.File("truth_affinities.txt") + " line 1: 'm1' in record 1 is not a number\n");
    }
    {
        // An option where the folder belongs is named, then the folder it hides.
        const Folder f;
        EXPECT_EQ(Eval({"--folder", f.Str()}).err, "Error: --folder is not an option (see --help)\n");
        EXPECT_EQ(Eval({"--hepl"}).err, "Error: --hepl is not an option; did you mean --help?\n");
        const EvalRun v = Eval({"--version"});
        EXPECT_EQ(v.status, 0);
        EXPECT_EQ(v.out, std::string("motifbind-eval ") + MOTIFBIND_VERSION + "\n");
    }
    {
        const EvalRun r = Eval({});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.rfind("Error: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("FOLDER"), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

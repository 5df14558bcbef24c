// The prediction file reader: both sections as written, real runs re-read
// line by line here, files cut short anywhere, refused rows.
#include <gtest/gtest.h>

#include <unistd.h>

#include <sstream>

#include "RunFixtures.h"
#include "tools/runfiles/PredictionFile.h"
#include "tools/toolbox/ToolError.h"

namespace {

Predictions FromText(const std::string& text)
{
    std::istringstream in(text);
    return ReadPredictionFile(in, "predictions.txt");
}

// A file of its own per test process: tests may run in parallel.
std::filesystem::path TempFile(const std::string& name)
{
    return std::filesystem::temp_directory_path() / ("motifbind-report-" + std::to_string(getpid()) + "-" + name);
}

std::string ErrorOf(const std::string& text)
{
    try {
        FromText(text);
    } catch (const ToolError& e) {
        return e.what();
    }
    return "";
}

const std::string INTERACTIONS_START =
    "***s Predicted non-interaction probability for protein pairs:\t(1st, 2nd, prob w/o evidence, prob w/ "
    "evidence/H)\n";
const std::string INTERACTIONS_END = "***e Predicted non-interaction probability for protein pairs.\n";
const std::string BINDINGS_START =
    "***s Binding variable:\t(1st prot, 2nd prot, 1st mot, 2nd mot, mot affinity, P(B=1) w/ evidence/H)\n";
const std::string BINDINGS_END = "***e Binding variable.\n";

const std::string FILE_TEXT =
    INTERACTIONS_START + "7\t3\t0.5,0.25\t0.2\n4\t4\t0.9,0.8\tH\n9\t1\t1,1\t1.38945e-12\n" + INTERACTIONS_END +
    BINDINGS_START + "7\t3\t2\t5\t0.5,0.75\t0.8\n4\t4\t1\t1\t0.1,0.1\tH\n" + BINDINGS_END + "*** End of file.\n";

} // namespace

TEST(PredictionFileTest, HandMadeFileGivesBothSections)
{
    const Predictions p = FromText(FILE_TEXT);
    EXPECT_TRUE(p.complete);
    EXPECT_EQ(p.problem, "");
    EXPECT_TRUE(p.hasInteractions && p.interactionsEnded && p.hasBindings && p.bindingsEnded);
    ASSERT_EQ(p.interactions.size(), 3u);
    const InteractionPrediction& r = p.interactions[0];
    EXPECT_EQ(std::to_string(r.line) + " " + std::to_string(r.a) + " " + std::to_string(r.b) + " " + r.qw.text + " " +
                  r.qc.text + " " + r.posterior->text,
              "2 7 3 0.5 0.25 0.2");
    EXPECT_DOUBLE_EQ(r.InteractionProbability(), 0.8);
    // Without observations the model's own prediction, with the
    // domain-domain evidence, ranks the pair.
    EXPECT_FALSE(p.interactions[1].posterior);
    EXPECT_DOUBLE_EQ(p.interactions[1].InteractionProbability(), 0.2);
    EXPECT_EQ(p.interactions[2].posterior->value, 1.38945e-12);

    ASSERT_EQ(p.bindings.size(), 2u);
    const BindingPrediction& b = p.bindings[0];
    EXPECT_EQ(std::to_string(b.line) + " " + std::to_string(b.protein1) + " " + std::to_string(b.protein2) + " " +
                  std::to_string(b.motif1) + " " + std::to_string(b.motif2) + " " + b.affinity.text + " " +
                  b.conditioned.text + " " + b.posterior->text,
              "7 7 3 2 5 0.5 0.75 0.8");
    EXPECT_FALSE(p.bindings[1].posterior);

    // The evaluator's view by pair: the model's prediction with evidence and
    // the posterior.
    const std::filesystem::path tmp = TempFile("predictions.txt");
    std::ofstream(tmp) << FILE_TEXT;
    const auto byPair = ReadPredictions(tmp);
    std::filesystem::remove(tmp);
    ASSERT_EQ(byPair.size(), 3u);
    EXPECT_EQ(byPair.at({7, 3}).prior, 0.25);
    EXPECT_EQ(byPair.at({7, 3}).posterior, 0.2);
    EXPECT_FALSE(byPair.at({4, 4}).posterior);
}

TEST(PredictionFileTest, RealRunsAgreeWithTheirLines)
{
    for (const char* run : {"p1", "p2", "p3"}) {
        SCOPED_TRACE(run);
        const std::filesystem::path path = DataPath(std::string(run) + "/predictions.txt");
        const std::vector<std::string> lines = CompleteLines(FileText(path));
        const Predictions p = ReadPredictionFile(path);
        EXPECT_TRUE(p.complete);
        EXPECT_EQ(p.file, path.string());

        std::size_t i = FindLine(lines, "***s Predicted") + 1;
        std::size_t k = 0;
        for (; !Begins(lines[i], "***e"); ++i, ++k) {
            const std::vector<std::string> f = SplitAt(lines[i], '\t');
            const std::vector<std::string> q = SplitAt(f[2], ',');
            ASSERT_LT(k, p.interactions.size());
            const InteractionPrediction& r = p.interactions[k];
            EXPECT_EQ(r.line, i + 1);
            EXPECT_EQ(std::to_string(r.a), f[0]);
            EXPECT_EQ(std::to_string(r.b), f[1]);
            EXPECT_EQ(r.qw.text, q[0]);
            EXPECT_EQ(r.qc.text, q[1]);
            EXPECT_EQ(r.posterior ? r.posterior->text : "H", f[3]);
            EXPECT_DOUBLE_EQ(r.InteractionProbability(), 1.0 - std::stod(f[3] == "H" ? q[1] : f[3]));
        }
        EXPECT_EQ(k, p.interactions.size());

        // With -p 2 the binding list names motif pairs: no binding section.
        const std::size_t start = FindLine(lines, "***s Binding variable:");
        EXPECT_EQ(p.hasBindings, std::string(run) != "p2");
        EXPECT_EQ(start == lines.size(), !p.hasBindings);
        k = 0;
        for (i = start + 1; i < lines.size() && !Begins(lines[i], "***e"); ++i, ++k) {
            const std::vector<std::string> f = SplitAt(lines[i], '\t');
            const std::vector<std::string> a = SplitAt(f[4], ',');
            ASSERT_LT(k, p.bindings.size());
            const BindingPrediction& r = p.bindings[k];
            EXPECT_EQ(std::to_string(r.protein1) + " " + std::to_string(r.protein2) + " " + std::to_string(r.motif1) +
                          " " + std::to_string(r.motif2),
                      f[0] + " " + f[1] + " " + f[2] + " " + f[3]);
            EXPECT_EQ(r.affinity.text, a[0]);
            EXPECT_EQ(r.conditioned.text, a[1]);
            EXPECT_EQ(r.posterior ? r.posterior->text : "H", f[5]);
        }
        EXPECT_EQ(k, p.bindings.size());
    }
}

TEST(PredictionFileTest, FileCutAnywhereKeepsItsCompleteRows)
{
    const Predictions cut = ReadPredictionFile(DataPath("p1/cut_predictions.txt"));
    EXPECT_FALSE(cut.complete);
    EXPECT_EQ(cut.problem, "the prediction file ends in its binding section, after 2 rows");
    EXPECT_EQ(cut.interactions.size(), 28u);
    EXPECT_TRUE(cut.interactionsEnded);
    EXPECT_FALSE(cut.bindingsEnded);
    ASSERT_EQ(cut.bindings.size(), 2u);

    EXPECT_EQ(FromText("").problem, "the prediction file is empty");
    EXPECT_EQ(FromText(INTERACTIONS_START + "7\t3\t0.5,0.25\t0.2\n").problem,
              "the prediction file ends in its interaction section, after 1 pair");
    EXPECT_EQ(FromText(INTERACTIONS_START + INTERACTIONS_END).problem,
              "the prediction file ends after its interaction section");
    EXPECT_EQ(FromText(INTERACTIONS_START + INTERACTIONS_END + BINDINGS_START + BINDINGS_END).problem,
              "the prediction file ends after its binding section");
    EXPECT_EQ(FromText("***s Predicted non-interaction").problem,
              "the prediction file ends before its interaction section");
    // A row cut in its posterior is left out, not read as a shorter number.
    const Predictions number = FromText(INTERACTIONS_START + "7\t3\t0.5,0.25\t0.2\n9\t1\t1,1\t1.389");
    ASSERT_EQ(number.interactions.size(), 1u);
    EXPECT_EQ(number.problem, "the prediction file ends in its interaction section, after 1 pair");

    const std::string full = FileText(DataPath("p1/predictions.txt"));
    const Predictions whole = FromText(full);
    for (std::size_t end = 0; end + 1 < full.size(); ++end) {
        Predictions p;
        ASSERT_NO_THROW(p = FromText(full.substr(0, end))) << "cut at byte " << end;
        EXPECT_FALSE(p.complete);
        EXPECT_TRUE(Begins(p.problem, "the prediction file ")) << p.problem;
        ASSERT_LE(p.interactions.size(), whole.interactions.size());
        ASSERT_LE(p.bindings.size(), whole.bindings.size());
        if (!p.interactions.empty()) {
            EXPECT_EQ(p.interactions.back().posterior.has_value(),
                      whole.interactions[p.interactions.size() - 1].posterior.has_value());
            EXPECT_EQ(p.interactions.back().qc.text, whole.interactions[p.interactions.size() - 1].qc.text);
        }
    }
    // The closing line without its line break still closes the file.
    EXPECT_TRUE(FromText(full.substr(0, full.size() - 1)).complete);
}

TEST(PredictionFileTest, RefusesMalformedRows)
{
    const auto withRow = [](const std::string& row) { return INTERACTIONS_START + row + "\n" + INTERACTIONS_END; };
    const std::string expectedPair =
        "expected protein, protein, two probabilities joined by a comma, and a posterior or H, got ";
    EXPECT_EQ(ErrorOf(withRow("7\t3\t0.5;0.25\t0.2")),
              "predictions.txt line 2: " + expectedPair + "'7\\x093\\x090.5;0.25\\x090.2'");
    EXPECT_EQ(ErrorOf(withRow("7\t3\t0.5,0.25\tnone")),
              "predictions.txt line 2: " + expectedPair + "'7\\x093\\x090.5,0.25\\x09none'");
    EXPECT_EQ(ErrorOf(withRow("7\t-3\t0.5,0.25\t0.2")),
              "predictions.txt line 2: " + expectedPair + "'7\\x09-3\\x090.5,0.25\\x090.2'");
    EXPECT_EQ(ErrorOf(withRow("7\t3\t0.5,0.25")), "predictions.txt line 2: " + expectedPair + "'7\\x093\\x090.5,0.25'");
    EXPECT_EQ(ErrorOf(BINDINGS_START + "7\t3\t2\t5\t0.5\t0.8\n"),
              "predictions.txt line 2: expected protein, protein, motif, motif, two affinities joined by a comma, and "
              "a posterior or H, got '7\\x093\\x092\\x095\\x090.5\\x090.8'");

    // The evaluator needs the whole interaction section.
    const std::filesystem::path tmp = TempFile("cut-predictions.txt");
    for (const auto& [text, message] :
         {std::make_pair(std::string("*** End of file.\n"), std::string(": no predicted non-interaction section")),
          std::make_pair(INTERACTIONS_START + "7\t3\t0.5,0.25\t0.2\n",
                         std::string(": the predicted non-interaction section does not end"))}) {
        std::ofstream(tmp) << text;
        try {
            ReadPredictions(tmp);
            ADD_FAILURE() << "no error for " << text;
        } catch (const ToolError& e) {
            EXPECT_EQ(std::string(e.what()), tmp.string() + message);
        }
    }
    std::filesystem::remove(tmp);
}

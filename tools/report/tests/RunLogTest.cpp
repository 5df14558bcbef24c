// The log reader: every part it gives, on hand-made logs and on real runs
// re-read line by line here; logs cut short anywhere; refused files.
#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <sstream>

#include "RunFixtures.h"
#include "tools/common/RunLog.h"
#include "tools/common/ToolError.h"

namespace {

RunLog FromText(const std::string& text, const std::string& name = "run.log")
{
    std::istringstream in(text);
    return ReadRunLog(in, name);
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

const std::string HEAD = "*** Command line: motifbind -f 10 4 -p 1 ppi.txt\n"
                         "*** # proteins:\t10\n*** # motifs:\t4\nPrior:\t0.1\t1\t0.1\t0.2\npertSize:\t-1\n";

// The dumps of the initial model: not what EM learned.
const std::string INITIAL = "****** Potential without conditioning ******\n"
                            "***s Motif pair affinity:\n1\t0\t0.1\n3\t2\t0.1\n***e Motif pair affinity.\n"
                            "*** Total # motif pairs:\t2\n*** Leak probability:\t0.01\n"
                            "****** PPI observatoin model ******\n*** # models:\t1\n"
                            "***s Model info (stat size, ID, type, (param)+):\n0\t0\tOM_BINARY\t0.98\n***e Model info.\n"
                            "****** DDI observatoin model ******\n*** # models:\t0\n"
                            "***s Model info (stat size, ID, type, (param)+):\n***e Model info.\n"
                            "***********************************************\n*** Initialization done.\n"
                            "***********************************************\n";

const std::string PHASE1 = "****** RunEM without DDI ...\n"
                           "*** Start of EM, before round 0. Log joint:\t-150\n"
                           "*** (After EM round, Log joint):\t2\t-130\n"
                           "*** (After EM round, Log joint):\t5\t-120.5\n"
                           "*** Total # EM round and joint prob:\t6\t-120.5\n"
                           "****** Potential without conditioning ******\n"
                           "***s Motif pair affinity:\n1\t0\t0.9\n3\t2\t0.25\n***e Motif pair affinity.\n"
                           "*** Total # motif pairs:\t2\n*** Leak probability:\t0.002\n"
                           "****** PPI observatoin model ******\n*** # models:\t1\n"
                           "***s Model info (stat size, ID, type, (param)+):\n0\t0\tOM_BINARY\t0.97\n***e Model info.\n";

const std::string DDI_INIT = "****** initializing DDI model ...\n*** Joint prob:\t-115\n"
                             "****** Potential without conditioning ******\n"
                             "***s Motif pair affinity:\n1\t0\t0.8\n3\t2\t0.2\n***e Motif pair affinity.\n"
                             "*** Total # motif pairs:\t2\n*** Leak probability:\t0.002\n"
                             "****** Potential conditioned on DDI data ******\n"
                             "***s Motif pair affinity:\n1\t0\t0.85\n3\t2\t0.2\n***e Motif pair affinity.\n"
                             "*** Total # motif pairs:\t2\n*** Leak probability:\t0.002\n";

// The final model dumps: a mixture whose second component is a mixture of
// its own, and a domain-domain set.
const std::string PHASE2 = "****** RunEM with DDI ...\n"
                           "*** Start of EM, before round 0. Log joint:\t-115\n"
                           "*** (After EM round, Log joint):\t2\t-110.25\n"
                           "*** Total # EM round and joint prob:\t3\t-110.25\n"
                           "****** Potential without conditioning ******\n"
                           "***s Motif pair affinity:\n1\t0\t0.2\n3\t2\t1e-05\n***e Motif pair affinity.\n"
                           "*** Total # motif pairs:\t2\n*** Leak probability:\t0.003\n"
                           "***** Potential conditioned on DDi data *****\n"
                           "***s Motif pair affinity:\n1\t0\t0.6\n3\t2\t2e-05\n***e Motif pair affinity.\n"
                           "*** Total # motif pairs:\t2\n*** Leak probability:\t0.0031\n"
                           "****** PPI observatoin model ******\n*** # models:\t3\n"
                           "***s Model info (stat size, ID, type, (param)+):\n"
                           "0\t0\tOM_BINARY\t0.96\n"
                           "12\t1\tOM_GAUSSIAN\t-0.5\t1.25\n"
                           "0\t2\tOM_MIXTURE\t50\t2\n"
                           "0.3\tOM_BINARY\t0.9\n"
                           "0.7\tOM_MIXTURE\t10\t1\n"
                           "1\tOM_EXPONENTIAL\t2\t1\t0.5\n"
                           "***e Model info.\n"
                           "****** DDI observatoin model ******\n*** # models:\t1\n"
                           "***s Model info (stat size, ID, type, (param)+):\n0\t0\tOM_UNIFORM\t0\t1\t3\n***e Model info.\n";

std::string Type1Cycle(const std::string& ids, const std::string& v)
{
    return "*** SetNonBind (prot1, mot1, prob2, numLeak, numNBLeak, numActLeak):\t" + ids + "\t22\t2\t20\n" +
           "*** Non-interaction probability after forcing an active motif and a protein to be non-binding (Prot1, "
           "Mot1, Prot2, Prob):\t" +
           ids + "\t0.7" + v + "\n" +
           "*** Likelihood change after forcing an active motif and a protein to be non-binding (Prot1, Mot1, Prot2, "
           "Prob):\t" +
           ids + "\t-inf\n" + "*** Total # EM round (Prot1, Mot1, Prot2, EM):\t" + ids + "\t4\n" +
           "*** Non-interaction probability after reconverge (Prot1, Mot1, Prot2, Prob):\t" + ids + "\t0.6" + v +
           "\n" + "*** Likelihood change after reconverge (Prot1, Mot1, Prot2, Prob):\t" + ids + "\t-1." + v + "\n";
}

const std::string COMPLETE = HEAD + INITIAL + PHASE1 + DDI_INIT + PHASE2 + "Joint prob before perturbation:\t-110.25\n" +
                             Type1Cycle("7\t2\t3", "1") + Type1Cycle("3\t0\t7", "2") + "*** End of file.\n";

} // namespace

TEST(RunLogTest, HandMadeLogGivesEveryPart)
{
    const RunLog log = FromText(COMPLETE);
    EXPECT_EQ(log.file, "run.log");
    EXPECT_EQ(log.commandLine, "motifbind -f 10 4 -p 1 ppi.txt");
    EXPECT_TRUE(log.complete);
    EXPECT_EQ(log.problem, "");

    ASSERT_EQ(log.phases.size(), 2u);
    const EmPhase& p1 = log.phases[0];
    EXPECT_EQ(p1.label, "without domain-domain evidence");
    EXPECT_EQ(p1.startLogJoint, -150.0);
    ASSERT_EQ(p1.checks.size(), 2u);
    EXPECT_EQ(p1.checks[0].round, 2);
    EXPECT_EQ(p1.checks[0].logJoint, -130.0);
    EXPECT_EQ(p1.checks[1].round, 5);
    EXPECT_EQ(p1.checks[1].logJoint, -120.5);
    EXPECT_TRUE(p1.finished);
    EXPECT_EQ(p1.rounds, 6);
    EXPECT_EQ(p1.logJoint, -120.5);
    const EmPhase& p2 = log.phases[1];
    EXPECT_EQ(p2.label, "with domain-domain evidence");
    EXPECT_EQ(p2.startLogJoint, -115.0);
    ASSERT_EQ(p2.checks.size(), 1u);
    EXPECT_TRUE(p2.finished);
    EXPECT_EQ(p2.rounds, 3);
    EXPECT_EQ(p2.logJoint, -110.25);
    EXPECT_EQ(log.LastFinishedPhase(), &log.phases[1]);
    EXPECT_EQ(log.ddiStartLogJoint, -115.0);

    // The dumps after the last phase, not the initial ones nor those of the
    // round that brings the domain-domain model in.
    ASSERT_TRUE(log.learned.present);
    EXPECT_TRUE(log.learned.ended);
    ASSERT_EQ(log.learned.affinities.size(), 2u);
    EXPECT_EQ(log.learned.affinities.at({1, 0}).text, "0.2");
    EXPECT_EQ(log.learned.affinities.at({3, 2}).text, "1e-05");
    EXPECT_EQ(log.learned.affinities.at({3, 2}).value, 1e-05);
    ASSERT_TRUE(log.learned.leak);
    EXPECT_EQ(log.learned.leak->text, "0.003");
    ASSERT_TRUE(log.conditioned.present);
    EXPECT_EQ(log.conditioned.affinities.at({1, 0}).text, "0.6");
    EXPECT_EQ(log.conditioned.affinities.at({3, 2}).text, "2e-05");
    EXPECT_EQ(log.conditioned.leak->text, "0.0031");

    ASSERT_TRUE(log.ppiModels.present);
    ASSERT_EQ(log.ppiModels.models.size(), 3u);
    const LoggedModel& g = log.ppiModels.models[1];
    EXPECT_EQ(g.statSize, 12);
    EXPECT_EQ(g.id, 1);
    EXPECT_EQ(g.type, "OM_GAUSSIAN");
    ASSERT_EQ(g.params.size(), 2u);
    EXPECT_EQ(g.params[0].text, "-0.5");
    EXPECT_EQ(g.params[1].value, 1.25);
    const LoggedModel& mix = log.ppiModels.models[2];
    EXPECT_EQ(mix.type, "OM_MIXTURE");
    ASSERT_EQ(mix.params.size(), 2u);
    EXPECT_EQ(mix.params[1].text, "2");
    ASSERT_EQ(mix.components.size(), 3u);
    EXPECT_EQ(mix.components[0].weight.text, "0.3");
    EXPECT_EQ(mix.components[0].type, "OM_BINARY");
    EXPECT_EQ(mix.components[1].type, "OM_MIXTURE");
    EXPECT_EQ(mix.components[2].type, "OM_EXPONENTIAL");
    ASSERT_EQ(mix.components[2].params.size(), 3u);
    EXPECT_EQ(mix.components[2].params[2].text, "0.5");
    EXPECT_TRUE(log.ppiModels.models[0].components.empty());
    ASSERT_EQ(log.ddiModels.models.size(), 1u);
    EXPECT_EQ(log.ddiModels.models[0].type, "OM_UNIFORM");
    EXPECT_EQ(log.ddiModels.models[0].params[2].text, "3");

    ASSERT_TRUE(log.jointBeforePerturbation);
    EXPECT_EQ(log.jointBeforePerturbation->value, -110.25);

    ASSERT_EQ(log.perturbations.size(), 2u);
    EXPECT_EQ(log.CompleteCycles(), 2u);
    const PerturbationCycle& c = log.perturbations[0];
    EXPECT_EQ(c.analysis, 1);
    EXPECT_TRUE(c.complete);
    EXPECT_EQ(c.protein1, 7);
    EXPECT_EQ(c.motif1, 2);
    EXPECT_EQ(c.protein2, 3);
    EXPECT_EQ(c.motif2, -1);
    EXPECT_EQ(c.what, "motif 2 of protein 7 with protein 3");
    std::vector<std::string> names;
    std::string texts;
    for (const auto& [name, x] : c.values) {
        names.push_back(name);
        texts += x.text + " ";
    }
    EXPECT_EQ(names, PerturbationColumns(1));
    EXPECT_EQ(texts, "7 2 3 22 2 20 0.71 -inf 4 0.61 -1.1 ");
    EXPECT_EQ(c.Value("likelihood_change_forced")->value, -std::numeric_limits<double>::infinity());
    EXPECT_EQ(c.Value("num_nb_leak")->value, 2.0);
    EXPECT_EQ(c.Value("no_such_value"), nullptr);
    ASSERT_TRUE(c.effect);
    EXPECT_EQ(c.effect->text, "-1.1");
    EXPECT_EQ(log.perturbations[1].what, "motif 0 of protein 3 with protein 7");
    EXPECT_EQ(log.perturbations[1].effect->text, "-1.2");
}

TEST(RunLogTest, EachAnalysisHasItsValuesAndItsEffect)
{
    // Every value differs, so that a wrong pick shows. The effect is the
    // change of the log joint once EM re-converged.
    const std::string type2 =
        "*** Likelihood change after forcing a pair of motif types to be non-binding (Mot1, Mot2, Prob):\t3\t1\t-3\n"
        "*** Positive likelihood after forcing a pair of motif types to be non-binding (Mot1, Mot2, Prob):\t3\t1\t-4\n"
        "*** Total # EM round (Mot1, Mot2, EM):\t3\t1\t7\n"
        "*** Likelihood change after reconverge (Mot1, Mot2, Prob):\t3\t1\t-1.5\n"
        "*** Positive likelihood after reconverge (Mot1, Mot2, Prob):\t3\t1\t-2.5\n";
    const RunLog two = FromText(HEAD + PHASE1 + "Joint prob before perturbation:\t-1\n" + type2 + type2 +
                                "*** End of file.\n");
    // A motif-type pair listed twice is perturbed twice.
    ASSERT_EQ(two.perturbations.size(), 2u);
    const PerturbationCycle& t = two.perturbations[1];
    EXPECT_EQ(t.analysis, 2);
    EXPECT_TRUE(t.complete);
    EXPECT_EQ(t.motif1, 3);
    EXPECT_EQ(t.motif2, 1);
    EXPECT_EQ(t.protein1, -1);
    EXPECT_EQ(t.what, "motif types 3 and 1");
    EXPECT_EQ(t.Value("positive_likelihood_forced")->text, "-4");
    EXPECT_EQ(t.Value("positive_likelihood_reconverged")->text, "-2.5");
    EXPECT_EQ(t.Value("em_rounds")->value, 7.0);
    EXPECT_EQ(t.effect->text, "-1.5");
    EXPECT_EQ(t.values.size(), PerturbationColumns(2).size());

    const std::string ids = "\t6\t1\t5\t2\t";
    const std::string type3 =
        "*** Non-interaction probability after forcing an active motif and a protein to be non-binding (Prot1, Mot1, "
        "Prot2, Mot2, Prob):" +
        ids + "0.75\n" +
        "*** Likelihood change after forcing an active motif and a protein to be non-binding (Prot1, Mot1, Prot2, "
        "Mot2, Prob):" +
        ids + "-0.005\n" + "*** Total # EM round (Prot1, Mot1, Prot2, Mot2, EM):" + ids + "2\n" +
        "*** Non-interaction probability after reconverge (Prot1, Mot1, Prot2, Mot2, Prob):" + ids + "0.74\n" +
        "*** Likelihood change after reconverge (Prot1, Mot1, Prot2, Mot2, Prob):" + ids + "-0.004\n";
    const RunLog three = FromText(HEAD + PHASE1 + "Joint prob before perturbation:\t-1\n" + type3 + "*** End of file.\n");
    ASSERT_EQ(three.perturbations.size(), 1u);
    const PerturbationCycle& m = three.perturbations[0];
    EXPECT_EQ(m.analysis, 3);
    EXPECT_TRUE(m.complete);
    EXPECT_EQ(m.what, "motif 1 of protein 6 with motif 2 of protein 5");
    EXPECT_EQ(m.Value("non_interaction_forced")->text, "0.75");
    EXPECT_EQ(m.Value("likelihood_change_forced")->text, "-0.005");
    EXPECT_EQ(m.Value("non_interaction_reconverged")->text, "0.74");
    EXPECT_EQ(m.effect->text, "-0.004");
    EXPECT_EQ(m.values.size(), PerturbationColumns(3).size());
    EXPECT_TRUE(PerturbationColumns(4).empty());

    // Lines of a cycle go together while their ids agree and they come in
    // order; a lone line is a cycle of its own, without an effect.
    const RunLog odd = FromText(HEAD + PHASE1 + "Joint prob before perturbation:\t-1\n" +
                                "*** Total # EM round (Prot1, Mot1, Prot2, EM):\t1\t1\t0\t1\n" +
                                "*** Total # EM round (Prot1, Mot1, Prot2, EM):\t1\t2\t0\t1\n" +
                                "*** Likelihood change after reconverge (Prot1, Mot1, Prot2, Prob):\t1\t2\t0\t-2\n" +
                                "*** Total # EM round (Prot1, Mot1, Prot2, EM):\t1\t2\t0\t3\n" + "*** End of file.\n");
    ASSERT_EQ(odd.perturbations.size(), 3u);
    EXPECT_FALSE(odd.perturbations[0].complete);
    EXPECT_FALSE(odd.perturbations[0].effect);
    EXPECT_EQ(odd.perturbations[1].values.size(), 5u);
    EXPECT_EQ(odd.perturbations[1].effect->text, "-2");
    EXPECT_EQ(odd.perturbations[2].Value("em_rounds")->text, "3");
    EXPECT_EQ(odd.CompleteCycles(), 0u);
    EXPECT_TRUE(odd.complete);
}

TEST(RunLogTest, RefusesFilesThatAreNoLogAndLinesThatAreMalformed)
{
    EXPECT_EQ(ErrorOf(""), "run.log is empty: not a motifbind log (its first line echoes the command line)");
    EXPECT_EQ(ErrorOf("***s Predicted non-interaction probability for protein pairs:\n"),
              "run.log: not a motifbind log (its first line does not start with \"*** Command line: \")");
    EXPECT_EQ(ErrorOf("# proteins 3\n*** Command line: motifbind\n"),
              "run.log: not a motifbind log (its first line does not start with \"*** Command line: \")");
    try {
        ReadRunLog(DataPath("no-such.log"));
        ADD_FAILURE() << "no error for a missing file";
    } catch (const ToolError& e) {
        EXPECT_EQ(std::string(e.what()), "cannot open " + DataPath("no-such.log").string());
    }

    // A complete line that does not hold what its kind of line carries:
    // the file, the line and the text, whether or not the log is complete.
    const std::string phase = HEAD + PHASE1;
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = phase;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    EXPECT_EQ(ErrorOf(replaced("3\t2\t0.25\n", "3\t2\tabout 0.25\n")),
              "run.log line 14: expected motif, motif and affinity, got 'about 0.25'");
    EXPECT_EQ(ErrorOf(replaced("3\t2\t0.25\n", "3\t2\n")), "run.log line 14: expected motif, motif and affinity, got '3?2'");
    EXPECT_EQ(ErrorOf(replaced("3\t2\t0.25\n", "3.5\t2\t0.25\n")),
              "run.log line 14: expected motif, motif and affinity, got '3.5'");
    EXPECT_EQ(ErrorOf(replaced("Log joint):\t5\t-120.5", "Log joint):\t5\t-120.5x")),
              "run.log line 9: expected EM round and log joint, got '-120.5x'");
    EXPECT_EQ(ErrorOf(replaced("prob:\t6\t-120.5", "prob:\t-120.5")),
              "run.log line 10: expected the number of EM rounds and the log joint, got '-120.5'");
    EXPECT_EQ(ErrorOf(replaced("0\t0\tOM_BINARY\t0.97", "0\t0\tOM_BINARY\t0,97")),
              "run.log line 21: expected stat size, model id, type and parameters, or a mixture component's weight, "
              "type and parameters, got '0,97'");
    EXPECT_EQ(ErrorOf(replaced("0\t0\tOM_BINARY\t0.97", "0.5\tOM_BINARY\t0.97")),
              "run.log line 21: expected stat size, model id, type and parameters, or a mixture component's weight, "
              "type and parameters, got '0.5?OM_BINARY?0.97'");
    EXPECT_EQ(ErrorOf(replaced("*** Total # motif pairs:\t2", "*** Total # motif pairs:\t3")),
              "run.log line 16: expected 2, the number of motif pairs in the dump above, got '3'");
    EXPECT_EQ(ErrorOf(replaced("*** # models:\t1", "*** # models:\t2")),
              "run.log line 22: the dump ends after 1 models; expected 2, as its count line says");
    EXPECT_EQ(ErrorOf(phase + "Joint prob before perturbation:\t-1\n" +
                      "*** Total # EM round (Prot1, Mot1, Prot2, EM):\t1\t1\t0\t1.5\n"),
              "run.log line 24: expected protein_1, motif_1, protein_2, em_rounds, got '1.5'");
    EXPECT_EQ(ErrorOf(phase + "Joint prob before perturbation:\t-1\n" +
                      "*** Likelihood change after reconverge (Mot1, Mot2, Prob):\t1\t0\n"),
              "run.log line 24: expected motif_1, motif_2, likelihood_change_reconverged, got '1?0'");
    EXPECT_EQ(ErrorOf(phase + "Joint prob before perturbation:\tnone\n"),
              "run.log line 23: expected the log joint, got 'none'");
}

TEST(RunLogTest, CutShortLogSaysWhereItStops)
{
    // Cut in a number: the cut line is left out, not read as a shorter
    // number.
    const RunLog em = ReadRunLog(DataPath("p1/cut_in_em.log"));
    EXPECT_FALSE(em.complete);
    EXPECT_EQ(em.problem, "the log ends during EM phase 2, after round 5");
    ASSERT_EQ(em.phases.size(), 2u);
    EXPECT_TRUE(em.phases[0].finished);
    EXPECT_FALSE(em.phases[1].finished);
    ASSERT_EQ(em.phases[1].checks.size(), 2u);
    EXPECT_EQ(em.phases[1].checks[1].logJoint, 44.2794836873239);
    // The affinities of the last finished phase, the first: it dumps no
    // conditioned copy.
    const std::vector<std::string> lines = CompleteLines(FileText(DataPath("p1/motifbind.log")));
    const std::size_t dump = FindLine(lines, "***s Motif pair affinity:", FindLine(lines, "*** Total # EM round and"));
    ASSERT_TRUE(em.learned.present);
    EXPECT_EQ(em.learned.line, dump + 1);
    const std::vector<std::string> row = SplitAt(lines[dump + 1], '\t');
    EXPECT_EQ(em.learned.affinities.at({std::stoi(row[0]), std::stoi(row[1])}).text, row[2]);
    EXPECT_FALSE(em.conditioned.present);
    EXPECT_EQ(em.perturbations.size(), 0u);

    const RunLog pert = ReadRunLog(DataPath("p1/cut_in_perturbation.log"));
    EXPECT_FALSE(pert.complete);
    EXPECT_EQ(pert.problem, "the log ends during the perturbation analysis, after 3 cycles");
    ASSERT_EQ(pert.perturbations.size(), 4u);
    EXPECT_FALSE(pert.perturbations[3].complete);
    EXPECT_EQ(pert.perturbations[3].values.size(), 9u);  // 3 ids and the values of 4 lines
    EXPECT_FALSE(pert.perturbations[3].effect);
    EXPECT_TRUE(pert.conditioned.present);

    // Cut right after a landmark line of each stage.
    const std::string full = FileText(DataPath("p1/motifbind.log"));
    const auto cutAfter = [&](std::size_t line) {
        std::string text;
        for (std::size_t i = 0; i <= line; ++i) {
            text += lines[i] + "\n";
        }
        return FromText(text).problem;
    };
    EXPECT_EQ(cutAfter(0), "the log ends before EM starts");
    EXPECT_EQ(cutAfter(FindLine(lines, "****** RunEM")), "the log ends during EM phase 1, before its first check");
    EXPECT_EQ(cutAfter(FindLine(lines, "*** Total # EM round and")),
              "the log ends after EM phase 1, while the model it learned is written");
    EXPECT_EQ(cutAfter(FindLine(lines, "****** initializing DDI model")),
              "the log ends while the domain-domain model is brought in, after EM phase 1");
    EXPECT_EQ(cutAfter(FindLastLine(lines, "*** Total # EM round and")),
              "the log ends after EM phase 2, while the model it learned is written");
    EXPECT_EQ(cutAfter(FindLastLine(lines, "***e Model info.")), "the log ends after training, before the perturbation analysis");
    EXPECT_EQ(cutAfter(FindLine(lines, "Joint prob before perturbation")),
              "the log ends during the perturbation analysis, after 0 cycles");
    EXPECT_EQ(cutAfter(FindLine(lines, "Joint prob before perturbation") + 6),
              "the log ends during the perturbation analysis, after 1 cycle");
    // Only the command line, itself cut.
    EXPECT_EQ(FromText(lines[0].substr(0, 30)).problem, "the log ends in its first line");
    EXPECT_EQ(FromText(lines[0].substr(0, 30)).commandLine, lines[0].substr(18, 12));
    // The closing line without its line break still closes the log.
    EXPECT_TRUE(FromText(full.substr(0, full.size() - 1)).complete);
}

TEST(RunLogTest, LogCutAnywhereNeverFails)
{
    for (const char* run : {"p1", "p2", "p3"}) {
        const std::string full = FileText(DataPath(std::string(run) + "/motifbind.log"));
        const RunLog whole = FromText(full);
        ASSERT_TRUE(whole.complete) << run;
        // At every line end, and in the middle of every line.
        for (std::size_t nl = full.find('\n'); nl != std::string::npos; nl = full.find('\n', nl + 1)) {
            const std::size_t lineStart = full.rfind('\n', nl - 1) + 1;
            for (const std::size_t end : {nl + 1, lineStart + (nl - lineStart) / 2}) {
                if (end == 0 || end >= full.size()) {
                    continue;
                }
                RunLog cut;
                ASSERT_NO_THROW(cut = FromText(full.substr(0, end))) << run << " cut at byte " << end;
                EXPECT_FALSE(cut.complete) << run << " cut at byte " << end;
                EXPECT_TRUE(Begins(cut.problem, "the log ends ")) << cut.problem;
                EXPECT_LE(cut.phases.size(), whole.phases.size());
                EXPECT_LE(cut.perturbations.size(), whole.perturbations.size());
                EXPECT_LE(cut.learned.affinities.size(), whole.learned.affinities.size());
                if (!cut.perturbations.empty()) {
                    // What was read of the last cycle agrees with the whole log.
                    const PerturbationCycle& c = cut.perturbations.back();
                    const PerturbationCycle& w = whole.perturbations[cut.perturbations.size() - 1];
                    ASSERT_LE(c.values.size(), w.values.size());
                    for (std::size_t i = 0; i < c.values.size(); ++i) {
                        EXPECT_EQ(c.values[i].second.text, w.values[i].second.text);
                    }
                }
            }
        }
    }
}

TEST(RunLogTest, RealRunsAgreeWithTheirLogLines)
{
    const std::size_t LINES_PER_CYCLE[] = {6, 5, 5};
    for (int p = 1; p <= 3; ++p) {
        const std::string run = "p" + std::to_string(p);
        SCOPED_TRACE(run);
        const std::vector<std::string> lines = CompleteLines(FileText(DataPath(run + "/motifbind.log")));
        const RunLog log = ReadRunLog(DataPath(run + "/motifbind.log"));
        EXPECT_TRUE(log.complete);
        EXPECT_EQ(log.file, DataPath(run + "/motifbind.log").string());
        EXPECT_EQ(std::string("*** Command line: ") + log.commandLine, lines[0]);
        EXPECT_NE(log.commandLine.find("-p " + std::to_string(p)), std::string::npos);

        // Phases: the checks between each banner and its summary.
        ASSERT_EQ(log.phases.size(), 2u);
        std::size_t at = 0;
        for (const EmPhase& phase : log.phases) {
            at = FindLine(lines, "****** RunEM", at) + 1;
            EXPECT_EQ(phase.startLogJoint, std::stod(SplitAt(lines[at], '\t')[1]));
            std::size_t k = 0;
            for (++at; Begins(lines[at], "*** (After EM round"); ++at, ++k) {
                ASSERT_LT(k, phase.checks.size());
                const std::vector<std::string> f = SplitAt(lines[at], '\t');
                EXPECT_EQ(phase.checks[k].round, std::stoi(f[1]));
                EXPECT_EQ(phase.checks[k].logJoint, std::stod(f[2]));
            }
            EXPECT_EQ(k, phase.checks.size());
            const std::vector<std::string> summary = SplitAt(lines[at], '\t');
            ASSERT_EQ(summary[0], "*** Total # EM round and joint prob:");
            EXPECT_TRUE(phase.finished);
            EXPECT_EQ(phase.rounds, std::stoi(summary[1]));
            EXPECT_EQ(phase.logJoint, std::stod(summary[2]));
        }

        // The two dumps that follow the last summary.
        const auto dumpAfter = [&](std::size_t from) {
            std::map<std::pair<int, int>, std::string> rows;
            std::size_t i = FindLine(lines, "***s Motif pair affinity:", from) + 1;
            for (; lines[i] != "***e Motif pair affinity."; ++i) {
                const std::vector<std::string> f = SplitAt(lines[i], '\t');
                rows[{std::stoi(f[0]), std::stoi(f[1])}] = f[2];
            }
            return std::make_pair(rows, SplitAt(lines[i + 2], '\t')[1]);
        };
        const std::size_t last = FindLastLine(lines, "*** Total # EM round and joint prob:");
        for (const auto& [potentials, banner] :
             {std::make_pair(&log.learned, "****** Potential without conditioning ******"),
              std::make_pair(&log.conditioned, "***** Potential conditioned on DDi data *****")}) {
            const auto [rows, leak] = dumpAfter(FindLine(lines, banner, last));
            ASSERT_EQ(potentials->affinities.size(), rows.size());
            for (const auto& [pair, text] : rows) {
                EXPECT_EQ(potentials->affinities.at(pair).text, text);
            }
            EXPECT_EQ(potentials->leak->text, leak);
        }

        // The last dump of each model set, field by field.
        for (const auto& [set, banner] : {std::make_pair(&log.ppiModels, "****** PPI observatoin model ******"),
                                          std::make_pair(&log.ddiModels, "****** DDI observatoin model ******")}) {
            std::size_t i = FindLastLine(lines, banner);
            EXPECT_EQ(std::to_string(set->models.size()), SplitAt(lines[i + 1], '\t')[1]);
            std::size_t model = 0;
            std::size_t component = 0;
            for (i += 3; lines[i] != "***e Model info."; ++i) {
                const std::vector<std::string> f = SplitAt(lines[i], '\t');
                if (Begins(f[1], "OM_")) {
                    const LoggedComponent& c = set->models.at(model - 1).components.at(component++);
                    EXPECT_EQ(c.weight.text, f[0]);
                    EXPECT_EQ(c.type, f[1]);
                    ASSERT_EQ(c.params.size(), f.size() - 2);
                    for (std::size_t j = 2; j < f.size(); ++j) {
                        EXPECT_EQ(c.params[j - 2].text, f[j]);
                    }
                    continue;
                }
                const LoggedModel& m = set->models.at(model++);
                component = 0;
                EXPECT_EQ(std::to_string(m.statSize), f[0]);
                EXPECT_EQ(std::to_string(m.id), f[1]);
                EXPECT_EQ(m.type, f[2]);
                ASSERT_EQ(m.params.size(), f.size() - 3);
                for (std::size_t j = 3; j < f.size(); ++j) {
                    EXPECT_EQ(m.params[j - 3].text, f[j]);
                }
            }
            EXPECT_EQ(model, set->models.size());
        }
        if (p == 1) {
            ASSERT_EQ(log.ppiModels.models.size(), 4u);
            EXPECT_EQ(log.ppiModels.models[3].type, "OM_MIXTURE");
            EXPECT_EQ(log.ppiModels.models[3].components.size(), 2u);
        }

        // Cycles: fixed groups of lines after the joint before perturbation,
        // the ids once, then the values of each line; the effect is the last
        // value of the line on the change after re-convergence.
        const std::size_t before = FindLine(lines, "Joint prob before perturbation:");
        EXPECT_EQ(log.jointBeforePerturbation->text, SplitAt(lines[before], '\t')[1]);
        const std::size_t per = LINES_PER_CYCLE[p - 1];
        const std::size_t ids = p == 1 ? 3 : p == 2 ? 2 : 4;
        const std::size_t cycleLines = lines.size() - 2 - before;
        ASSERT_EQ(cycleLines % per, 0u);
        ASSERT_EQ(log.perturbations.size(), cycleLines / per);
        ASSERT_GT(log.perturbations.size(), 0u);
        for (std::size_t c = 0; c < log.perturbations.size(); ++c) {
            const PerturbationCycle& cycle = log.perturbations[c];
            EXPECT_EQ(cycle.analysis, p);
            EXPECT_TRUE(cycle.complete);
            EXPECT_EQ(cycle.line, before + 2 + c * per);
            std::vector<std::string> expected;
            std::string effect;
            for (std::size_t l = 0; l < per; ++l) {
                const std::vector<std::string> f = SplitAt(lines[before + 1 + c * per + l], '\t');
                expected.insert(expected.end(), f.begin() + 1 + (l == 0 ? 0 : static_cast<long>(ids)), f.end());
                if (Begins(f[0], "*** Likelihood change after reconverge")) {
                    effect = f.back();
                }
            }
            ASSERT_EQ(cycle.values.size(), expected.size());
            for (std::size_t v = 0; v < expected.size(); ++v) {
                EXPECT_EQ(cycle.values[v].second.text, expected[v]) << "cycle " << c << " value " << v;
            }
            EXPECT_EQ(cycle.effect->text, effect);
            const std::vector<std::string> first = SplitAt(lines[before + 1 + c * per], '\t');
            EXPECT_EQ(cycle.motif1, std::stoi(first[p == 2 ? 1 : 2]));
        }
    }
}

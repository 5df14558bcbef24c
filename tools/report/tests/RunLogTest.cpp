// The log reader: every part it gives, on hand-made logs and on real runs
// re-read line by line here; logs cut short anywhere; refused files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <limits>
#include <sstream>

#include <zlib.h>

#include "RunFixtures.h"
#include "tools/runfiles/RunLog.h"
#include "tools/toolbox/Numbers.h"
#include "tools/toolbox/ToolError.h"

namespace {

RunLog FromText(const std::string& text)
{
    std::istringstream in(text);
    return ReadRunLog(in, "run.log");
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

std::string Joined(const std::vector<std::string>& parts, const char* sep)
{
    std::string s;
    for (const std::string& p : parts) {
        s += (s.empty() ? "" : sep) + p;
    }
    return s;
}

std::string Texts(const std::vector<LoggedNumber>& xs)
{
    std::vector<std::string> parts;
    for (const LoggedNumber& x : xs) {
        parts.push_back(x.text);
    }
    return Joined(parts, " ");
}

// What the reader gave, as the log's own lines read with tabs turned into
// blanks and " | " between lines.
std::string Summary(const EmPhase& p)
{
    std::vector<std::string> parts = {p.label, p.startLogJoint ? RealText(*p.startLogJoint) : "-"};
    for (const EmCheck& c : p.checks) {
        parts.push_back(std::to_string(c.round) + " " + RealText(c.logJoint));
    }
    parts.push_back(p.finished ? std::to_string(p.rounds) + " " + RealText(p.logJoint) : "unfinished");
    return Joined(parts, " | ");
}

std::string Summary(const LoggedPotentials& p)
{
    std::vector<std::string> parts;
    for (const auto& [pair, x] : p.affinities) {
        parts.push_back(std::to_string(pair.first) + " " + std::to_string(pair.second) + " " + x.text);
    }
    return Joined(parts, " | ");
}

std::string Summary(const LoggedModelSet& set)
{
    std::vector<std::string> parts;
    for (const LoggedModel& m : set.models) {
        parts.push_back(Joined({std::to_string(m.statSize), std::to_string(m.id), m.type, Texts(m.params)}, " "));
        for (const LoggedComponent& c : m.components) {
            parts.push_back(Joined({c.weight.text, c.type, Texts(c.params)}, " "));
        }
    }
    return Joined(parts, " | ");
}

std::string Summary(const PerturbationCycle& c)
{
    std::vector<std::string> parts;
    for (const auto& [name, x] : c.values) {
        parts.push_back(name + "=" + x.text);
    }
    return Joined(parts, " ");
}

// The log's lines from `from` up to the first that begins with `stop`, tabs
// turned into blanks, from `skip` fields on.
std::string LinesUntil(const std::vector<std::string>& lines, std::size_t from, const std::string& stop,
                       std::size_t skip = 0)
{
    std::vector<std::string> parts;
    for (std::size_t i = from; i < lines.size() && !Begins(lines[i], stop); ++i) {
        const std::vector<std::string> f = SplitAt(lines[i], '\t');
        parts.push_back(Joined(std::vector<std::string>(f.begin() + static_cast<long>(skip), f.end()), " "));
    }
    return Joined(parts, " | ");
}

const std::string HEAD =
    "*** Command line: motifbind -f 10 4 -p 1 ppi.txt\n"
    "*** # proteins:\t10\n*** # motifs:\t4\nPrior:\t0.1\t1\t0.1\t0.2\npertSize:\t-1\n";

// The dumps of the initial model: not what EM learned.
const std::string INITIAL =
    "****** Potential without conditioning ******\n"
    "***s Motif pair affinity:\n1\t0\t0.1\n3\t2\t0.1\n***e Motif pair affinity.\n"
    "*** Total # motif pairs:\t2\n*** Leak probability:\t0.01\n"
    "****** PPI observatoin model ******\n*** # models:\t1\n"
    "***s Model info (stat size, ID, type, (param)+):\n0\t0\tOM_BINARY\t0.98\n***e Model info.\n"
    "****** DDI observatoin model ******\n*** # models:\t0\n"
    "***s Model info (stat size, ID, type, (param)+):\n***e Model info.\n"
    "***********************************************\n*** Initialization done.\n"
    "***********************************************\n";

const std::string PHASE1 =
    "****** RunEM without DDI ...\n"
    "*** Start of EM, before round 0. Log joint:\t-150\n"
    "*** (After EM round, Log joint):\t2\t-130\n"
    "*** (After EM round, Log joint):\t5\t-120.5\n"
    "*** Total # EM round and joint prob:\t6\t-120.5\n"
    "****** Potential without conditioning ******\n"
    "***s Motif pair affinity:\n1\t0\t0.9\n3\t2\t0.25\n***e Motif pair affinity.\n"
    "*** Total # motif pairs:\t2\n*** Leak probability:\t0.002\n"
    "****** PPI observatoin model ******\n*** # models:\t1\n"
    "***s Model info (stat size, ID, type, (param)+):\n0\t0\tOM_BINARY\t0.97\n***e Model info.\n";

const std::string DDI_INIT =
    "****** initializing DDI model ...\n*** Joint prob:\t-115\n"
    "****** Potential without conditioning ******\n"
    "***s Motif pair affinity:\n1\t0\t0.8\n3\t2\t0.2\n***e Motif pair affinity.\n"
    "*** Total # motif pairs:\t2\n*** Leak probability:\t0.002\n"
    "****** Potential conditioned on DDI data ******\n"
    "***s Motif pair affinity:\n1\t0\t0.85\n3\t2\t0.2\n***e Motif pair affinity.\n"
    "*** Total # motif pairs:\t2\n*** Leak probability:\t0.002\n";

// The final model dumps: a mixture whose second component is a mixture of
// its own, and a domain-domain set.
const std::string PHASE2 =
    "****** RunEM with DDI ...\n"
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
           "*** Non-interaction probability after reconverge (Prot1, Mot1, Prot2, Prob):\t" + ids + "\t0.6" + v + "\n" +
           "*** Likelihood change after reconverge (Prot1, Mot1, Prot2, Prob):\t" + ids + "\t-1." + v + "\n";
}

const std::string COMPLETE = HEAD + INITIAL + PHASE1 + DDI_INIT + PHASE2 +
                             "Joint prob before perturbation:\t-110.25\n" + Type1Cycle("7\t2\t3", "1") +
                             Type1Cycle("3\t0\t7", "2") + "*** End of file.\n";

} // namespace

TEST(RunLogTest, HandMadeLogGivesEveryPart)
{
    const RunLog log = FromText(COMPLETE);
    EXPECT_EQ(log.commandLine, "motifbind -f 10 4 -p 1 ppi.txt");
    EXPECT_TRUE(log.complete);
    EXPECT_EQ(log.problem, "");
    ASSERT_EQ(log.phases.size(), 2u);
    EXPECT_EQ(Summary(log.phases[0]), "without domain-domain evidence | -150 | 2 -130 | 5 -120.5 | 6 -120.5");
    EXPECT_EQ(Summary(log.phases[1]), "with domain-domain evidence | -115 | 2 -110.25 | 3 -110.25");
    EXPECT_EQ(log.LastFinishedPhase(), &log.phases[1]);
    EXPECT_EQ(log.ddiStartLogJoint, -115.0);

    // The dumps after the last phase, not the initial ones nor those of the
    // round that brings the domain-domain model in.
    EXPECT_TRUE(log.learned.present && log.learned.ended);
    EXPECT_EQ(Summary(log.learned), "1 0 0.2 | 3 2 1e-05");
    EXPECT_EQ(log.learned.affinities.at({3, 2}).value, 1e-05);
    EXPECT_EQ(log.learned.leak->text, "0.003");
    EXPECT_EQ(Summary(log.conditioned), "1 0 0.6 | 3 2 2e-05");
    EXPECT_EQ(log.conditioned.leak->text, "0.0031");
    // A mixture keeps its component lines, those of a nested one included.
    EXPECT_EQ(Summary(log.ppiModels),
              "0 0 OM_BINARY 0.96 | 12 1 OM_GAUSSIAN -0.5 1.25 | 0 2 OM_MIXTURE 50 2 | "
              "0.3 OM_BINARY 0.9 | 0.7 OM_MIXTURE 10 1 | 1 OM_EXPONENTIAL 2 1 0.5");
    EXPECT_EQ(log.ppiModels.models[2].components.size(), 3u);
    EXPECT_EQ(log.ppiModels.models[1].params[1].value, 1.25);
    EXPECT_EQ(Summary(log.ddiModels), "0 0 OM_UNIFORM 0 1 3");
    EXPECT_EQ(log.jointBeforePerturbation->value, -110.25);

    ASSERT_EQ(log.perturbations.size(), 2u);
    EXPECT_EQ(log.CompleteCycles(), 2u);
    const PerturbationCycle& c = log.perturbations[0];
    EXPECT_EQ(Summary(c),
              "protein_1=7 motif_1=2 protein_2=3 num_leak=22 num_nb_leak=2 num_act_leak=20 "
              "non_interaction_forced=0.71 likelihood_change_forced=-inf em_rounds=4 "
              "non_interaction_reconverged=0.61 likelihood_change_reconverged=-1.1");
    EXPECT_EQ(c.analysis, 1);
    EXPECT_EQ(std::vector<int>({c.protein1, c.motif1, c.protein2, c.motif2}), std::vector<int>({7, 2, 3, -1}));
    EXPECT_EQ(c.what, "motif 2 of protein 7 with protein 3");
    EXPECT_EQ(c.Value("likelihood_change_forced")->value, -std::numeric_limits<double>::infinity());
    EXPECT_EQ(c.Value("no_such_value"), nullptr);
    EXPECT_EQ(c.effect->text, "-1.1");
    EXPECT_EQ(log.perturbations[1].what, "motif 0 of protein 3 with protein 7");
    EXPECT_EQ(log.perturbations[1].effect->text, "-1.2");
}

TEST(RunLogTest, EachPhaseKeepsTheDumpsWrittenAfterItsSummary)
{
    // The first phase dumps the affinities and the protein-protein models;
    // the round that brings the domain-domain model in dumps both sets and a
    // conditioned copy, which belong to no phase; the last phase dumps all.
    const RunLog log = FromText(COMPLETE);
    ASSERT_EQ(log.phases.size(), 2u);
    const EmPhase& first = log.phases[0];
    EXPECT_EQ(Summary(first.learned), "1 0 0.9 | 3 2 0.25");
    EXPECT_EQ(first.learned.leak->text, "0.002");
    EXPECT_FALSE(first.conditioned.present);
    EXPECT_EQ(Summary(first.ppiModels), "0 0 OM_BINARY 0.97");
    EXPECT_FALSE(first.ddiModels.present);
    const EmPhase& last = log.phases[1];
    EXPECT_EQ(Summary(last.learned), Summary(log.learned));
    EXPECT_EQ(Summary(last.conditioned), "1 0 0.6 | 3 2 2e-05");
    EXPECT_EQ(Summary(last.ppiModels), Summary(log.ppiModels));
    EXPECT_EQ(Summary(last.ddiModels), "0 0 OM_UNIFORM 0 1 3");

    // A log cut inside the last phase's dumps: each phase has what was
    // written after its own summary, the first phase all of it.
    const std::string cut =
        HEAD + INITIAL + PHASE1 + DDI_INIT + PHASE2.substr(0, PHASE2.find("***** Potential conditioned"));
    const RunLog partial = FromText(cut);
    ASSERT_EQ(partial.phases.size(), 2u);
    EXPECT_EQ(Summary(partial.phases[0].learned), "1 0 0.9 | 3 2 0.25");
    EXPECT_EQ(Summary(partial.phases[0].ppiModels), "0 0 OM_BINARY 0.97");
    EXPECT_EQ(Summary(partial.phases[1].learned), "1 0 0.2 | 3 2 1e-05");
    EXPECT_FALSE(partial.phases[1].conditioned.present || partial.phases[1].ppiModels.present);
    // The domain-domain round's dumps are the last ones read, not a phase's.
    EXPECT_EQ(Summary(partial.ppiModels), "0 0 OM_BINARY 0.97");
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
    const std::string before = HEAD + PHASE1 + "Joint prob before perturbation:\t-1\n";

    // A motif-type pair listed twice is perturbed twice.
    const RunLog two = FromText(before + type2 + type2 + "*** End of file.\n");
    ASSERT_EQ(two.perturbations.size(), 2u);
    const PerturbationCycle& t = two.perturbations[1];
    EXPECT_EQ(Summary(t),
              "motif_1=3 motif_2=1 likelihood_change_forced=-3 positive_likelihood_forced=-4 em_rounds=7 "
              "likelihood_change_reconverged=-1.5 positive_likelihood_reconverged=-2.5");
    EXPECT_TRUE(t.analysis == 2 && t.complete && t.motif1 == 3 && t.motif2 == 1 && t.protein1 == -1);
    EXPECT_EQ(t.what, "motif types 3 and 1");
    EXPECT_EQ(t.effect->text, "-1.5");

    const RunLog three = FromText(before + type3 + "*** End of file.\n");
    ASSERT_EQ(three.perturbations.size(), 1u);
    const PerturbationCycle& m = three.perturbations[0];
    EXPECT_EQ(Summary(m),
              "protein_1=6 motif_1=1 protein_2=5 motif_2=2 non_interaction_forced=0.75 "
              "likelihood_change_forced=-0.005 em_rounds=2 non_interaction_reconverged=0.74 "
              "likelihood_change_reconverged=-0.004");
    EXPECT_TRUE(m.analysis == 3 && m.complete);
    EXPECT_EQ(m.what, "motif 1 of protein 6 with motif 2 of protein 5");
    EXPECT_EQ(m.effect->text, "-0.004");
    EXPECT_TRUE(PerturbationColumns(4).empty());

    // Lines of a cycle go together while their ids agree and they come in
    // order; a lone line is a cycle of its own, without an effect.
    const RunLog odd = FromText(before + "*** Total # EM round (Prot1, Mot1, Prot2, EM):\t1\t1\t0\t1\n" +
                                "*** Total # EM round (Prot1, Mot1, Prot2, EM):\t1\t2\t0\t1\n" +
                                "*** Likelihood change after reconverge (Prot1, Mot1, Prot2, Prob):\t1\t2\t0\t-2\n" +
                                "*** Total # EM round (Prot1, Mot1, Prot2, EM):\t1\t2\t0\t3\n" + "*** End of file.\n");
    ASSERT_EQ(odd.perturbations.size(), 3u);
    EXPECT_FALSE(odd.perturbations[0].complete || odd.perturbations[0].effect);
    EXPECT_EQ(Summary(odd.perturbations[1]),
              "protein_1=1 motif_1=2 protein_2=0 em_rounds=1 likelihood_change_reconverged=-2");
    EXPECT_EQ(Summary(odd.perturbations[2]), "protein_1=1 motif_1=2 protein_2=0 em_rounds=3");
    EXPECT_EQ(odd.CompleteCycles(), 0u);
}

TEST(RunLogTest, RefusesFilesThatAreNoLogAndLinesThatAreMalformed)
{
    EXPECT_EQ(ErrorOf(""), "run.log is empty: not a motifbind log (its first line echoes the command line)");
    EXPECT_EQ(ErrorOf("# proteins 3\n*** Command line: motifbind\n"),
              "run.log: not a motifbind log (its first line does not start with \"*** Command line: \")");
    EXPECT_THROW(ReadRunLog(DataPath("no-such.log")), ToolError);

    // A complete line that does not hold what its kind of line carries:
    // the file, the line and the value.
    const std::string phase = HEAD + PHASE1;
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = phase;
        text.replace(text.find(from), from.size(), to);
        return ErrorOf(text);
    };
    EXPECT_EQ(replaced("3\t2\t0.25\n", "3\t2\tabout 0.25\n"),
              "run.log line 14: expected motif, motif and affinity, got 'about 0.25'");
    EXPECT_EQ(replaced("3\t2\t0.25\n", "3.5\t2\t0.25\n"),
              "run.log line 14: expected motif, motif and affinity, got '3.5'");
    EXPECT_EQ(replaced("3\t2\t0.25\n", "3\t2\n"), "run.log line 14: expected motif, motif and affinity, got '3\\x092'");
    EXPECT_EQ(replaced("Log joint):\t5\t-120.5", "Log joint):\t5\t-120.5x"),
              "run.log line 9: expected EM round and log joint, got '-120.5x'");
    EXPECT_EQ(replaced("prob:\t6\t-120.5", "prob:\t-120.5"),
              "run.log line 10: expected the number of EM rounds and the log joint, got '-120.5'");
    EXPECT_EQ(replaced("0\t0\tOM_BINARY\t0.97", "0.5\tOM_BINARY\t0.97"),
              "run.log line 21: expected stat size, model id, type and parameters, or a mixture component's weight, "
              "type and parameters, got '0.5\\x09OM_BINARY\\x090.97'");
    EXPECT_EQ(replaced("*** Total # motif pairs:\t2", "*** Total # motif pairs:\t3"),
              "run.log line 16: expected 2, the number of motif pairs in the dump above, got '3'");
    EXPECT_EQ(replaced("*** # models:\t1", "*** # models:\t2"),
              "run.log line 22: the dump ends after 1 models; expected 2, as its count line says");
    EXPECT_EQ(ErrorOf(phase + "Joint prob before perturbation:\t-1\n" +
                      "*** Total # EM round (Prot1, Mot1, Prot2, EM):\t1\t1\t0\t1.5\n"),
              "run.log line 24: expected protein_1, motif_1, protein_2, em_rounds, got '1.5'");
}

TEST(RunLogTest, CutShortLogSaysWhereItStops)
{
    // Cut in a number: the cut line is left out, not read as a shorter one;
    // the affinities are the first phase's, which dumps no conditioned copy.
    const std::vector<std::string> lines = CompleteLines(FileText(DataPath("p1/motifbind.log")));
    const std::size_t dump = FindLine(lines, "***s Motif pair affinity:", FindLine(lines, "*** Total # EM round and"));
    const RunLog em = ReadRunLog(DataPath("p1/cut_in_em.log"));
    EXPECT_FALSE(em.complete);
    EXPECT_EQ(em.problem, "the log ends during EM phase 2, after round 5");
    ASSERT_EQ(em.phases.size(), 2u);
    EXPECT_EQ(Summary(em.phases[1]),
              "with domain-domain evidence | " +
                  LinesUntil(lines, FindLastLine(lines, "****** RunEM") + 1, "*** (After EM round, Log joint):\t8", 1) +
                  " | unfinished");
    EXPECT_EQ(em.learned.line, dump + 1);
    EXPECT_EQ(Summary(em.learned), LinesUntil(lines, dump + 1, "***e"));
    EXPECT_FALSE(em.conditioned.present);

    const RunLog pert = ReadRunLog(DataPath("p1/cut_in_perturbation.log"));
    EXPECT_EQ(pert.problem, "the log ends during the perturbation analysis, after 3 cycles");
    ASSERT_EQ(pert.perturbations.size(), 4u);
    EXPECT_FALSE(pert.perturbations[3].complete || pert.perturbations[3].effect);
    EXPECT_EQ(pert.perturbations[3].values.size(), 9u); // 3 ids and the values of 4 lines

    // Cut right after a landmark line of each stage.
    const auto cutAfter = [&](std::size_t line) {
        std::string text;
        for (std::size_t i = 0; i <= line; ++i) {
            text += lines[i] + "\n";
        }
        return FromText(text).problem;
    };
    const std::size_t before = FindLine(lines, "Joint prob before perturbation");
    EXPECT_EQ(cutAfter(0), "the log ends before EM starts");
    EXPECT_EQ(cutAfter(FindLine(lines, "****** RunEM")), "the log ends during EM phase 1, before its first check");
    EXPECT_EQ(cutAfter(FindLine(lines, "*** Total # EM round and")),
              "the log ends after EM phase 1, while the model it learned is written");
    EXPECT_EQ(cutAfter(FindLine(lines, "****** initializing DDI model")),
              "the log ends while the domain-domain model is brought in, after EM phase 1");
    EXPECT_EQ(cutAfter(FindLastLine(lines, "***e Model info.")),
              "the log ends after training, before the perturbation analysis");
    EXPECT_EQ(cutAfter(before), "the log ends during the perturbation analysis, after 0 cycles");
    EXPECT_EQ(cutAfter(before + 6), "the log ends during the perturbation analysis, after 1 cycle");
    EXPECT_EQ(FromText(lines[0].substr(0, 30)).problem, "the log ends in its first line");
    EXPECT_EQ(FromText(lines[0].substr(0, 30)).commandLine, "motifbind -f");
    // The closing line without its line break still closes the log.
    const std::string full = FileText(DataPath("p1/motifbind.log"));
    EXPECT_TRUE(FromText(full.substr(0, full.size() - 1)).complete);
}

TEST(RunLogTest, LogCutAnywhereNeverFails)
{
    for (const char* run : {"p1", "p2", "p3"}) {
        const std::string full = FileText(DataPath(std::string(run) + "/motifbind.log"));
        const RunLog whole = FromText(full);
        // At every line end, and in the middle of every line.
        for (std::size_t nl = full.find('\n'); nl != std::string::npos; nl = full.find('\n', nl + 1)) {
            const std::size_t lineStart = full.rfind('\n', nl - 1) + 1;
            for (const std::size_t end : {nl + 1, lineStart + (nl - lineStart) / 2}) {
                if (end == 0 || end >= full.size()) {
                    continue;
                }
                RunLog cut;
                ASSERT_NO_THROW(cut = FromText(full.substr(0, end))) << run << " cut at byte " << end;
                EXPECT_FALSE(cut.complete);
                EXPECT_TRUE(Begins(cut.problem, "the log ends ")) << cut.problem;
                EXPECT_LE(cut.phases.size(), whole.phases.size());
                ASSERT_LE(cut.perturbations.size(), whole.perturbations.size());
                if (!cut.perturbations.empty()) {
                    // What was read of the last cycle agrees with the whole log.
                    const std::string part = Summary(cut.perturbations.back());
                    EXPECT_TRUE(Begins(Summary(whole.perturbations[cut.perturbations.size() - 1]), part)) << part;
                }
            }
        }
    }
}

TEST(RunLogTest, RealRunsAgreeWithTheirLogLines)
{
    for (int p = 1; p <= 3; ++p) {
        const std::string run = std::string("p") + std::to_string(p);
        SCOPED_TRACE(run);
        const std::vector<std::string> lines = CompleteLines(FileText(DataPath(run + "/motifbind.log")));
        const RunLog log = ReadRunLog(DataPath(run + "/motifbind.log"));
        EXPECT_TRUE(log.complete);
        EXPECT_EQ(std::string("*** Command line: ") + log.commandLine, lines[0]);

        // Each phase: the start, every check, the summary.
        ASSERT_EQ(log.phases.size(), 2u);
        std::size_t at = 0;
        for (const EmPhase& phase : log.phases) {
            at = FindLine(lines, "****** RunEM", at) + 1;
            const std::size_t summary = FindLine(lines, "*** Total # EM round and joint prob:", at);
            EXPECT_EQ(Summary(phase), phase.label + " | " + LinesUntil(lines, at, "*** Total", 1) + " | " +
                                          LinesUntil(lines, summary, "****", 1));
        }
        // The two dumps that follow the last summary, and their leak.
        const std::size_t last = FindLastLine(lines, "*** Total # EM round and joint prob:");
        const std::size_t learned = FindLine(lines, "****** Potential without conditioning ******", last) + 2;
        const std::size_t conditioned = FindLine(lines, "***** Potential conditioned on DDi data *****", last) + 2;
        EXPECT_EQ(Summary(log.learned), LinesUntil(lines, learned, "***e"));
        EXPECT_EQ(Summary(log.conditioned), LinesUntil(lines, conditioned, "***e"));
        EXPECT_EQ(std::string("*** Leak probability: ") + log.conditioned.leak->text,
                  LinesUntil(lines, FindLine(lines, "*** Leak", conditioned), "****"));
        // The last dump of each model set, mixture components included.
        for (const auto& [set, banner] : {std::make_pair(&log.ppiModels, "****** PPI observatoin model ******"),
                                          std::make_pair(&log.ddiModels, "****** DDI observatoin model ******")}) {
            EXPECT_EQ(Summary(*set), LinesUntil(lines, FindLastLine(lines, banner) + 3, "***e"));
        }
        EXPECT_EQ(log.ppiModels.models.size(), 4u);
        EXPECT_EQ(log.ppiModels.models[3].components.size(), p == 1 ? 2u : 0u);

        // Cycles: fixed groups of lines after the joint before perturbation;
        // the ids once, then the values of each line; the effect is the last
        // value of the line on the change after re-convergence.
        const std::size_t before = FindLine(lines, "Joint prob before perturbation:");
        EXPECT_EQ(log.jointBeforePerturbation->text, SplitAt(lines[before], '\t')[1]);
        const std::size_t per = p == 1 ? 6 : 5;
        const std::size_t ids = p == 1 ? 3 : p == 2 ? 2 : 4;
        ASSERT_EQ(log.perturbations.size() * per, lines.size() - 2 - before);
        for (std::size_t c = 0; c < log.perturbations.size(); ++c) {
            const PerturbationCycle& cycle = log.perturbations[c];
            EXPECT_TRUE(cycle.analysis == p && cycle.complete);
            EXPECT_EQ(cycle.line, before + 2 + c * per);
            std::vector<std::string> values;
            for (std::size_t l = 0; l < per; ++l) {
                const std::vector<std::string> f = SplitAt(lines[before + 1 + c * per + l], '\t');
                values.insert(values.end(), f.begin() + 1 + (l == 0 ? 0 : static_cast<long>(ids)), f.end());
                if (Begins(f[0], "*** Likelihood change after reconverge")) {
                    EXPECT_EQ(cycle.effect->text, f.back());
                }
            }
            std::vector<std::string> read;
            for (const auto& [name, x] : cycle.values) {
                read.push_back(x.text);
            }
            EXPECT_EQ(read, values) << "cycle " << c;
            EXPECT_EQ(std::to_string(cycle.motif1), values[p == 2 ? 0 : 1]);
        }
    }
}

TEST(RunLogTest, CyclesHandedToASinkAreTheCyclesKeptAndTheLogMayComeCompressed)
{
    // The report reads a long analysis cycle by cycle: the same cycles in
    // the same order, none kept, the counts and the rest of the log alike.
    for (const char* log : {"p1/motifbind.log", "p3/motifbind.log", "p1/cut_in_perturbation.log"}) {
        SCOPED_TRACE(log);
        const RunLog kept = ReadRunLog(DataPath(log));
        std::vector<PerturbationCycle> handed;
        const RunLog streamed =
            ReadRunLog(DataPath(log), [&handed](PerturbationCycle&& c) { handed.push_back(std::move(c)); });
        EXPECT_TRUE(streamed.perturbations.empty());
        ASSERT_EQ(handed.size(), kept.perturbations.size());
        for (std::size_t i = 0; i < handed.size(); ++i) {
            EXPECT_EQ(Summary(handed[i]), Summary(kept.perturbations[i])) << i;
            EXPECT_EQ(handed[i].line, kept.perturbations[i].line) << i;
        }
        EXPECT_EQ(streamed.cycles, handed.size());
        EXPECT_EQ(streamed.CompleteCycles(), kept.CompleteCycles());
        EXPECT_EQ(streamed.problem, kept.problem);
        EXPECT_EQ(Summary(streamed.learned), Summary(kept.learned));
    }
    // gzip-compressed, as `gzip motifbind.log` leaves it, reads the same.
    const std::filesystem::path gz =
        std::filesystem::path(::testing::TempDir()) / ("runlog-" + std::to_string(getpid()) + "-motifbind.log.gz");
    {
        gzFile f = gzopen(gz.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        const std::string text = FileText(DataPath("p1/motifbind.log"));
        ASSERT_EQ(gzwrite(f, text.data(), static_cast<unsigned>(text.size())), static_cast<int>(text.size()));
        ASSERT_EQ(gzclose(f), Z_OK);
    }
    const RunLog plain = ReadRunLog(DataPath("p1/motifbind.log"));
    const RunLog unzipped = ReadRunLog(gz);
    EXPECT_TRUE(unzipped.complete);
    EXPECT_EQ(unzipped.perturbations.size(), plain.perturbations.size());
    EXPECT_EQ(Summary(unzipped.learned), Summary(plain.learned));
    std::filesystem::remove(gz);
}

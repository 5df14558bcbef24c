// The TSV tables against the fixture runs, re-read here line by line: the
// right rows, the values as written, the order a spreadsheet user wants,
// names in place of ids.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "RunFixtures.h"
#include "tools/report/Tables.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

struct RunFiles {
    RunLog log;
    Predictions predictions;
    std::vector<std::string> logLines;
    std::vector<std::string> predictionLines;
};

RunFiles ReadRun(const std::string& dir, const std::string& log = "motifbind.log",
                 const std::string& predictions = "predictions.txt")
{
    return {ReadRunLog(DataPath(dir + "/" + log)), ReadPredictionFile(DataPath(dir + "/" + predictions)),
            CompleteLines(FileText(DataPath(dir + "/" + log))),
            CompleteLines(FileText(DataPath(dir + "/" + predictions)))};
}

// The lines of each table by name, header first.
std::map<std::string, std::vector<std::string>> Tables(const RunFiles& run, const Names& names = Names(),
                                                       const RunInputs& inputs = RunInputs())
{
    std::map<std::string, std::vector<std::string>> tables;
    for (const auto& [name, text] : ReportTables(run.log, run.predictions, names, inputs)) {
        const std::vector<std::string> lines = CompleteLines(text);
        EXPECT_EQ(lines.size(), static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'))) << name;
        for (const std::string& line : lines) {
            EXPECT_EQ(SplitAt(line, '\t').size(), SplitAt(lines[0], '\t').size()) << name << ": " << line;
        }
        tables[name] = lines;
    }
    return tables;
}

// The rows of a section of the prediction file, split at tabs and commas.
std::vector<std::vector<std::string>> SectionRows(const std::vector<std::string>& lines, const std::string& start)
{
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = FindLine(lines, start) + 1; i < lines.size() && !Begins(lines[i], "***e"); ++i) {
        std::vector<std::string> row;
        for (const std::string& f : SplitAt(lines[i], '\t')) {
            for (const std::string& part : SplitAt(f, ',')) {
                row.push_back(part);
            }
        }
        rows.push_back(row);
    }
    return rows;
}

std::string TabJoined(const std::vector<std::string>& fields)
{
    std::string s;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        s += (i == 0 ? "" : "\t") + fields[i];
    }
    return s;
}

// Indices of `keys` ordered highest first, missing keys (NaN) last, ties
// in their order.
std::vector<std::size_t> Ranked(const std::vector<double>& keys)
{
    std::vector<std::size_t> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        return !std::isnan(keys[x]) && (std::isnan(keys[y]) || keys[x] > keys[y]);
    });
    return order;
}

// Name tables as motifbind-prep writes them: proteins P00..P11, motifs
// PF0000..PF0004 named Fam-0..Fam-4 (or by their keys).
class NameFolder {
public:
    explicit NameFolder(bool motifNames)
    {
        std::ofstream proteins(path_ / "proteins.tsv");
        proteins << "id\taccession\n";
        for (int i = 0; i < 12; ++i) {
            proteins << i << "\tP" << (i < 10 ? "0" : "") << i << "\n";
        }
        std::ofstream motifs(path_ / "motifs.tsv");
        motifs << "id\tfamily\tname\n";
        for (int m = 0; m < 5; ++m) {
            motifs << m << "\tPF000" << m << "\t" << (motifNames ? "Fam-" : "PF000") << m << "\n";
        }
    }
    NameFolder(const NameFolder&) = delete;
    NameFolder& operator=(const NameFolder&) = delete;
    Names Read() const { return Names::Read(path_); }

private:
    testutil::TempDir tmp_;
    const fs::path path_ = tmp_.Path();
};

} // namespace

TEST(TablesTest, InteractionsRankByTheChanceOfInteracting)
{
    for (const char* dir : {"p1", "p2"}) {
        SCOPED_TRACE(dir);
        const RunFiles run = ReadRun(dir);
        const std::vector<std::string> t = Tables(run).at("interactions.tsv");
        EXPECT_EQ(t[0], "protein_a\tprotein_b\tinteraction_probability\tq_without_ddi\tq_with_ddi\tposterior");
        // Each row of the file: a, b, Qw, Qc, posterior or H.
        const auto rows = SectionRows(run.predictionLines, "***s Predicted non-interaction");
        ASSERT_EQ(t.size(), rows.size() + 1);
        std::vector<double> chance;
        for (const auto& f : rows) {
            chance.push_back(1.0 - std::stod(f[4] == "H" ? f[3] : f[4]));
        }
        const std::vector<std::size_t> order = Ranked(chance);
        for (std::size_t k = 0; k < order.size(); ++k) {
            const auto& f = rows[order[k]];
            const std::vector<std::string> row = SplitAt(t[k + 1], '\t');
            EXPECT_NEAR(std::stod(row[2]), chance[order[k]], 1e-15) << row[2];
            EXPECT_EQ(TabJoined({row[0], row[1], row[3], row[4], row[5]}),
                      TabJoined({f[0], f[1], f[2], f[3], f[4] == "H" ? "" : f[4]}));
        }
    }

    // Ties keep their file order; the unobserved pair ranks by 1 - Qc.
    RunFiles tie;
    tie.predictions.interactions = {
        {2, 5, 1, {"0.9", 0.9}, {"0.9", 0.9}, LoggedNumber{"0.5", 0.5}},
        {3, 4, 0, {"0.4", 0.4}, {"0.5", 0.5}, std::nullopt},
        {4, 5, 2, {"0.1", 0.1}, {"0.1", 0.1}, LoggedNumber{"0.25", 0.25}},
        {5, 3, 1, {"0.9", 0.9}, {"0.8", 0.8}, LoggedNumber{"0.5", 0.5}},
    };
    EXPECT_EQ(
        Tables(tie).at("interactions.tsv"),
        (std::vector<std::string>{"protein_a\tprotein_b\tinteraction_probability\tq_without_ddi\tq_with_ddi\tposterior",
                                  "5\t2\t0.75\t0.1\t0.1\t0.25", "5\t1\t0.5\t0.9\t0.9\t0.5", "4\t0\t0.5\t0.4\t0.5\t",
                                  "3\t1\t0.5\t0.9\t0.8\t0.5"}));
}

TEST(TablesTest, BindingRowsRankByTheirPosterior)
{
    for (const char* dir : {"p1", "p3"}) {
        SCOPED_TRACE(dir);
        const RunFiles run = ReadRun(dir);
        const std::vector<std::string> t = Tables(run).at("binding.tsv");
        EXPECT_EQ(t[0], "protein_a\tprotein_b\tmotif_a\tmotif_b\taffinity\tconditioned_affinity\tposterior");
        // Each row of the file: i, j, m1, m2, theta, theta_c, posterior or H.
        auto rows = SectionRows(run.predictionLines, "***s Binding variable:");
        ASSERT_EQ(t.size(), rows.size() + 1);
        std::vector<double> posterior;
        for (auto& f : rows) {
            posterior.push_back(f[6] == "H" ? std::nan("") : std::stod(f[6]));
            f[6] = f[6] == "H" ? "" : f[6];
        }
        const std::vector<std::size_t> order = Ranked(posterior);
        for (std::size_t k = 0; k < order.size(); ++k) {
            EXPECT_EQ(t[k + 1], TabJoined(rows[order[k]]));
        }
    }
    // A run with -p 2 writes no binding section: the table has its header.
    EXPECT_EQ(Tables(ReadRun("p2")).at("binding.tsv").size(), 1u);

    // Unobserved pairs go last, ties keep their order.
    RunFiles tie;
    tie.predictions.bindings = {
        {1, 3, 1, 0, 0, {"0.2", 0.2}, {"0.2", 0.2}, std::nullopt},
        {2, 3, 1, 1, 1, {"0.3", 0.3}, {"0.3", 0.3}, LoggedNumber{"0.1", 0.1}},
        {3, 3, 2, 2, 0, {"0.4", 0.4}, {"0.4", 0.4}, LoggedNumber{"0.7", 0.7}},
        {4, 3, 1, 0, 1, {"0.5", 0.5}, {"0.5", 0.5}, LoggedNumber{"0.1", 0.1}},
    };
    const std::vector<std::string> t = Tables(tie).at("binding.tsv");
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[1] + "|" + t[2] + "|" + t[3] + "|" + t[4],
              "3\t2\t2\t0\t0.4\t0.4\t0.7|3\t1\t1\t1\t0.3\t0.3\t0.1|3\t1\t0\t1\t0.5\t0.5\t0.1|3\t1\t0\t0\t0.2\t0.2\t");
}

TEST(TablesTest, MotifPairsAreWhatTheLastPhaseLearned)
{
    const RunFiles run = ReadRun("p1");
    // The two dumps after the last phase summary: "m1\tm2" -> affinity.
    const auto dump = [&](const std::string& banner) {
        std::map<std::string, std::string> rows;
        const std::size_t last = FindLastLine(run.logLines, "*** Total # EM round and joint prob:");
        for (std::size_t i = FindLine(run.logLines, banner, last) + 2; !Begins(run.logLines[i], "***e"); ++i) {
            const std::vector<std::string> f = SplitAt(run.logLines[i], '\t');
            rows[f[0] + "\t" + f[1]] = f[2];
        }
        return rows;
    };
    const auto learned = dump("****** Potential without conditioning ******");
    const auto conditioned = dump("***** Potential conditioned on DDi data *****");

    RunInputs inputs;
    inputs.present = true;
    inputs.carriers = {{{1, 0}, 7}, {{2, 0}, 3}};
    const std::vector<std::string> t = Tables(run, Names(), inputs).at("motif_pairs.tsv");
    const std::vector<std::string> unknown = Tables(run).at("motif_pairs.tsv");
    EXPECT_EQ(t[0], "motif_a\tmotif_b\taffinity\tconditioned_affinity\tcarriers");
    ASSERT_EQ(t.size(), learned.size() + 1);
    ASSERT_EQ(unknown.size(), t.size());
    double previous = 2.0;
    for (std::size_t k = 1; k < t.size(); ++k) {
        const std::vector<std::string> row = SplitAt(t[k], '\t');
        const std::string pair = row[0] + "\t" + row[1];
        ASSERT_TRUE(learned.count(pair)) << pair;
        const std::string carriers = pair == "1\t0" ? "7" : pair == "2\t0" ? "3" : "0";
        EXPECT_EQ(t[k], TabJoined({pair, learned.at(pair), conditioned.at(pair), carriers}));
        // Without the run's inputs the carriers are not known.
        EXPECT_EQ(unknown[k], TabJoined({pair, learned.at(pair), conditioned.at(pair), ""}));
        EXPECT_LE(std::stod(row[2]), previous);
        previous = std::stod(row[2]);
    }
}

TEST(TablesTest, PerturbationRowsFollowTheCycles)
{
    // The log's values under names a reader can take without its labels.
    const char* const HEADERS[] = {
        "protein\tmotif\tpartner\tleak_variables\tleak_variables_forced\tleak_variables_free\t"
        "non_interaction_probability_forced\tlog_likelihood_change_forced\tem_rounds_to_reconverge\t"
        "non_interaction_probability_reconverged\tlog_likelihood_change_reconverged\teffect",
        "motif_a\tmotif_b\tlog_likelihood_change_forced\tlog_likelihood_of_positives_forced\t"
        "em_rounds_to_reconverge\tlog_likelihood_change_reconverged\tlog_likelihood_of_positives_reconverged\teffect",
        "protein\tmotif\tpartner\tpartner_motif\tnon_interaction_probability_forced\tlog_likelihood_change_forced\t"
        "em_rounds_to_reconverge\tnon_interaction_probability_reconverged\tlog_likelihood_change_reconverged\t"
        "effect"};
    for (int p = 1; p <= 3; ++p) {
        SCOPED_TRACE(p);
        const RunFiles run = ReadRun(std::string("p") + std::to_string(p));
        const std::vector<std::string> t = Tables(run).at("perturbation.tsv");
        EXPECT_EQ(t[0], HEADERS[p - 1]);
        // After the joint before perturbation, cycles of fixed length up to
        // the closing line: the ids once, every value, then the change after
        // re-convergence as the effect.
        const std::size_t first = FindLine(run.logLines, "Joint prob before perturbation:") + 1;
        const std::size_t per = p == 1 ? 6 : 5;
        const long ids = p == 1 ? 3 : p == 2 ? 2 : 4;
        ASSERT_EQ(t.size(), (run.logLines.size() - 1 - first) / per + 1);
        for (std::size_t c = 0; c + 1 < t.size(); ++c) {
            std::vector<std::string> expected;
            std::string effect;
            for (std::size_t l = 0; l < per; ++l) {
                const std::vector<std::string> f = SplitAt(run.logLines[first + c * per + l], '\t');
                expected.insert(expected.end(), f.begin() + (l == 0 ? 1 : 1 + ids), f.end());
                effect = Begins(f[0], "*** Likelihood change after reconverge") ? f.back() : effect;
            }
            expected.push_back(effect);
            EXPECT_EQ(t[c + 1], TabJoined(expected)) << "cycle " << c;
        }
    }
    // No cycle, no table.
    EXPECT_FALSE(Tables(ReadRun("p1", "cut_in_em.log")).count("perturbation.tsv"));
}

TEST(TablesTest, NamesStandInForIds)
{
    const NameFolder folder(true);
    const Names names = folder.Read();
    const RunFiles one = ReadRun("p1");
    const auto tables = Tables(one, names);

    // Every row keeps its values and names its proteins.
    auto rows = SectionRows(one.predictionLines, "***s Predicted non-interaction");
    for (const std::string& line : tables.at("interactions.tsv")) {
        const std::vector<std::string> f = SplitAt(line, '\t');
        rows.erase(std::remove_if(rows.begin(), rows.end(),
                                  [&](const auto& r) {
                                      return names.Protein(std::stoi(r[0])) == f[0] &&
                                             names.Protein(std::stoi(r[1])) == f[1] && r[2] == f[3] && r[3] == f[4];
                                  }),
                   rows.end());
    }
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(names.Protein(6), "P06");

    // Motif keys, and the readable names in columns of their own.
    const std::vector<std::string>& binding = tables.at("binding.tsv");
    EXPECT_EQ(binding[0],
              "protein_a\tprotein_b\tmotif_a\tmotif_b\tmotif_a_name\tmotif_b_name\taffinity\t"
              "conditioned_affinity\tposterior");
    // p1's most likely binding variable: motif 1 of protein 9 with motif 0 of 7.
    EXPECT_TRUE(Begins(binding[1], "P09\tP07\tPF0001\tPF0000\tFam-1\tFam-0\t0.98")) << binding[1];
    EXPECT_EQ(tables.at("motif_pairs.tsv")[0],
              "motif_a\tmotif_b\tmotif_a_name\tmotif_b_name\taffinity\t"
              "conditioned_affinity\tcarriers");
    // The first cycle of p1 forces motif 0 of protein 6 off with protein 5.
    const std::vector<std::string>& cycles = tables.at("perturbation.tsv");
    EXPECT_TRUE(Begins(cycles[0], "protein\tmotif\tmotif_name\tpartner\t")) << cycles[0];
    EXPECT_TRUE(Begins(cycles[1], "P06\tPF0000\tFam-0\tP05\t")) << cycles[1];
    EXPECT_EQ(PerturbationWhat(one.log.perturbations[0], names), "motif Fam-0 (PF0000) on P06, with partner P05");
    EXPECT_EQ(PerturbationWhat(one.log.perturbations[0], Names()), "motif 0 on 6, with partner 5");
    EXPECT_EQ(PerturbationWhat(ReadRun("p3").log.perturbations[1], names),
              "motif Fam-0 (PF0000) on P06, with motif Fam-2 (PF0002) on partner P05");
    const RunFiles two = ReadRun("p2");
    EXPECT_EQ(PerturbationWhat(two.log.perturbations[0], names),
              "motif pair Fam-1 (PF0001) \u2013 Fam-0 (PF0000), on every protein pair");
    EXPECT_TRUE(Begins(Tables(two, names).at("perturbation.tsv")[1], "PF0001\tFam-1\tPF0000\tFam-0\t"));

    // Names that say no more than the keys get no columns.
    const NameFolder plain(false);
    const auto keysOnly = Tables(one, plain.Read());
    EXPECT_EQ(SplitAt(keysOnly.at("binding.tsv")[0], '\t').size(), 7u);
    EXPECT_EQ(SplitAt(keysOnly.at("motif_pairs.tsv")[0], '\t').size(), 5u);
    EXPECT_EQ(keysOnly.at("perturbation.tsv")[0], Tables(one).at("perturbation.tsv")[0]);
}

TEST(TablesTest, ProteinDisplayNamesGoLastAndBesideTheAccessionsInWords)
{
    // Display names as prep writes them in the last column: gene names for
    // all but P05, whose cell is empty (the accession stands in), and P07,
    // whose name holds markup the page must escape.
    const testutil::TempDir tmp;
    const fs::path dir = tmp.Path();
    {
        std::ofstream proteins(dir / "proteins.tsv");
        proteins << "id\taccession\tlength\tcovered\tmotifs\tname\n";
        for (int i = 0; i < 12; ++i) {
            const std::string name = i == 5 ? "" : i == 7 ? "<b>G7&</b>" : std::string("G").append(std::to_string(i));
            proteins << i << "\tP" << (i < 10 ? "0" : "") << i << "\t100\t10\t1\t" << name << "\n";
        }
        std::ofstream(dir / "motifs.tsv") << "id\tfamily\tname\tproteins\tdescription\n"
                                          << "0\tPF0000\tFam0\t2\tFamily zero\n1\tPF0001\tFam1\t2\t\n";
    }
    const Names names = Names::Read(dir);
    EXPECT_EQ(names.ProteinLabel(6), "G6 (P06)");
    EXPECT_EQ(names.ProteinLabel(5), "P05");
    EXPECT_EQ(names.ProteinName(20), "20");
    // The description is the readable name; without one, the short name.
    // Lookups go by key and short name as before.
    EXPECT_EQ(names.MotifName(0), "Family zero");
    EXPECT_EQ(names.MotifName(1), "Fam1");
    EXPECT_EQ(names.MotifId("Fam0"), 0);

    const RunFiles one = ReadRun("p1");
    const auto tables = Tables(one, names);
    // The columns before the names are where they were.
    const std::vector<std::string>& interactions = tables.at("interactions.tsv");
    EXPECT_EQ(interactions[0],
              "protein_a\tprotein_b\tinteraction_probability\tq_without_ddi\tq_with_ddi\tposterior\t"
              "protein_a_name\tprotein_b_name");
    for (std::size_t i = 1; i < interactions.size(); ++i) {
        const std::vector<std::string> f = SplitAt(interactions[i], '\t');
        ASSERT_EQ(f.size(), 8u);
        EXPECT_EQ(f[6], f[0] == "P05"   ? "P05"
                        : f[0] == "P07" ? "<b>G7&</b>"
                                        : std::string("G").append(std::to_string(std::stoi(f[0].substr(1)))));
    }
    const std::vector<std::string>& binding = tables.at("binding.tsv");
    EXPECT_EQ(binding[0],
              "protein_a\tprotein_b\tmotif_a\tmotif_b\tmotif_a_name\tmotif_b_name\taffinity\t"
              "conditioned_affinity\tposterior\tprotein_a_name\tprotein_b_name");
    EXPECT_TRUE(Begins(binding[1], "P09\tP07\tPF0001\tPF0000\tFam1\tFamily zero\t0.98")) << binding[1];
    EXPECT_EQ(binding[1].substr(binding[1].size() - 14), "\tG9\t<b>G7&</b>") << binding[1];
    EXPECT_EQ(PerturbationWhat(one.log.perturbations[0], names),
              "motif Family zero (PF0000) on G6 (P06), with "
              "partner P05");
    EXPECT_EQ(PerturbationWhat(ReadRun("p3").log.perturbations[1], names),
              "motif Family zero (PF0000) on G6 (P06), with motif 2 on partner P05");
}

TEST(TablesTest, CutShortRunGivesWhatItHas)
{
    // Cut in EM phase 2: the affinities of phase 1, which has no
    // conditioned copy; predictions cut in the binding section.
    const RunFiles em = ReadRun("p1", "cut_in_em.log", "cut_predictions.txt");
    const auto tables = Tables(em);
    EXPECT_EQ(tables.size(), 3u);
    EXPECT_EQ(tables.at("interactions.tsv").size(), 29u);
    EXPECT_EQ(tables.at("binding.tsv").size(), 3u);
    const std::vector<std::string>& pairs = tables.at("motif_pairs.tsv");
    ASSERT_EQ(pairs.size(), 6u);
    const auto dump = em.logLines.begin() + static_cast<long>(FindLine(em.logLines, "*** Total # EM")) + 2;
    for (std::size_t k = 1; k < pairs.size(); ++k) {
        const std::string row = pairs[k].substr(0, pairs[k].size() - 2); // without the two empty columns
        EXPECT_EQ(pairs[k].substr(pairs[k].size() - 2), "\t\t");
        EXPECT_NE(std::find(dump, dump + 6, row), dump + 6) << row;
    }

    // Cut in the fourth cycle: its row holds what was read.
    const std::vector<std::string> cycles = Tables(ReadRun("p1", "cut_in_perturbation.log")).at("perturbation.tsv");
    ASSERT_EQ(cycles.size(), 5u);
    EXPECT_TRUE(Begins(cycles[4], "5\t0\t6\t")) << cycles[4];
    EXPECT_EQ(SplitAt(cycles[4], '\t')[8], "7"); // em_rounds
    EXPECT_EQ(cycles[4].substr(cycles[4].size() - 3), "\t\t\t");

    // Nothing read: headers only.
    for (const auto& [name, text] : ReportTables(RunLog(), Predictions(), Names(), RunInputs())) {
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << name;
    }
}

TEST(TablesTest, InteractionChanceIsTheExactComplement)
{
    const auto complement = [](const std::string& text) { return ComplementText({text, std::stod(text)}); };
    EXPECT_EQ(complement("0.638169"), "0.361831");
    EXPECT_EQ(complement("0.0654565"), "0.9345435");
    EXPECT_EQ(complement("1"), "0");
    EXPECT_EQ(complement("0"), "1");
    EXPECT_EQ(complement("1.38945e-12"), "0.99999999999861055");
    EXPECT_EQ(complement("9.99e-05"), "0.9999001");
    EXPECT_EQ(complement("5E-1"), "0.5");
    // Beyond what a double holds, and what is no probability.
    EXPECT_EQ(complement("1e-300"), "1");
    EXPECT_EQ(complement("1.5"), "-0.5");
    EXPECT_EQ(complement("-0"), "1");
    EXPECT_EQ(ComplementText({"nan", std::nan("")}), "nan");
}

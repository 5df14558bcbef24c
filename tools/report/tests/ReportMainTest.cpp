// Whole runs of motifbind-report on the fixture runs: what it writes, what it
// says, and how it takes a cut-short run or a file that is no log.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "motifbind/Version.h"
#include "tools/report/ReportMain.h"
#include "tools/report/tests/RunFixtures.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

struct ReportRun {
    int status = 0;
    std::string out;
    std::string err;
};

ReportRun RunReport(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    ReportRun r;
    r.status = ReportMain(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

class ReportMainTest : public ::testing::Test {
protected:
    std::string Out(const std::string& name = "rep") const { return (dir_ / name).string(); }

    testutil::TempDir tmp_;
    const std::filesystem::path dir_ = tmp_.Path();
};

TEST_F(ReportMainTest, AFinishedRunGivesEveryTableAndThePage)
{
    const ReportRun r = RunReport({DataPath("p1").string(), "--out", Out()});
    ASSERT_EQ(r.status, 0) << r.err;
    // The tiny fixture run learned degenerate rates: its last dumps give
    // protein-protein model 0 prob0 1 and domain-domain model 1 2.6e-25,
    // and four listed pairs have a posterior of exactly 0. Without the
    // inputs beside the log the states the models serve are not known.
    EXPECT_EQ(r.err,
              "warning: degenerate estimates: learned noise rates at 0 or 1: protein-protein model 0 (state "
              "not known) chance of observing 1 0, domain-domain model 1 (state not known) chance of "
              "observing 1 1; 4 listed protein pairs tied at interaction probability exactly 1\n");
    for (const char* name : {"interactions.tsv", "binding.tsv", "motif_pairs.tsv", "perturbation.tsv", "report.html"}) {
        EXPECT_TRUE(fs::exists(dir_ / "rep" / name)) << name;
    }
    EXPECT_NE(r.out.find("motifbind-report: wrote 5 files to " + Out()), std::string::npos) << r.out;
    // The fixture holds only the log and the prediction file.
    EXPECT_NE(r.out.find("no carriers and no degree-only baseline"), std::string::npos) << r.out;
    const std::string html = FileText(dir_ / "rep" / "report.html");
    EXPECT_NE(html.find("<svg"), std::string::npos);
    EXPECT_NE(html.find(std::string("<footer>Written by motifbind-report ") + MOTIFBIND_VERSION + ".</footer>"),
              std::string::npos);
    EXPECT_NE(html.find("id=\"perturbation-plot\""), std::string::npos);

    // Never into a folder that holds files.
    const ReportRun again = RunReport({DataPath("p1").string(), "--out", Out()});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("already holds files"), std::string::npos) << again.err;
}

TEST_F(ReportMainTest, ACutShortRunGivesAPartialReportAndSaysWhy)
{
    const struct {
        std::vector<std::string> extra;
        std::string says;
    } cases[] = {
        {{"--log", DataPath("p1/cut_in_em.log").string()}, "EM"},
        {{"--log", DataPath("p1/cut_in_perturbation.log").string()}, "perturbation"},
        {{"--predictions", DataPath("p1/cut_predictions.txt").string()}, ""},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string out = Out("rep" + std::to_string(n++));
        std::vector<std::string> args{DataPath("p1").string(), "--out", out};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const ReportRun r = RunReport(args);
        SCOPED_TRACE(c.extra[1]);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err.rfind("warning: the run is cut short (", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        // And the degenerate estimates of the fixture run, as far as read.
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
        EXPECT_NE(r.err.find("\nwarning: degenerate estimates: "), std::string::npos) << r.err;
        const std::string html = FileText(fs::path(out) / "report.html");
        EXPECT_NE(html.find("Partial report:"), std::string::npos);
    }
}

TEST_F(ReportMainTest, AFileThatIsNoLogIsOneErrorLine)
{
    const ReportRun r =
        RunReport({DataPath("p1").string(), "--out", Out(), "--log", DataPath("p1/predictions.txt").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("Error: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("predictions.txt"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_FALSE(fs::exists(Out()));
}

TEST_F(ReportMainTest, AMisspeltOptionIsNamedAndNothingWritten)
{
    const std::string truth = DataPath("p1/predictions.txt").string();
    const ReportRun r = RunReport({DataPath("p1").string(), "--out", Out(), "--truht", truth, truth});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Error: --truht is not an option; did you mean --truth?\n");
    EXPECT_FALSE(fs::exists(Out()));

    const ReportRun v = RunReport({"--version"});
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out, std::string("motifbind-report ") + MOTIFBIND_VERSION + "\n");
    EXPECT_EQ(v.err, "");
}

// p1's log and prediction file in a folder of their own, with the inputs
// a test writes beside them.
fs::path RunCopy(const fs::path& dir)
{
    const fs::path run = dir / "run";
    fs::create_directories(run);
    for (const char* name : {"motifbind.log", "predictions.txt"}) {
        fs::copy_file(DataPath("p1") / name, run / name);
    }
    return run;
}

void Write(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

TEST_F(ReportMainTest, KnownPairsFromTheRunsOwnDomainEvidenceAreCircular)
{
    // The log's command line names ddi_observations.txt after -d: three
    // distinct motif pairs, (1,0) written both ways. Given as --known it
    // lists all three, and the page and one warning line say so.
    const fs::path run = RunCopy(dir_);
    Write(run / "ddi_observations.txt", "1 0 1 0 1\n2 2 1 0 1\n0 1 1 0 1\n4 3 0 0 1\n");
    const ReportRun r = RunReport({run.string(), "--out", Out(), "--known", (run / "ddi_observations.txt").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string warning =
        "warning: --known lists 3 motif pairs that the run's domain-domain evidence "
        "(ddi_observations.txt) already lists: their enrichment is circular\n";
    EXPECT_NE(r.err.find(warning), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err; // and the degenerate estimates
    const std::string html = FileText(dir_ / "rep" / "report.html");
    EXPECT_NE(html.find("<div class=\"notice\" role=\"note\" id=\"circular\"><strong>Circular evidence:</strong> "
                        "<code class=\"opt\">--known</code> lists 3 motif pairs that the run&#39;s domain-domain "
                        "evidence (ddi_observations.txt) already lists"),
              std::string::npos);
    EXPECT_NE(html.find("found, not in the evidence"), std::string::npos);

    // A known list the evidence does not repeat gets no warning.
    Write(run / "other.tsv", "3 1\n4 4\n");
    const ReportRun other = RunReport({run.string(), "--out", Out("other"), "--known", (run / "other.tsv").string()});
    ASSERT_EQ(other.status, 0) << other.err;
    EXPECT_EQ(other.err.find("circular"), std::string::npos) << other.err;
    EXPECT_EQ(FileText(dir_ / "other" / "report.html").find("id=\"circular\""), std::string::npos);
}

TEST_F(ReportMainTest, NamesThatMatchNothingAreCountedAndTheFirstShown)
{
    // Without proteins.tsv the run's proteins are named by their ids 0-11.
    // Interacting: P99999, Q1, Q2, X and Z unknown over four lines;
    // not: P99999 again and Y. Six distinct names, six pairs left out.
    const fs::path run = RunCopy(dir_);
    Write(run / "pos.tsv", "1 0\nP99999 2\nQ1 Q2\n3 4\nX 0\nZ 5\n");
    Write(run / "neg.tsv", "5 6\nP99999 7\n8 Y\n");
    Write(run / "known.tsv", "# motif pairs\n1 0\nPF00069 2\n");
    const ReportRun r = RunReport({run.string(), "--out", Out(), "--truth", (run / "pos.tsv").string(),
                                   (run / "neg.tsv").string(), "--known", (run / "known.tsv").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("warning: --truth names 6 proteins the run does not know ('P99999', 'Q1', 'Q2', 'X', "
                         "'Z', ...): 6 pairs left out\n"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("warning: --known names 1 family the run does not know ('PF00069'): 1 pair left out\n"),
              std::string::npos)
        << r.err;
    const std::string html = FileText(dir_ / "rep" / "report.html");
    const std::size_t notice = html.find("id=\"unknown-names\"");
    ASSERT_NE(notice, std::string::npos);
    const std::string box = html.substr(notice, html.find("</div>", notice) - notice);
    EXPECT_NE(box.find("names 6 proteins the run does not know (&#39;P99999&#39;, &#39;Q1&#39;, &#39;Q2&#39;, "
                       "&#39;X&#39;, &#39;Z&#39;, ...): 6 pairs left out"),
              std::string::npos)
        << box;
    EXPECT_NE(box.find("names 1 family"), std::string::npos) << box;
    // The known pairs are judged: (1,0) and (4,3) have no posterior in p1's
    // prediction file, (6,5) has one; without the inputs the file decides.
    EXPECT_NE(html.find("Mixed: 1 of the 3 truth pairs carry observations"), std::string::npos)
        << html.substr(html.find("<p id=\"in-sample\">"), 300);
}

TEST_F(ReportMainTest, ThePageShowsWhatMadeTheInputSet)
{
    // Without a record the section says so and still names this program.
    const ReportRun bare = RunReport({DataPath("p1").string(), "--out", Out("bare")});
    ASSERT_EQ(bare.status, 0) << bare.err;
    const std::string plain = FileText(dir_ / "bare" / "report.html");
    EXPECT_NE(plain.find(std::string("<p>This page was written by motifbind-report ") + MOTIFBIND_VERSION),
              std::string::npos);
    EXPECT_NE(plain.find("The run folder holds no provenance.txt"), std::string::npos);

    // prep's record beside the run: every line a row, key and value split at
    // the first ": ", a value holding ": " kept whole; names escaped; the
    // summary shown as printed.
    const fs::path run = RunCopy(dir_);
    Write(run / "provenance.txt",
          "made by: motifbind-prep 9.9.9\n"
          "command: motifbind-prep --out 'a b' --seed 7\n"
          "seed: 7\n"
          "input --fasta: 0123abcd  <seq>.fa\n"
          "a line without a key\n");
    Write(run / "summary.txt", "made by: motifbind-prep 9.9.9\nproteins: 12 <kept>\n");
    const ReportRun r = RunReport({run.string(), "--out", Out()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string html = FileText(dir_ / "rep" / "report.html");
    for (const char* row :
         {"<tr><th scope=\"row\">made by</th><td><code>motifbind-prep 9.9.9</code></td></tr>",
          "<tr><th scope=\"row\">command</th><td><code>motifbind-prep --out &#39;a b&#39; --seed "
          "7</code></td></tr>",
          "<tr><th scope=\"row\">seed</th><td><code>7</code></td></tr>",
          "<tr><th scope=\"row\">input --fasta</th><td><code>0123abcd  &lt;seq&gt;.fa</code></td></tr>",
          "<tr><th scope=\"row\"></th><td><code>a line without a key</code></td></tr>"}) {
        EXPECT_NE(html.find(row), std::string::npos) << row;
    }
    EXPECT_NE(html.find("<pre class=\"record\">made by: motifbind-prep 9.9.9\nproteins: 12 &lt;kept&gt;\n</pre>"),
              std::string::npos);
    EXPECT_NE(html.find("<a href=\"#provenance\">Provenance</a>"), std::string::npos);

    // A record that is there but no file is an error naming it, and nothing
    // is written.
    fs::remove(run / "provenance.txt");
    fs::create_directory(run / "provenance.txt");
    const ReportRun dir = RunReport({run.string(), "--out", Out("dir")});
    EXPECT_EQ(dir.status, 1);
    EXPECT_EQ(dir.err.rfind("Error: ", 0), 0u) << dir.err;
    EXPECT_NE(dir.err.find("provenance.txt"), std::string::npos) << dir.err;
    EXPECT_FALSE(fs::exists(dir_ / "dir" / "report.html"));
}

} // namespace

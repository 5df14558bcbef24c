// report.html in a real browser: headless Chromium loads the page from a
// file, its DOM still holds every plot with drawing elements, and a
// screenshot of it is a picture, not a blank page; laid out by the browser,
// no text leaves its figure or covers another or a bar, no table cell
// overflows, the page does not scroll sideways and the command line breaks
// only at blanks. Skipped without Chromium.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/report/ReportHtml.h"
#include "tools/report/tests/ReportPages.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using namespace reportpages;

namespace {

// The browser on PATH under either of its Debian or Ubuntu names, or empty.
std::string FindChromium()
{
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path != nullptr ? path : "");
    std::vector<std::string> folders;
    for (std::string dir; std::getline(dirs, dir, ':');) {
        folders.push_back(dir.empty() ? "." : dir);
    }
    for (const char* name : {"chromium", "chromium-browser"}) {
        for (const auto& dir : folders) {
            const fs::path candidate = fs::path(dir) / name;
            if (::access(candidate.c_str(), X_OK) == 0 && !fs::is_directory(candidate)) {
                return candidate.string();
            }
        }
    }
    return "";
}

using testutil::ReadFile;
using BrowserFolder = testutil::TempDir;

// Runs the browser on the page with the given extra options, standard
// output into `out`; at most 60 s.
testutil::RunResult RunChromium(const std::string& exe, const BrowserFolder& dir,
                                const std::vector<std::string>& options, const fs::path& out)
{
    std::vector<std::string> args = {"--headless",
                                     "--no-sandbox",
                                     "--disable-gpu",
                                     "--disable-dev-shm-usage",
                                     "--no-first-run",
                                     "--disable-extensions",
                                     "--user-data-dir=" + (dir.Path() / "profile").string()};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back("file://" + (dir.Path() / "report.html").string());
    testutil::RunOptions o;
    o.stdoutFile = out.string();
    o.seconds = 60;
    return testutil::RunProgram(exe, args, o);
}

// Appended to the test's copy of the page only (the report has no script):
// measures what Chromium laid out and writes the verdict into the DOM, which
// --dump-dom then prints. Each line after the first is one problem.
const char* const LAYOUT_CHECK = R"JS(
<script>
(function () {
  const problems = [];
  let texts = 0, cells = 0, words = 0;
  const TOL = 0.5;
  const inside = (r, box) => r.left >= box.left - TOL && r.right <= box.right + TOL &&
                             r.top >= box.top - TOL && r.bottom <= box.bottom + TOL;
  const overlap = (a, b) => Math.min(a.right, b.right) - Math.max(a.left, b.left) > TOL &&
                            Math.min(a.bottom, b.bottom) - Math.max(a.top, b.top) > TOL;
  const name = (t) => JSON.stringify(t.textContent.slice(0, 60));
  for (const svg of document.querySelectorAll("svg")) {
    const box = svg.getBoundingClientRect();
    const vb = svg.viewBox.baseVal;
    // The viewBox is drawn whole: the figure keeps its proportions.
    if (Math.abs(box.width / vb.width - box.height / vb.height) > 0.01) {
      problems.push(svg.id + ": scaled unevenly");
    }
    const placed = [];
    for (const t of svg.querySelectorAll("text")) {
      ++texts;
      const r = t.getBoundingClientRect();
      // The text's own extent, from its glyphs, within the figure: line by
      // line where it wraps.
      const lines = t.querySelectorAll("tspan");
      let length = 0;
      for (const line of lines.length > 0 ? lines : [t]) {
        length = Math.max(length, line.getComputedTextLength() * box.width / vb.width);
      }
      if (!inside(r, box) || length > box.width) {
        problems.push(svg.id + ": text " + name(t) + " leaves the figure");
      }
      for (const [u, q] of placed) {
        if (overlap(r, q)) {
          problems.push(svg.id + ": text " + name(t) + " covers " + name(u));
        }
      }
      placed.push([t, r]);
    }
    for (const bar of svg.querySelectorAll("rect.bar")) {
      const b = bar.getBoundingClientRect();
      for (const [t, r] of placed) {
        if (overlap(r, b)) {
          problems.push(svg.id + ": text " + name(t) + " covers a bar");
        }
      }
    }
  }
  const page = document.documentElement.clientWidth;
  for (const cell of document.querySelectorAll("td, th")) {
    ++cells;
    if (cell.scrollWidth > cell.clientWidth + 1 || cell.getBoundingClientRect().right > page + TOL) {
      problems.push("cell " + name(cell) + " overflows");
    }
  }
  if (document.documentElement.scrollWidth > page) {
    problems.push("the page scrolls sideways: " + document.documentElement.scrollWidth + " > " + page);
  }
  // A word of the command line on two lines was broken inside, unless it
  // is wider than the box itself.
  const pre = document.querySelector("pre.command");
  const node = pre.firstChild;
  const range = document.createRange();
  for (const m of node.textContent.matchAll(/\S+/g)) {
    ++words;
    range.setStart(node, m.index);
    range.setEnd(node, m.index + m[0].length);
    const parts = range.getClientRects();
    let width = 0;
    for (const p of parts) {
      width += p.width;
    }
    if (parts.length > 1 && width < pre.clientWidth - 20) {
      problems.push("command word " + JSON.stringify(m[0]) + " broken across lines");
    }
  }
  const out = document.createElement("pre");
  out.id = "layout-check";
  out.textContent = "checked " + texts + " texts, " + cells + " cells, " + words + " words\n" + problems.join("\n");
  document.body.appendChild(out);
})();
</script>
)JS";

// The sample run with what strains a layout: long names that must wrap in
// bar labels and cells, a word too long for any line, numbers wide and
// tiny, a command line with a path longer than its box.
ReportData StrainedData()
{
    ReportData d = SampleData();
    d.command =
        "motifbind -e 1 -b 200 -f 300 60 -l 1 -p 1 -s 10 -d ddi_observations.txt ddi_models.txt "
        "ddi_options.txt ppi_observations.txt ppi_models.txt protein_motifs.txt active_motif_pairs.txt "
        "inactive_motif_pairs.txt waiting_motif_pairs.txt motifbind.log predictions.txt "
        "predict_interaction_pairs.txt predict_binding_pairs.txt 0.1 protein_lengths.txt 10000 "
        "/data/" +
        std::string(150, 'p') + "/motif_coverage.txt";
    d.topMotifPairs[0].first = "Protein kinase domain (PF00069)";
    d.topMotifPairs[0].second = "Src homology 2 domain (PF00017)";
    d.topMotifPairs[1].first = "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW";
    d.topPerturbations[0].what =
        "motif Protein kinase domain (PF00069) on Mitogen-activated protein kinase 1 "
        "(P28482), with partner Dual specificity mitogen-activated protein kinase kinase "
        "1 (Q02750)";
    d.topPerturbations[1].effect = -123456.789;
    d.topPerturbations.push_back({std::string(80, 'x'), 2e-9});
    d.topInteractions->rows[1].nameB = "Serine/threonine-protein kinase PLK1, polo-like kinase 1";
    d.topInteractions->rows[0].mediators.push_back(
        {"Protein kinase domain (PF00069)", "Src homology 2 domain (PF00017)", 0.5, true});
    return d;
}

} // namespace

TEST(ReportHtmlBrowser, NoLabelLeavesItsBoxAndTheTableNamesProteins)
{
    const std::string exe = FindChromium();
    if (exe.empty()) {
        GTEST_SKIP() << "Chromium is not installed (neither chromium nor chromium-browser on PATH)";
    }
    BrowserFolder dir;
    std::string page = ReportHtml(StrainedData());
    ASSERT_EQ(page.find("<script"), std::string::npos);
    page.insert(page.rfind("</body>"), LAYOUT_CHECK);
    {
        std::ofstream out(dir.Path() / "report.html", std::ios::binary);
        out << page;
    }
    // As wide as a desktop window and as narrow as a laptop's half screen.
    for (const char* size : {"1200,3000", "800,3000"}) {
        SCOPED_TRACE(size);
        const fs::path dom = dir.Path() / "dom.html";
        const auto run = RunChromium(exe, dir, {std::string("--window-size=") + size, "--dump-dom"}, dom);
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string text = ReadFile(dom);
        const std::size_t at = text.find("<pre id=\"layout-check\">");
        ASSERT_NE(at, std::string::npos) << "the check did not run: " << text.substr(0, 2000);
        const std::size_t from = at + std::string("<pre id=\"layout-check\">").size();
        const std::string verdict = text.substr(from, text.find("</pre>", from) - from);
        const std::string first = verdict.substr(0, verdict.find('\n'));
        EXPECT_EQ(verdict, first + "\n") << verdict;
        // It measured what the page has: the texts of six figures, the cells
        // of every table, every word of the command.
        int texts = 0;
        int cells = 0;
        int words = 0;
        ASSERT_EQ(std::sscanf(first.c_str(), "checked %d texts, %d cells, %d words", &texts, &cells, &words), 3)
            << first;
        EXPECT_GT(texts, 80);
        EXPECT_GT(cells, 100);
        EXPECT_EQ(words, 32);

        // The top interactions by display name, the accession beside.
        const std::size_t table = text.find("<table id=\"top-interactions-table\">");
        ASSERT_NE(table, std::string::npos);
        const std::string rows = text.substr(table, text.find("</table>", table) - table);
        for (const char* shown :
             {"<strong>ABC1</strong> <span class=\"id\">P12345</span>", "<strong>Ste5 scaffold protein</strong>",
              "<strong>Serine/threonine-protein kinase PLK1, polo-like kinase 1</strong>"}) {
            EXPECT_NE(rows.find(shown), std::string::npos) << shown;
        }
    }
}

TEST(ReportHtmlBrowser, ChromiumShowsEveryPlot)
{
    const std::string exe = FindChromium();
    if (exe.empty()) {
        GTEST_SKIP() << "Chromium is not installed (neither chromium nor chromium-browser on PATH)";
    }
    BrowserFolder dir;
    {
        std::ofstream page(dir.Path() / "report.html", std::ios::binary);
        page << ReportHtml(SampleData());
    }

    const fs::path dom = dir.Path() / "dom.html";
    const auto run = RunChromium(exe, dir, {"--dump-dom"}, dom);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string text = ReadFile(dom);
    ASSERT_NE(text.find("<h1>motifbind report: run-07</h1>"), std::string::npos) << text.substr(0, 2000);
    EXPECT_EQ(text.find("<script"), std::string::npos);
    struct Expect {
        const char* id;
        std::size_t rects;     // bars
        std::size_t polylines; // data lines
    };
    for (const Expect& e : {Expect{"em-plot", 0, 2}, Expect{"probability-plot", 6, 0}, Expect{"motif-pair-plot", 3, 0},
                            Expect{"perturbation-plot", 3, 0}, Expect{"roc-plot", 0, 2}, Expect{"pr-plot", 0, 2}}) {
        const std::string svg = SvgById(text, e.id);
        ASSERT_FALSE(svg.empty()) << e.id << " is not in the DOM";
        EXPECT_EQ(CountOf(svg, "<rect"), e.rects) << e.id;
        EXPECT_EQ(CountOf(svg, "<polyline"), e.polylines) << e.id;
        EXPECT_GT(CountOf(svg, "<text"), 5u) << e.id;
        EXPECT_GT(CountOf(svg, "<line"), 5u) << e.id;
    }

    // A 1200 x 3000 PNG with plots, text and tables compresses to far more
    // than a blank page (under 10 KB).
    const fs::path shot = dir.Path() / "report.png";
    const auto shooting =
        RunChromium(exe, dir, {"--hide-scrollbars", "--window-size=1200,3000", "--screenshot=" + shot.string()},
                    dir.Path() / "shot-stdout.txt");
    ASSERT_EQ(shooting.status, 0) << shooting.err;
    ASSERT_TRUE(fs::exists(shot)) << shooting.err;
    const std::string png = ReadFile(shot);
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    const auto be32 = [&png](std::size_t at) {
        return (static_cast<unsigned>(static_cast<unsigned char>(png[at])) << 24) |
               (static_cast<unsigned>(static_cast<unsigned char>(png[at + 1])) << 16) |
               (static_cast<unsigned>(static_cast<unsigned char>(png[at + 2])) << 8) |
               static_cast<unsigned>(static_cast<unsigned char>(png[at + 3]));
    };
    EXPECT_EQ(be32(16), 1200u);
    EXPECT_EQ(be32(20), 3000u);
    EXPECT_GT(png.size(), 40000u) << "the screenshot looks blank";
}

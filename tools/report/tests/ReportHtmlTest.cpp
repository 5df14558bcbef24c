// report.html from hand-built data: names escaped, each plot drawing exactly
// its data, empty data said in words. The pages are kept for check-html.py,
// which parses them: well-formed and self-contained.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "motifbind/Version.h"
#include "tools/report/ReportHtml.h"
#include "tools/report/Svg.h"
#include "tools/report/tests/ReportPages.h"

using namespace reportpages;

namespace {

const char* const HOSTILE = "<img src=x onerror=alert(1)>&\"'";
const char* const HOSTILE_ESCAPED = "&lt;img src=x onerror=alert(1)&gt;&amp;&quot;&#39;";
const double NaN = std::numeric_limits<double>::quiet_NaN();
const double INF = std::numeric_limits<double>::infinity();

// The (x, y) pairs of a polyline's points attribute.
std::vector<std::pair<double, double>> Points(const std::string& polyline)
{
    std::vector<std::pair<double, double>> out;
    std::istringstream in(AttrOf(polyline, "points"));
    std::string pair;
    while (in >> pair) {
        const std::size_t comma = pair.find(',');
        out.emplace_back(std::stod(pair.substr(0, comma)), std::stod(pair.substr(comma + 1)));
    }
    return out;
}

double Num(const std::string& element, const std::string& attr) { return std::stod(AttrOf(element, attr)); }

// The part of the page from <section id="id"> to its end.
std::string Section(const std::string& html, const std::string& id)
{
    const std::size_t start = html.find("<section id=\"" + id + "\"");
    if (start == std::string::npos) {
        return "";
    }
    return html.substr(start, html.find("</section>", start) - start);
}

// The bar counts a histogram's tooltips give ("0.5–0.55: 3").
std::vector<long long> BarCounts(const std::string& svg)
{
    std::vector<long long> counts;
    for (std::size_t at = svg.find("<rect "); at != std::string::npos; at = svg.find("<rect ", at + 1)) {
        const std::size_t title = svg.find("<title>", at);
        const std::size_t colon = svg.find(": ", title);
        counts.push_back(std::stoll(svg.substr(colon + 2)));
    }
    return counts;
}

// The <line class="axis"> elements of a figure: the frame's left and bottom
// edges give the plot area.
struct Area {
    double left = 0, right = 0, top = 0, bottom = 0;
};
Area PlotArea(const std::string& svg)
{
    Area a;
    for (const auto& line : Elements(svg, "line")) {
        if (AttrOf(line, "class") != "axis") {
            continue;
        }
        const double x1 = Num(line, "x1"), x2 = Num(line, "x2"), y1 = Num(line, "y1"), y2 = Num(line, "y2");
        if (x1 == x2 && std::fabs(y2 - y1) > 10 && a.left == 0) {
            a.left = x1;
            a.top = std::min(y1, y2);
        }
        if (y1 == y2 && std::fabs(x2 - x1) > 10 && a.right == 0) {
            a.bottom = y1;
            a.right = std::max(x1, x2);
        }
    }
    return a;
}

} // namespace

TEST(ReportHtmlPage, IsWellFormedAndSelfContained)
{
    const std::string html = ReportHtml(SampleData());
    KeepPage(html);
    EXPECT_NE(html.find("<link rel=\"icon\" href=\"data:,\" />"), std::string::npos);
    EXPECT_EQ(CountOf(html, "<style>"), 1u);
    for (const char* id :
         {"em-plot", "probability-plot", "motif-pair-plot", "perturbation-plot", "roc-plot", "pr-plot"}) {
        const std::string svg = SvgById(html, id);
        ASSERT_FALSE(svg.empty()) << id;
        const std::string open = svg.substr(0, svg.find('>') + 1);
        EXPECT_EQ(AttrOf(open, "viewBox"), "0 0 " + AttrOf(open, "width") + " " + AttrOf(open, "height")) << id;
        EXPECT_GT(CountOf(svg, "<text "), 5u) << id;
    }
    EXPECT_EQ(CountOf(html, "<svg "), 6u);
    for (const char* section : {"Convergence", "Observation models", "Predicted interactions", "Top motif pairs",
                                "Perturbation", "Against the truth", "Known motif pairs"}) {
        EXPECT_NE(html.find(std::string("<h2>") + section + "</h2>"), std::string::npos) << section;
    }
}

TEST(ReportHtmlPage, ShowsRunNameCommandLineAndSameBytesEachTime)
{
    const ReportData data = SampleData();
    const std::string html = ReportHtml(data);
    EXPECT_NE(html.find("<title>motifbind report: run-07</title>"), std::string::npos);
    EXPECT_NE(html.find("<h1>motifbind report: run-07</h1>"), std::string::npos);
    EXPECT_NE(html.find(data.command), std::string::npos);
    EXPECT_EQ(html.find("<div class=\"notice\""), std::string::npos);
    // The page ends naming the program and version that wrote it.
    const std::string end =
        std::string("<footer>Written by motifbind-report ") + MOTIFBIND_VERSION + ".</footer>\n</body>\n</html>\n";
    EXPECT_EQ(html.substr(html.size() - std::min(html.size(), end.size())), end);
    EXPECT_EQ(ReportHtml(data), html);
}

TEST(ReportHtmlPage, EscapesHostileNamesEverywhere)
{
    ReportData d = SampleData();
    const std::string h = HOSTILE;
    d.title = h;
    d.command = "motifbind " + h;
    d.complete = false;
    d.problem = h;
    d.emPhases[0].label = h;
    d.models[0].source = h;
    d.models[0].words = h;
    d.models[1].params = h;
    d.topMotifPairs[0].first = h;
    d.topMotifPairs[1].second = h;
    d.topPerturbations[0].what = h;
    d.truth->roc[0].label = h;
    d.truth->pr[1].label = h;
    d.tables.push_back(h);
    const std::string html = ReportHtml(d);
    KeepPage(html);
    EXPECT_EQ(html.find(h), std::string::npos);
    EXPECT_EQ(html.find("<img"), std::string::npos);
    // Title, h1, command, notice, legend, source, words, params, two pair
    // names twice each (bar label, tooltip, table), perturbation label and
    // tooltip, two curve legends, the table link text.
    EXPECT_GE(CountOf(html, HOSTILE_ESCAPED), 15u);
    // The file link is percent-encoded, not merely escaped.
    EXPECT_NE(html.find("href=\"%3Cimg%20src%3Dx%20onerror%3Dalert%281%29%3E%26%22%27\""), std::string::npos);
}

TEST(ReportHtmlPage, PartialRunStatesItsProblem)
{
    ReportData d = SampleData();
    d.complete = false;
    d.problem = "the log ends after EM round 40 of phase 2";
    d.topPerturbations.clear();
    const std::string html = ReportHtml(d);
    KeepPage(html);
    const std::size_t notice = html.find("<div class=\"notice\"");
    ASSERT_NE(notice, std::string::npos);
    EXPECT_LT(notice, html.find("<section"));
    const std::string box = html.substr(notice, html.find("</div>", notice) - notice);
    EXPECT_NE(box.find("Partial report"), std::string::npos);
    EXPECT_NE(box.find(d.problem), std::string::npos);
    EXPECT_NE(Section(html, "perturbation").find("no perturbation lines"), std::string::npos);
}

TEST(ReportHtmlPage, DegenerateEstimatesGetANoticeAndEachPhaseItsRow)
{
    ReportData d = SampleData();
    EXPECT_EQ(ReportHtml(d).find("Degenerate estimates"), std::string::npos);
    NoiseRate fpr;
    fpr.set = "domain-domain";
    fpr.model = 0;
    fpr.state = 0;
    fpr.prob0 = LoggedNumber{"1", 1.0};
    NoiseRate fnr = fpr;
    fnr.set = "protein-protein";
    fnr.state = 1;
    fnr.prob0 = LoggedNumber{"0.3", 0.3};
    d.degeneracy.rates = {fpr};
    d.degeneracy.certain = 5;
    d.planted = true;
    d.judgedPairs = 7;
    d.phases = {{"without domain-domain evidence", 0.718, {fnr}}, {"with " + std::string(HOSTILE), NaN, {fnr, fpr}}};
    const std::string html = ReportHtml(d);
    KeepPage(html);
    const std::size_t notice = html.find("<div class=\"notice\" role=\"note\" id=\"degenerate\">");
    ASSERT_NE(notice, std::string::npos);
    EXPECT_LT(notice, html.find("<section"));
    const std::string box = html.substr(notice, html.find("</div>", notice) - notice);
    EXPECT_NE(box.find("domain-domain model 0 (non-binding motif pairs) false-positive rate 0; 5 listed protein "
                       "pairs tied at interaction probability exactly 1."),
              std::string::npos)
        << box;

    const std::string phases = Section(html, "phases");
    EXPECT_NE(phases.find("the 7 motif pairs with at least 5 binding variables"), std::string::npos) << phases;
    EXPECT_NE(phases.find("<td class=\"num\">0.718</td>"), std::string::npos) << phases;
    EXPECT_NE(phases.find("<td class=\"num\">n/a</td>"), std::string::npos) << phases;
    EXPECT_NE(phases.find(HOSTILE_ESCAPED), std::string::npos);
    EXPECT_NE(phases.find("protein-protein model 0 (interacting pairs): false-negative rate 0.3<br />domain-domain "
                          "model 0 (non-binding motif pairs): false-positive rate 0 \u2013 degenerate"),
              std::string::npos)
        << phases;

    // Without planted affinities the table has no rank correlation column.
    d.planted = false;
    EXPECT_EQ(Section(ReportHtml(d), "phases").find("rank correlation"), std::string::npos);
}

TEST(ReportHtmlPage, TableLinksStayBesideTheReport)
{
    ReportData d = SampleData();
    d.tables = {"interactions.tsv", "../up.tsv", "https://example.org/x.tsv", "motif pairs.tsv"};
    const std::string html = ReportHtml(d);
    const std::string tables = Section(html, "tables");
    EXPECT_NE(tables.find("<a href=\"interactions.tsv\">interactions.tsv</a>"), std::string::npos);
    EXPECT_NE(tables.find("<a href=\"..%2Fup.tsv\">"), std::string::npos);
    EXPECT_NE(tables.find("<a href=\"https%3A%2F%2Fexample.org%2Fx.tsv\">"), std::string::npos);
    EXPECT_NE(tables.find("<a href=\"motif%20pairs.tsv\">motif pairs.tsv</a>"), std::string::npos);
    // Those four are all its links, each a plain name beside the page.
    EXPECT_EQ(Elements(tables, "a").size(), 4u);
}

TEST(ReportHtmlConvergence, OneLinePerPhaseWithEveryPoint)
{
    const ReportData d = SampleData();
    const std::string html = ReportHtml(d);
    const std::string svg = SvgById(html, "em-plot");
    const auto lines = Elements(svg, "polyline");
    ASSERT_EQ(lines.size(), 2u);
    const auto first = Points(lines[0]);
    const auto second = Points(lines[1]);
    ASSERT_EQ(first.size(), 5u);
    ASSERT_EQ(second.size(), 3u);
    EXPECT_NE(AttrOf(lines[0], "stroke"), AttrOf(lines[1], "stroke"));
    // Rounds run right, a higher log joint sits higher (smaller y).
    for (std::size_t i = 1; i < first.size(); ++i) {
        EXPECT_GT(first[i].first, first[i - 1].first);
        EXPECT_LE(first[i].second, first[i - 1].second);
    }
    // Both phases start at round 0, and the second where the first ended.
    EXPECT_DOUBLE_EQ(first[0].first, second[0].first);
    EXPECT_DOUBLE_EQ(first[4].second, second[0].second);
    // Legend and sentence name the phases.
    EXPECT_NE(svg.find(">without DDI</text>"), std::string::npos);
    EXPECT_NE(svg.find(">with DDI</text>"), std::string::npos);
    const std::string text = Section(html, "convergence");
    // Log joints with three significant digits, as every number of the page.
    EXPECT_NE(text.find("without DDI took 4 EM rounds and ended at log joint -1290; "
                        "with DDI took 2 EM rounds and ended at log joint -1250."),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("The final log joint is -1250."), std::string::npos);
    // Y ticks are plain numbers on a round step.
    EXPECT_NE(svg.find(">-1300</text>"), std::string::npos);
    EXPECT_NE(svg.find(">-1500</text>"), std::string::npos);
}

TEST(ReportHtmlConvergence, SkipsNonFinitePointsAndSaysWhenNothingIsLeft)
{
    ReportData d = SampleData();
    d.emPhases[0].points[2].second = NaN;
    d.emPhases[0].points[3].second = -INF;
    d.emPhases[1].points = {{0, NaN}, {1, NaN}};
    std::string html = ReportHtml(d);
    KeepPage(html);
    std::string svg = SvgById(html, "em-plot");
    const auto lines = Elements(svg, "polyline");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(Points(lines[0]).size(), 3u);
    EXPECT_NE(svg.find("with DDI (no finite values)"), std::string::npos);
    EXPECT_NE(Section(html, "convergence").find("with DDI has no finite log joint (2 values)"), std::string::npos);

    d.emPhases[0].points = {{0, NaN}};
    html = ReportHtml(d);
    EXPECT_EQ(SvgById(html, "em-plot"), "");
    EXPECT_NE(Section(html, "convergence").find("nothing to plot"), std::string::npos);

    // One finite point still shows, as a marked point.
    d.emPhases = {{"only", {{0, -5}}}};
    svg = SvgById(ReportHtml(d), "em-plot");
    EXPECT_EQ(CountOf(svg, "<polyline "), 1u);
    EXPECT_EQ(CountOf(svg, "<circle "), 1u);
}

TEST(ReportHtmlHistogram, BarCountsAddUpToTheProbabilities)
{
    const ReportData d = SampleData();
    const std::string svg = SvgById(ReportHtml(d), "probability-plot");
    const auto counts = BarCounts(svg);
    long long total = 0;
    for (const long long c : counts) {
        total += c;
    }
    EXPECT_EQ(total, static_cast<long long>(d.interactionProbabilities.size()));
    // 0, 0.01, 0.02 in the first bin; 0.97 and both 1s in the last; 0.5 opens bin 11.
    EXPECT_NE(svg.find("<title>0\u20130.05: 3</title>"), std::string::npos);
    EXPECT_NE(svg.find("<title>0.95\u20131: 3</title>"), std::string::npos);
    EXPECT_NE(svg.find("<title>0.5\u20130.55: 1</title>"), std::string::npos);
    EXPECT_NE(svg.find("<title>0.3\u20130.35: 2</title>"), std::string::npos);
    // Drawn heights are proportional to the counts, bars side by side from
    // the left end of the axis to the right.
    const auto rects = Elements(svg, "rect");
    ASSERT_EQ(rects.size(), counts.size());
    const double perPair = Num(rects[0], "height") / static_cast<double>(counts[0]);
    double previousX = 0;
    for (std::size_t i = 0; i < rects.size(); ++i) {
        EXPECT_NEAR(Num(rects[i], "height"), perPair * static_cast<double>(counts[i]), 0.15);
        EXPECT_GT(Num(rects[i], "x"), previousX);
        previousX = Num(rects[i], "x");
    }
    const Area area = PlotArea(svg);
    EXPECT_NEAR(Num(rects.front(), "x"), area.left + 0.5, 0.1);
    EXPECT_NEAR(Num(rects.back(), "x") + Num(rects.back(), "width"), area.right - 0.5, 0.15);
    EXPECT_NEAR(Num(rects[0], "y") + Num(rects[0], "height"), area.bottom, 0.1);
}

TEST(ReportHtmlHistogram, LeavesOutValuesThatAreNotNumbers)
{
    ReportData d;
    d.interactionProbabilities = {NaN, INF, -1e-12, 1 + 1e-12, 0.42};
    std::string html = ReportHtml(d);
    const auto counts = BarCounts(SvgById(html, "probability-plot"));
    EXPECT_EQ(counts, (std::vector<long long>{1, 1, 1}));
    EXPECT_NE(Section(html, "interactions").find("2 probabilities are not a finite number"), std::string::npos);

    d.interactionProbabilities = {NaN};
    html = ReportHtml(d);
    EXPECT_EQ(SvgById(html, "probability-plot"), "");
    EXPECT_NE(Section(html, "interactions").find("nothing to plot"), std::string::npos);
}

TEST(ReportHtmlBars, MotifPairsByAffinityWithTheirTable)
{
    const ReportData d = SampleData();
    const std::string html = ReportHtml(d);
    const std::string svg = SvgById(html, "motif-pair-plot");
    const auto rects = Elements(svg, "rect");
    ASSERT_EQ(rects.size(), 3u);
    // Lengths in proportion to the affinities, from one zero line, top down.
    const double perUnit = Num(rects[0], "width") / 0.93;
    EXPECT_NEAR(Num(rects[1], "width"), perUnit * 0.71, 0.15);
    EXPECT_NEAR(Num(rects[2], "width"), perUnit * 0.2, 0.15);
    for (std::size_t i = 1; i < rects.size(); ++i) {
        EXPECT_EQ(AttrOf(rects[i], "x"), AttrOf(rects[0], "x"));
        EXPECT_GT(Num(rects[i], "y"), Num(rects[i - 1], "y"));
    }
    EXPECT_NE(svg.find(">Pkinase \u2013 SH2</text>"), std::string::npos);
    EXPECT_NE(svg.find(">0.93</text>"), std::string::npos);
    const std::string section = Section(html, "motif-pairs");
    EXPECT_EQ(CountOf(section, "<tr><td class=\"name\">"), 3u);
    EXPECT_NE(
        section.find("<tr><td class=\"name\">SH3_1</td><td class=\"name\">Pro-rich</td><td class=\"num\">0.71</td>"
                     "<td class=\"num\">0.6</td><td class=\"num\">9</td><td class=\"num\">0</td>"
                     "<td class=\"num\">0</td></tr>"),
        std::string::npos)
        << section;
    EXPECT_NE(section.find("<th class=\"num\">explains, of the top 3</th>"), std::string::npos) << section;
    // Without a top-interactions table there is nothing to explain.
    ReportData none = d;
    none.topInteractions.reset();
    EXPECT_EQ(Section(ReportHtml(none), "motif-pairs").find("explains"), std::string::npos);
}

TEST(ReportHtmlBars, PerturbationsAroundZeroBySign)
{
    ReportData d = SampleData();
    d.topPerturbations.push_back({std::string(80, 'x'), NaN});
    const std::string svg = SvgById(ReportHtml(d), "perturbation-plot");
    const auto rects = Elements(svg, "rect");
    ASSERT_EQ(rects.size(), 3u);
    // Negative bars end at the zero line, positive ones start there.
    const double zero = Num(rects[2], "x");
    EXPECT_NEAR(Num(rects[0], "x") + Num(rects[0], "width"), zero, 0.15);
    EXPECT_NEAR(Num(rects[1], "x") + Num(rects[1], "width"), zero, 0.15);
    EXPECT_NEAR(Num(rects[0], "width") / Num(rects[2], "width"), 42.5 / 3.25, 0.1);
    EXPECT_EQ(AttrOf(rects[0], "fill"), AttrOf(rects[1], "fill"));
    EXPECT_NE(AttrOf(rects[0], "fill"), AttrOf(rects[2], "fill"));
    EXPECT_NE(svg.find(">-42.5</text>"), std::string::npos);
    EXPECT_NE(svg.find(">3.25</text>"), std::string::npos);
    // The long label wraps onto lines of its own, every character kept;
    // its value is n/a.
    EXPECT_EQ(svg.find("\u2026"), std::string::npos);
    const std::size_t label = svg.find("<tspan");
    ASSERT_NE(label, std::string::npos) << svg;
    const std::string text = svg.substr(label, svg.find("</text>", label) - label);
    EXPECT_GE(CountOf(text, "<tspan "), 2u) << text;
    std::string content;
    bool inTag = false;
    for (const char c : text) {
        inTag = c == '<' ? true : c == '>' ? false : inTag;
        content += !inTag && c != '>' ? std::string(1, c) : std::string();
    }
    EXPECT_EQ(content, std::string(80, 'x')) << text;
    EXPECT_NE(svg.find(">n/a</text>"), std::string::npos);
}

TEST(ReportHtmlHeldOut, RocAndPrCurvesWithAreasLegendAndChance)
{
    const ReportData d = SampleData();
    const std::string html = ReportHtml(d);
    const std::string roc = SvgById(html, "roc-plot");
    const auto lines = Elements(roc, "polyline");
    ASSERT_EQ(lines.size(), 2u);
    const auto model = Points(lines[0]);
    ASSERT_EQ(model.size(), d.truth->roc[0].points.size());
    EXPECT_EQ(Points(lines[1]).size(), d.truth->roc[1].points.size());
    // (0, 0) at the bottom left of the frame, (1, 1) at the top right, and
    // (0.2, 0.75) in proportion between.
    const Area a = PlotArea(roc);
    EXPECT_NEAR(model.front().first, a.left, 0.1);
    EXPECT_NEAR(model.front().second, a.bottom, 0.1);
    EXPECT_NEAR(model.back().first, a.right, 0.1);
    EXPECT_NEAR(model.back().second, a.top, 0.1);
    EXPECT_NEAR(model[2].first, a.left + 0.2 * (a.right - a.left), 0.1);
    EXPECT_NEAR(model[2].second, a.bottom - 0.75 * (a.bottom - a.top), 0.1);
    // Distinct in colour and dash, each named with its area.
    EXPECT_NE(AttrOf(lines[0], "stroke"), AttrOf(lines[1], "stroke"));
    EXPECT_NE(AttrOf(lines[0], "stroke-dasharray"), AttrOf(lines[1], "stroke-dasharray"));
    EXPECT_NE(roc.find(">motifbind (AUC 0.83)</text>"), std::string::npos);
    EXPECT_NE(roc.find(">degree-only baseline (AUC 0.61)</text>"), std::string::npos);
    EXPECT_EQ(CountOf(roc, "class=\"chance\""), 2u); // the diagonal and its legend key

    const std::string pr = SvgById(html, "pr-plot");
    EXPECT_EQ(CountOf(pr, "<polyline "), 2u);
    // The precision-recall area is the average precision, not an AUC.
    EXPECT_NE(pr.find(">motifbind (average precision 0.64)</text>"), std::string::npos) << pr;
    EXPECT_EQ(pr.find("AUC"), std::string::npos);
    EXPECT_EQ(CountOf(pr, "class=\"chance\""), 0u);
    EXPECT_NE(Section(html, "held-out")
                  .find("40 interacting pairs and 400 non-interacting pairs that the "
                        "prediction file ranks; 3 more are missing from it."),
              std::string::npos);
}

TEST(ReportHtmlHeldOut, AreasInATableAndWhetherTheTruthWasSeen)
{
    ReportData d = SampleData();
    std::string held = Section(ReportHtml(d), "held-out");
    // Each area by its right name, chance beside: 0.5 and the share of
    // interacting pairs, 40 of 440.
    EXPECT_NE(held.find("<th class=\"num\">ROC AUC</th><th class=\"num\">average precision</th>"), std::string::npos);
    EXPECT_NE(held.find("<tr><td>motifbind</td><td class=\"num\">0.83</td><td class=\"num\">0.64</td></tr>"),
              std::string::npos)
        << held;
    EXPECT_NE(held.find("<tr><td>degree-only baseline</td><td class=\"num\">0.61</td><td class=\"num\">0.22</td>"),
              std::string::npos);
    EXPECT_NE(held.find("<tr><td>chance</td><td class=\"num\">0.5</td><td class=\"num\">0.0909</td></tr>"),
              std::string::npos);
    EXPECT_NE(held.find("<strong>Held out: none of the 443 truth pairs has an observation in this run"),
              std::string::npos);

    d.truth->observed = 443;
    d.truth->heldOut = 0;
    held = Section(ReportHtml(d), "held-out");
    EXPECT_NE(held.find("<strong>In-sample: all 443 truth pairs carry observations in this run"), std::string::npos);
    d.truth->observed = 3;
    d.truth->heldOut = 440;
    held = Section(ReportHtml(d), "held-out");
    EXPECT_NE(held.find("<strong>Mixed: 3 of the 443 truth pairs carry observations in this run (in-sample, judged "
                        "by posteriors given them) and 440 have none (held out).</strong>"),
              std::string::npos);
}

TEST(ReportHtmlHeldOut, CircularKnownPairsAndUnknownNamesGetNotices)
{
    ReportData d = SampleData();
    d.known->circular = 2;
    d.known->knownOutside = 10;
    d.known->evidenceFile = "ddi_observations.txt";
    d.known->rows[0].foundOutside = 1;
    d.known->rows[0].chanceOutside = 0.125;
    d.truth->unknown = {4, 3, {"O99999", "Q<1>", "X"}};
    const std::string html = ReportHtml(d);
    KeepPage(html);
    const std::size_t circular = html.find("<div class=\"notice\" role=\"note\" id=\"circular\">");
    ASSERT_NE(circular, std::string::npos);
    EXPECT_LT(circular, html.find("<section"));
    EXPECT_NE(html.find("<code class=\"opt\">--known</code> lists 2 motif pairs that the run&#39;s domain-domain "
                        "evidence (ddi_observations.txt) already lists: their enrichment is circular"),
              std::string::npos);
    const std::string known = Section(html, "known");
    EXPECT_NE(known.find("count only the 10 known candidate pairs it does not list"), std::string::npos) << known;
    EXPECT_NE(known.find("<tr><td class=\"num\">10</td><td class=\"num\">3</td><td class=\"num\">0.15</td>"
                         "<td class=\"num\">1</td><td class=\"num\">0.125</td></tr>"),
              std::string::npos)
        << known;
    const std::size_t unknown = html.find("id=\"unknown-names\"");
    ASSERT_NE(unknown, std::string::npos);
    EXPECT_NE(html.find("<code class=\"opt\">--truth</code> names 3 proteins the run does not know "
                        "(&#39;O99999&#39;, &#39;Q&lt;1&gt;&#39;, &#39;X&#39;): 4 pairs left out"),
              std::string::npos);
    EXPECT_NE(Section(html, "held-out").find("names 3 proteins the run does not know"), std::string::npos);

    // Nothing circular, nothing unknown: no notice.
    const std::string plain = ReportHtml(SampleData());
    EXPECT_EQ(plain.find("id=\"circular\""), std::string::npos);
    EXPECT_EQ(plain.find("id=\"unknown-names\""), std::string::npos);
    EXPECT_EQ(Section(plain, "known").find("not in the evidence"), std::string::npos);
}

TEST(ReportHtmlTop, InteractionsByDisplayNameWithStatusAndMediators)
{
    const std::string html = ReportHtml(SampleData());
    const std::string top = Section(html, "top-interactions");
    ASSERT_FALSE(top.empty());
    EXPECT_NE(html.find("<li><a href=\"#top-interactions\">Top interactions</a></li>"), std::string::npos);
    EXPECT_NE(top.find("<th>truth</th><th>mediating motif pairs</th>"), std::string::npos);
    // Name first, accession beside; a pair without names shows its ids.
    EXPECT_NE(top.find("<tr><td class=\"num\">1</td><td class=\"protein\"><strong>ABC1</strong> <span "
                       "class=\"id\">P12345</span></td><td class=\"protein\"><strong>Ste5 scaffold protein</strong> "
                       "<span class=\"id\">Q9Y6K9</span></td><td class=\"num\">0.97</td><td>observed</td>"
                       "<td>interacting</td><td class=\"name\"><span class=\"line\">Pkinase (PF00069) \u2013 SH2 "
                       "(PF00017) 0.93</span><span class=\"line\">SH3_1 (PF00018) \u2013 Pro-rich (PF00000) "
                       "0.41</span><span class=\"line\">+ 2 more</span></td></tr>"),
              std::string::npos)
        << top;
    EXPECT_NE(top.find("<td class=\"protein\">P67890</td>"), std::string::npos);
    EXPECT_NE(top.find("<td>held out</td><td>not interacting</td><td class=\"name\"><span class=\"line\">WD40 "
                       "(PF00400) \u2013 WD40 (PF00400) &lt; 1e-6 <span class=\"prior\">prior</span></span></td>"),
              std::string::npos)
        << top;
    EXPECT_NE(top.find("<td>new</td><td>\u2013</td><td>\u2013</td></tr>"), std::string::npos) << top;
    EXPECT_NE(top.find("The 3 listed protein pairs most likely to interact, of 11 (5 at interaction probability 0.5 "
                       "or more)."),
              std::string::npos);
    // What "explains" means is said, and the counts follow it.
    EXPECT_NE(top.find("A motif pair explains an interaction when it is the pair&#39;s most probable mediating "
                       "motif pair."),
              std::string::npos);
    EXPECT_NE(top.find("<tr><td class=\"name\">Pkinase (PF00069) \u2013 SH2 (PF00017)</td><td class=\"num\">0.93</td>"
                       "<td class=\"num\">1</td><td class=\"num\">3</td></tr>"),
              std::string::npos);

    // Without --truth no truth column; without binding variables no
    // mediators and no explaining table.
    ReportData d = SampleData();
    d.topInteractions->truth = false;
    d.topInteractions->bindings = false;
    d.topInteractions->explainers.clear();
    const std::string plain = Section(ReportHtml(d), "top-interactions");
    EXPECT_EQ(plain.find("<th>truth</th>"), std::string::npos);
    EXPECT_EQ(plain.find("explaining-motif-pairs"), std::string::npos);
    EXPECT_NE(plain.find("lists no binding variables"), std::string::npos);
    d.topInteractions->rows.clear();
    EXPECT_NE(Section(ReportHtml(d), "top-interactions").find("lists no protein pairs"), std::string::npos);
}

TEST(ReportHtmlPage, TheCommandBreaksAtBlanksNotInsideWords)
{
    const std::string html = ReportHtml(SampleData());
    const std::size_t rule = html.find("pre.command {");
    ASSERT_NE(rule, std::string::npos);
    const std::string css = html.substr(rule, html.find('}', rule) - rule);
    EXPECT_EQ(css.find("break-all"), std::string::npos) << css;
    EXPECT_NE(css.find("white-space: pre-wrap"), std::string::npos) << css;
    EXPECT_NE(css.find("overflow-wrap: anywhere"), std::string::npos) << css;
}

TEST(ReportHtmlHeldOut, SectionsOnlyWithTruthAndKnownPairs)
{
    ReportData d = SampleData();
    std::string html = ReportHtml(d);
    const std::string known = Section(html, "known");
    EXPECT_NE(known.find("12 known interacting motif pairs are candidate pairs, out of 800 candidate pairs."),
              std::string::npos);
    EXPECT_NE(known.find("<tr><td class=\"num\">100</td><td class=\"num\">8</td><td class=\"num\">1.5</td></tr>"),
              std::string::npos);

    d.truth->roc[1].points = {};
    d.truth->pr = {{"motifbind", {{NaN, NaN}}, NaN}};
    html = ReportHtml(d);
    EXPECT_EQ(CountOf(SvgById(html, "roc-plot"), "<polyline "), 1u);
    EXPECT_NE(html.find("degree-only baseline (no finite points)"), std::string::npos);
    EXPECT_EQ(SvgById(html, "pr-plot"), "");
    EXPECT_NE(Section(html, "held-out").find("There is no precision-recall curve"), std::string::npos);

    d.truth.reset();
    d.known.reset();
    html = ReportHtml(d);
    KeepPage(html);
    EXPECT_EQ(html.find("held-out"), std::string::npos);
    EXPECT_EQ(html.find("roc-plot"), std::string::npos);
    EXPECT_EQ(html.find("Known motif pairs"), std::string::npos);
}

TEST(ReportHtmlEmpty, EachEmptyPlotIsASentence)
{
    ReportData d;
    d.complete = false;
    std::string html = ReportHtml(d);
    KeepPage(html);
    EXPECT_EQ(html.find("<svg"), std::string::npos);
    EXPECT_NE(html.find("<title>motifbind report</title>"), std::string::npos);
    EXPECT_NE(html.find("does not echo the command line"), std::string::npos);
    EXPECT_NE(html.find("<strong>Partial report:</strong> the run did not finish."), std::string::npos);
    EXPECT_NE(Section(html, "convergence").find("no EM rounds"), std::string::npos);
    EXPECT_NE(Section(html, "models").find("no learned observation models"), std::string::npos);
    EXPECT_NE(Section(html, "interactions").find("No protein pairs"), std::string::npos);
    EXPECT_NE(Section(html, "motif-pairs").find("no motif pair affinities"), std::string::npos);
    EXPECT_NE(Section(html, "perturbation").find("no perturbation lines"), std::string::npos);
    EXPECT_NE(Section(html, "tables").find("No tables"), std::string::npos);

    // Entries whose values are all NaN: said, not drawn.
    d.topMotifPairs = {{"a", "b", NaN, NaN, 0}};
    d.topPerturbations = {{"a \u2013 b", NaN}};
    d.emPhases = {{"phase", {}}};
    html = ReportHtml(d);
    EXPECT_EQ(html.find("<svg"), std::string::npos);
    EXPECT_NE(Section(html, "motif-pairs").find("No affinity is a finite number"), std::string::npos);
    EXPECT_NE(Section(html, "motif-pairs").find("<td class=\"num\">n/a</td>"), std::string::npos);
    EXPECT_NE(Section(html, "perturbation").find("No perturbation effect is a finite number"), std::string::npos);
    EXPECT_NE(Section(html, "convergence").find("phase has no EM rounds"), std::string::npos);
}

TEST(ReportHtmlNumbers, ExtremeValuesGiveFiniteCompactCoordinates)
{
    ReportData d = SampleData();
    d.emPhases = {{"a", {{0, -1e300}, {1, -1e299}, {2, 1e300}}},
                  {"b", {{0, std::numeric_limits<double>::lowest()}, {1e15, std::numeric_limits<double>::max()}}}};
    d.topMotifPairs = {{"tiny", "pair", 1e-300, 4.9e-324, 1}, {"big", "pair", 1e300, 1, 2}};
    d.topPerturbations = {{"down", std::numeric_limits<double>::lowest()}, {"up", std::numeric_limits<double>::max()}};
    d.interactionProbabilities = {1e-300, 4.9e-324};
    const std::string html = ReportHtml(d);
    KeepPage(html);
    EXPECT_EQ(html.find("e+"), std::string::npos);
    EXPECT_EQ(html.find("inf"), std::string::npos);
    // No number printed as "nan" (the word may stand inside others, as in "provenance").
    EXPECT_FALSE(std::regex_search(Lower(html), std::regex("[^a-z]nan[^a-z]")));
    for (const char* id : {"em-plot", "motif-pair-plot", "perturbation-plot", "probability-plot"}) {
        const std::string svg = SvgById(html, id);
        ASSERT_FALSE(svg.empty()) << id;
        const std::string open = svg.substr(0, svg.find('>') + 1);
        const double width = Num(open, "width");
        const double height = Num(open, "height");
        for (const char* tag : {"line", "rect", "text"}) {
            for (const auto& e : Elements(svg, tag)) {
                for (const char* a : {"x", "x1", "x2", "width"}) {
                    if (!AttrOf(e, a).empty()) {
                        EXPECT_TRUE(Num(e, a) >= 0 && Num(e, a) <= width) << id << " " << e;
                    }
                }
                for (const char* a : {"y", "y1", "y2", "height"}) {
                    if (!AttrOf(e, a).empty()) {
                        EXPECT_TRUE(Num(e, a) >= 0 && Num(e, a) <= height) << id << " " << e;
                    }
                }
            }
        }
        for (const auto& line : Elements(svg, "polyline")) {
            for (const auto& [x, y] : Points(line)) {
                EXPECT_TRUE(x >= 0 && x <= width && y >= 0 && y <= height) << id << " " << line;
            }
        }
    }
    // The tiny ones as a bound, not as digits no estimate carries.
    EXPECT_EQ(html.find("1e-300"), std::string::npos);
    EXPECT_NE(html.find(">&lt; 1e-6</td>"), std::string::npos);
    EXPECT_NE(html.find(">1e300</text>"), std::string::npos);
}

TEST(SvgText, ReadableNumbersAndEscapes)
{
    EXPECT_EQ(ReadableNumber(0), "0");
    EXPECT_EQ(ReadableNumber(-0.0), "0");
    EXPECT_EQ(ReadableNumber(-120.5), "-120.5");
    EXPECT_EQ(ReadableNumber(0.0021), "0.0021");
    EXPECT_EQ(ReadableNumber(0.30000000000000004), "0.3");
    EXPECT_EQ(ReadableNumber(2.0 / 3.0), "0.6667");
    EXPECT_EQ(ReadableNumber(2.0 / 3.0, 2), "0.67");
    EXPECT_EQ(ReadableNumber(123456.789), "123457");
    EXPECT_EQ(ReadableNumber(-1e-9), "-1e-9");
    EXPECT_EQ(ReadableNumber(1.5e-7), "1.5e-7");
    EXPECT_EQ(ReadableNumber(1e300), "1e300");
    EXPECT_EQ(ReadableNumber(-2.5e12), "-2.5e12");
    EXPECT_EQ(ReadableNumber(std::numeric_limits<double>::denorm_min()), "4.941e-324");
    EXPECT_EQ(ReadableNumber(NaN), "n/a");
    EXPECT_EQ(ReadableNumber(-INF), "n/a");
    EXPECT_EQ(EscapeHtml(HOSTILE), HOSTILE_ESCAPED);
    EXPECT_EQ(EscapeHtml("Pkinase \u2013 SH2"), "Pkinase \u2013 SH2");
}

TEST(SvgText, NiceTicksCoverTheRangeOnRoundSteps)
{
    SvgTicks t = NiceTicks(0, 1, 6, false);
    EXPECT_EQ(t.labels, (std::vector<std::string>{"0", "0.2", "0.4", "0.6", "0.8", "1"}));
    t = NiceTicks(-1500.5, -1249.5, 6, false);
    EXPECT_DOUBLE_EQ(t.step, 100);
    EXPECT_LE(t.lo, -1500.5);
    EXPECT_GE(t.hi, -1249.5);
    EXPECT_EQ(t.labels, (std::vector<std::string>{"-1600", "-1500", "-1400", "-1300", "-1200"}));
    t = NiceTicks(0, 3, 8, true);
    EXPECT_EQ(t.labels, (std::vector<std::string>{"0", "1", "2", "3"}));
    t = NiceTicks(5, 5, 6, false);
    EXPECT_LT(t.lo, 5);
    EXPECT_GT(t.hi, 5);
    t = NiceTicks(1e6, 1e6 + 0.5, 6, false);
    EXPECT_EQ(t.labels[1], "1000000.1");
    // The ends of the doubles: finite ticks, a handful of them.
    for (const auto& [lo, hi] : std::vector<std::pair<double, double>>{
             {std::numeric_limits<double>::lowest(), std::numeric_limits<double>::max()},
             {0, std::numeric_limits<double>::denorm_min()},
             {1e17, 1e17},
             {std::numeric_limits<double>::max(), std::numeric_limits<double>::max()},
             {NaN, 1}}) {
        t = NiceTicks(lo, hi, 6, false);
        EXPECT_GE(t.values.size(), 2u);
        EXPECT_LE(t.values.size(), 25u);
        EXPECT_LT(t.lo, t.hi);
        for (const double v : t.values) {
            EXPECT_TRUE(std::isfinite(v));
        }
        for (const auto& l : t.labels) {
            EXPECT_EQ(l.find("e+"), std::string::npos);
            EXPECT_NE(l, "n/a");
        }
    }
}

#include "tools/report/ReportHtml.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "motifbind/Version.h"
#include "tools/report/Judgement.h"
#include "tools/report/PageNumber.h"
#include "tools/report/Svg.h"
#include "tools/runfiles/BindingSupport.h"

namespace {

constexpr std::size_t PROBABILITY_BINS = 20;

// System fonts only: nothing is fetched.
const char* const STYLE = R"(
body { font-family: system-ui, -apple-system, "Segoe UI", Helvetica, Arial, sans-serif; color: #222;
  max-width: 960px; margin: 24px auto; padding: 0 16px; line-height: 1.45; }
h1 { font-size: 1.6em; margin-bottom: 0.2em; }
h2 { font-size: 1.25em; margin-top: 1.8em; border-bottom: 1px solid #ddd; padding-bottom: 0.2em; }
pre.command { background: #f6f6f6; border: 1px solid #e2e2e2; padding: 8px 10px; white-space: pre-wrap;
  overflow-wrap: anywhere; font-size: 0.9em; }
.notice { background: #fff4d6; border: 1px solid #e0b44c; border-left: 6px solid #e0a000; padding: 10px 14px;
  margin: 16px 0; }
nav ul { list-style: none; padding: 0; margin: 0.5em 0; }
nav li { display: inline; margin-right: 1em; }
a { color: #0060a0; }
table { border-collapse: collapse; margin: 0.8em 0; font-size: 0.92em; }
th, td { border-bottom: 1px solid #e2e2e2; padding: 4px 10px; text-align: left; vertical-align: top; }
th { background: #f3f3f3; font-weight: 600; }
td.num, th.num { text-align: right; font-variant-numeric: tabular-nums; }
td.num, td.set { white-space: nowrap; }
td code { font-size: 0.95em; }
td.name, td code { overflow-wrap: anywhere; }
td.protein { overflow-wrap: break-word; }
td .id { color: #666; font-size: 0.9em; }
td .line { display: block; }
td .prior { color: #666; font-style: italic; }
code.opt { white-space: nowrap; font-size: 0.95em; }
h3 { font-size: 1.05em; margin-top: 1.4em; }
.figures { display: flex; flex-wrap: wrap; gap: 16px; }
figure { margin: 0.6em 0; }
.figures figure { flex: 0 1 440px; }
svg { display: block; max-width: 100%; height: auto; }
svg text { font-size: 12px; fill: #222; }
svg text.label { font-size: 13px; }
svg .grid { stroke: #e8e8e8; stroke-width: 1; }
svg .axis { stroke: #444; stroke-width: 1; }
svg .series { stroke-width: 2; stroke-linejoin: round; }
svg .key { stroke-width: 2; }
svg .chance { stroke: #999; stroke-width: 1; stroke-dasharray: 4 4; }
.empty { color: #666; font-style: italic; }
table.record td, pre.record { overflow-wrap: anywhere; white-space: pre-wrap; }
footer { margin-top: 3em; color: #777; font-size: 0.85em; }
)";

std::string Esc(const std::string& text) { return EscapeHtml(text); }

// Text of a paragraph: escaped, the program's options kept whole on a
// line (a browser may break after the hyphens of "--truth").
std::string Prose(const std::string& text)
{
    std::string out = Esc(text);
    for (const char* option : {"--truth", "--known", "--top"}) {
        const std::string o = option;
        const std::string code = "<code class=\"opt\">" + o + "</code>";
        for (std::size_t at = out.find(o); at != std::string::npos; at = out.find(o, at + code.size())) {
            out.replace(at, o.size(), code);
        }
    }
    return out;
}

std::string Count(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string Empty(const std::string& sentence) { return "<p class=\"empty\">" + Esc(sentence) + "</p>\n"; }

std::string Num(double x) { return "<td class=\"num\">" + Esc(PageNumber(x)) + "</td>"; }

std::string Int(std::size_t n) { return "<td class=\"num\">" + std::to_string(n) + "</td>"; }

std::string Notice(const char* id, const char* label, const std::string& text)
{
    return std::string("<div class=\"notice\" role=\"note\" id=\"") + id + "\"><strong>" + label + ":</strong> " +
           text + "</div>\n";
}

std::string Figure(const std::string& svg, const std::string& caption)
{
    return "<figure>\n" + svg + "<figcaption>" + Esc(caption) + "</figcaption>\n</figure>\n";
}

bool HasFinitePoint(const std::vector<std::pair<double, double>>& points)
{
    for (const auto& [x, y] : points) {
        if (std::isfinite(x) && std::isfinite(y)) {
            return true;
        }
    }
    return false;
}

// A relative link to a file beside the report: characters other than
// letters, digits and ._- are percent-encoded, so no name becomes a URL that
// leaves the folder.
std::string FileHref(const std::string& name)
{
    static const char* const HEX = "0123456789ABCDEF";
    std::string out;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '.' ||
                           u == '_' || u == '-';
        if (plain) {
            out += c;
        } else {
            out += '%';
            out += HEX[u >> 4];
            out += HEX[u & 15];
        }
    }
    return out;
}

std::string PhaseName(const Series& s, std::size_t i)
{
    return s.label.empty() ? "Phase " + std::to_string(i + 1) : s.label;
}

std::string Convergence(const ReportData& data)
{
    std::string out = "<section id=\"convergence\">\n<h2>Convergence</h2>\n";
    std::size_t drawable = 0;
    for (const auto& s : data.emPhases) {
        drawable += HasFinitePoint(s.points) ? 1 : 0;
    }
    if (data.emPhases.empty()) {
        return out + Empty("The log has no EM rounds to plot.") + "</section>\n";
    }

    // One clause per phase: its rounds and where its log joint ended.
    std::string sentence;
    double final = std::nan("");
    for (std::size_t i = 0; i < data.emPhases.size(); ++i) {
        const Series& s = data.emPhases[i];
        std::string clause = PhaseName(s, i);
        if (s.points.empty()) {
            clause += " has no EM rounds";
        } else if (!HasFinitePoint(s.points)) {
            clause += " has no finite log joint (" + Count(s.points.size(), "value", "values") + ")";
        } else {
            const double rounds = s.points.back().first;
            double last = std::nan("");
            for (const auto& [x, y] : s.points) {
                if (std::isfinite(x) && std::isfinite(y)) {
                    last = y;
                }
            }
            final = last;
            clause += " took " + ReadableNumber(rounds, 12) + (rounds == 1.0 ? " EM round" : " EM rounds") +
                      " and ended at log joint " + PageNumber(last);
        }
        sentence += (i == 0 ? "" : "; ") + clause;
    }
    sentence += ".";
    if (std::isfinite(final)) {
        sentence += " The final log joint is " + PageNumber(final) + ".";
    }
    out += "<p>" + Esc(sentence) + "</p>\n";
    if (drawable == 0) {
        return out + Empty("No log joint value in the log is a finite number, so there is nothing to plot.") +
               "</section>\n";
    }

    SvgLineChart chart;
    chart.id = "em-plot";
    chart.caption = "Log joint by EM round";
    chart.xLabel = "EM round";
    chart.yLabel = "log joint";
    chart.integerX = true;
    for (std::size_t i = 0; i < data.emPhases.size(); ++i) {
        std::string label = PhaseName(data.emPhases[i], i);
        if (!HasFinitePoint(data.emPhases[i].points)) {
            label += " (no finite values)";
        }
        chart.lines.push_back({label, data.emPhases[i].points});
    }
    out += Figure(DrawLineChart(chart),
                  "Log joint probability of the data and the model after each EM round, one line per phase; "
                  "it should rise and level off.");
    return out + "</section>\n";
}

std::string Models(const ReportData& data)
{
    std::string out = "<section id=\"models\">\n<h2>Observation models</h2>\n";
    if (data.models.empty()) {
        return out + Empty("The log holds no learned observation models.") + "</section>\n";
    }
    out +=
        "<p>How each source of observations relates to true interaction, as learned by the last finished "
        "phase.</p>\n";
    out +=
        "<table>\n<thead><tr><th>set</th><th class=\"num\">id</th><th>source</th><th>type</th>"
        "<th>parameters</th><th>meaning</th></tr></thead>\n<tbody>\n";
    for (const auto& m : data.models) {
        out += "<tr><td class=\"set\">" + Esc(m.set) + "</td><td class=\"num\">" + std::to_string(m.id) + "</td><td>" +
               (m.source.empty() ? std::string("\u2013") : Esc(m.source)) + "</td><td>" + Esc(m.type) +
               "</td><td><code>" + Esc(m.params) + "</code></td><td>" + Esc(m.words) + "</td></tr>\n";
    }
    return out + "</tbody>\n</table>\n</section>\n";
}

std::string RateText(const NoiseRate& r)
{
    return r.set + " model " + std::to_string(r.model) + " (" + r.Serves() + "): " + r.RateName() + " " +
           PageNumber(r.Rate()) + (r.Degenerate() ? " – degenerate" : "");
}

std::string Phases(const ReportData& data)
{
    std::string out = "<section id=\"phases\">\n<h2>Recovery by phase</h2>\n";
    if (data.phases.empty()) {
        return out + Empty("The log has no finished EM phase.") + "</section>\n";
    }
    out += "<p>What each EM phase had learned when it ended: a later phase can lose what an earlier one found.";
    if (data.planted) {
        out += " Rank correlation: Spearman's, of the learned against the planted affinities of the " +
               std::to_string(data.judgedPairs) + " motif pairs with at least " +
               std::to_string(MIN_BINDING_VARIABLES) + " binding variables on observed protein pairs.";
    }
    out += "</p>\n<table>\n<thead><tr><th>phase</th>";
    if (data.planted) {
        out += "<th class=\"num\">rank correlation</th>";
    }
    out += "<th>learned binary noise rates</th></tr></thead>\n<tbody>\n";
    for (const PhaseRecovery& p : data.phases) {
        out += "<tr><td>" + Esc(p.label) + "</td>";
        if (data.planted) {
            out += Num(p.affinityCorrelation);
        }
        std::string rates;
        for (const NoiseRate& r : p.rates) {
            rates += (rates.empty() ? "" : "<br />") + Esc(RateText(r));
        }
        out += "<td>" + (rates.empty() ? std::string("–") : rates) + "</td></tr>\n";
    }
    return out + "</tbody>\n</table>\n</section>\n";
}

std::string Interactions(const ReportData& data)
{
    std::string out = "<section id=\"interactions\">\n<h2>Predicted interactions</h2>\n";
    const auto& probs = data.interactionProbabilities;
    if (probs.empty()) {
        return out + Empty("No protein pairs with a predicted interaction probability were listed.") + "</section>\n";
    }
    std::vector<long long> counts(PROBABILITY_BINS, 0);
    std::size_t finite = 0;
    std::size_t likely = 0;
    for (const double p : probs) {
        if (!std::isfinite(p)) {
            continue;
        }
        ++finite;
        likely += p >= 0.5 ? 1 : 0;
        // Rounding can leave a probability a hair outside [0, 1]: the edge bins take it.
        const double t = std::clamp(p, 0.0, 1.0) * static_cast<double>(PROBABILITY_BINS);
        const auto bin = std::min(static_cast<std::size_t>(t), PROBABILITY_BINS - 1);
        ++counts[bin];
    }
    std::string sentence = Count(probs.size(), "protein pair is", "protein pairs are") + " listed";
    if (finite > 0) {
        sentence += "; " + std::to_string(likely) + " of them have an interaction probability of 0.5 or more";
    }
    sentence += ".";
    if (finite < probs.size()) {
        sentence += " " + Count(probs.size() - finite, "probability is", "probabilities are") +
                    " not a finite number and left out.";
    }
    out += "<p>" + Esc(sentence) + "</p>\n";
    if (finite == 0) {
        return out + Empty("No probability is a finite number, so there is nothing to plot.") + "</section>\n";
    }
    SvgHistogram hist;
    hist.id = "probability-plot";
    hist.caption = "Predicted interaction probabilities";
    hist.xLabel = "interaction probability";
    hist.yLabel = "protein pairs";
    hist.counts = counts;
    out += Figure(DrawHistogram(hist),
                  "Listed protein pairs by predicted interaction probability, in 20 bins "
                  "of width 0.05.");
    return out + "</section>\n";
}

// A protein by its display name with the accession beside it, or by the
// accession alone when the tables give no other name. Kept whole: a table
// short of room wraps the motif pairs beside it, not a gene name.
std::string ProteinCell(const std::string& name, const std::string& id)
{
    if (name == id) {
        return "<td class=\"protein\">" + Esc(id) + "</td>";
    }
    return "<td class=\"protein\"><strong>" + Esc(name) + "</strong> <span class=\"id\">" + Esc(id) + "</span></td>";
}

const char* StatusText(InteractionView::Status s)
{
    switch (s) {
    case InteractionView::Status::OBSERVED:
        return "observed";
    case InteractionView::Status::HELD_OUT:
        return "held out";
    case InteractionView::Status::NEW:
        return "new";
    }
    return "";
}

std::string MediatorsCell(const InteractionView& r)
{
    if (r.mediators.empty()) {
        return "<td>\u2013</td>";
    }
    std::string cell = "<td class=\"name\">";
    for (const MediatorView& m : r.mediators) {
        cell += "<span class=\"line\">" + Esc(m.first + " \u2013 " + m.second) + " " + Esc(PageNumber(m.probability)) +
                (m.posterior ? std::string() : std::string(" <span class=\"prior\">prior</span>")) + "</span>";
    }
    if (r.moreMediators > 0) {
        cell += "<span class=\"line\">+ " + std::to_string(r.moreMediators) + " more</span>";
    }
    return cell + "</td>";
}

std::string TopInteractionsSection(const TopInteractionsView& v)
{
    std::string out = "<section id=\"top-interactions\">\n<h2>Top predicted interactions</h2>\n";
    if (v.rows.empty()) {
        return out + Empty("The prediction file lists no protein pairs.") + "</section>\n";
    }
    std::string intro = "The " + Count(v.rows.size(), "listed protein pair", "listed protein pairs") +
                        " most likely to interact, of " + std::to_string(v.listed) + " (" +
                        std::to_string(v.predicted) +
                        " at interaction probability 0.5 or more). Observed: "
                        "the run has observations of the pair, and its probability is the posterior given them "
                        "(in-sample); held out: the pair is in the --truth lists and has no observation; new: "
                        "neither, the model's prediction alone.";
    if (v.bindings) {
        intro +=
            " Mediating motif pairs: the pair's binding variables in the prediction file, most probable "
            "first, each with the probability that the motif pair binds on this protein pair, the posterior "
            "given the pair's observations, or, marked prior, the motif pair's conditioned affinity for a "
            "pair without any. The prediction file lists binding variables only for the pairs of its "
            "binding list; the others show \u2013.";
    } else {
        intro += " The prediction file lists no binding variables, so no motif pair is named beside them.";
    }
    if (v.rows.front().probability > 0.9995) {
        intro +=
            " Probabilities shown as 1 are below 1 by less than 0.0005; interactions.tsv has them in full "
            "and ranks them exactly.";
    }
    out += "<p>" + Prose(intro) + "</p>\n";
    out +=
        "<table id=\"top-interactions-table\">\n<thead><tr><th class=\"num\">rank</th><th>protein A</th>"
        "<th>protein B</th><th class=\"num\">interaction probability</th><th>status</th>";
    if (v.truth) {
        out += "<th>truth</th>";
    }
    out += "<th>mediating motif pairs</th></tr></thead>\n<tbody>\n";
    for (std::size_t i = 0; i < v.rows.size(); ++i) {
        const InteractionView& r = v.rows[i];
        out += "<tr>" + Int(i + 1) + ProteinCell(r.nameA, r.idA) + ProteinCell(r.nameB, r.idB) + Num(r.probability) +
               "<td>" + StatusText(r.status) + "</td>";
        if (v.truth) {
            out += "<td>" + (r.truth.empty() ? std::string("\u2013") : Esc(r.truth)) + "</td>";
        }
        out += MediatorsCell(r) + "</tr>\n";
    }
    out += "</tbody>\n</table>\n";
    if (!v.bindings) {
        return out + "</section>\n";
    }
    out += "<h3>Motif pairs that explain them</h3>\n";
    if (v.explainers.empty()) {
        return out + Empty("No listed interaction has a binding variable in the prediction file.") + "</section>\n";
    }
    out += "<p>" +
           Esc("A motif pair explains an interaction when it is the pair's most probable mediating motif pair. "
               "Counted among the " +
               std::to_string(v.rows.size()) + " interactions above and among the " + std::to_string(v.predicted) +
               " at probability 0.5 or more.") +
           "</p>\n";
    out +=
        "<table id=\"explaining-motif-pairs\">\n<thead><tr><th>motif pair</th><th class=\"num\">affinity</th>"
        "<th class=\"num\">explains, of the top " +
        std::to_string(v.rows.size()) +
        "</th><th class=\"num\">explains, of the predicted</th></tr></thead>\n<tbody>\n";
    for (const ExplainerView& e : v.explainers) {
        out += "<tr><td class=\"name\">" + Esc(e.first + " \u2013 " + e.second) + "</td>" + Num(e.affinity) +
               Int(e.top) + Int(e.predicted) + "</tr>\n";
    }
    return out + "</tbody>\n</table>\n</section>\n";
}

std::string MotifPairs(const ReportData& data)
{
    std::string out = "<section id=\"motif-pairs\">\n<h2>Top motif pairs</h2>\n";
    if (data.topMotifPairs.empty()) {
        return out + Empty("The log holds no motif pair affinities.") + "</section>\n";
    }
    SvgBarChart chart;
    chart.id = "motif-pair-plot";
    chart.caption = "Motif pairs with the highest affinity";
    chart.xLabel = "affinity";
    bool any = false;
    for (const auto& p : data.topMotifPairs) {
        chart.bars.push_back({p.first + " \u2013 " + p.second, p.affinity});
        any = any || std::isfinite(p.affinity);
    }
    if (any) {
        out += Figure(DrawBarChart(chart),
                      (data.topMotifPairs.size() == 1
                           ? std::string("The motif pair")
                           : "The " + std::to_string(data.topMotifPairs.size()) + " motif pairs") +
                          " with the highest learned affinity (probability that the pair binds when both "
                          "proteins carry it).");
    } else {
        out += Empty("No affinity is a finite number, so there is nothing to plot.");
    }
    const bool explains = data.topInteractions && data.topInteractions->bindings;
    out +=
        "<table>\n<thead><tr><th>first</th><th>second</th><th class=\"num\">affinity</th>"
        "<th class=\"num\">conditioned</th><th class=\"num\">carriers</th>";
    if (explains) {
        out += "<th class=\"num\">explains, of the top " + std::to_string(data.topInteractions->rows.size()) +
               "</th><th class=\"num\">explains, of the predicted</th>";
    }
    out += "</tr></thead>\n<tbody>\n";
    for (const auto& p : data.topMotifPairs) {
        out += "<tr><td class=\"name\">" + Esc(p.first) + "</td><td class=\"name\">" + Esc(p.second) + "</td>" +
               Num(p.affinity) + Num(p.conditioned) + "<td class=\"num\">" + std::to_string(p.carriers) + "</td>";
        if (explains) {
            out += Int(p.explainsTop) + Int(p.explainsPredicted);
        }
        out += "</tr>\n";
    }
    out +=
        "</tbody>\n</table>\n<p>Conditioned: the affinity after conditioning on the domain-domain evidence; "
        "carriers: observed protein pairs that carry the motif pair";
    if (explains) {
        out +=
            "; explains: interactions of which it is the most probable mediating motif pair (see Top "
            "predicted interactions)";
    }
    out += ".</p>\n";
    return out + "</section>\n";
}

std::string Perturbation(const ReportData& data)
{
    std::string out = "<section id=\"perturbation\">\n<h2>Perturbation</h2>\n";
    if (data.topPerturbations.empty()) {
        return out + Empty("The log has no perturbation lines: the run did not perturb, or ended before it did.") +
               "</section>\n";
    }
    SvgBarChart chart;
    chart.id = "perturbation-plot";
    chart.caption = "Log-likelihood change when motifs are forced non-binding";
    chart.xLabel = "log-likelihood change";
    chart.signColours = true;
    bool any = false;
    for (const auto& p : data.topPerturbations) {
        chart.bars.push_back({p.what, p.effect});
        any = any || std::isfinite(p.effect);
    }
    if (!any) {
        return out + Empty("No perturbation effect is a finite number, so there is nothing to plot.") + "</section>\n";
    }
    out += Figure(DrawBarChart(chart),
                  (data.topPerturbations.size() == 1
                       ? std::string("The perturbation")
                       : "The " + std::to_string(data.topPerturbations.size()) + " perturbations") +
                      " with the largest effect: the change of the log likelihood (the log joint of the data and "
                      "the model) after EM re-converged with the named motifs forced non-binding. Negative "
                      "(orange) bars: the data need the binding; positive (blue) bars: the data fit better "
                      "without it.");
    out +=
        "<table id=\"perturbation-table\">\n<thead><tr><th>forced non-binding</th>"
        "<th class=\"num\">log-likelihood change</th></tr></thead>\n<tbody>\n";
    for (const auto& p : data.topPerturbations) {
        out += "<tr><td class=\"name\">" + Esc(p.what) + "</td>" + Num(p.effect) + "</tr>\n";
    }
    return out + "</tbody>\n</table>\n</section>\n";
}

std::string CurveChart(const char* id, const char* caption, const char* xLabel, const char* yLabel, const char* area,
                       const std::vector<CurveView>& curves, bool diagonal)
{
    SvgLineChart chart;
    chart.id = id;
    chart.caption = caption;
    chart.xLabel = xLabel;
    chart.yLabel = yLabel;
    chart.width = 440;
    chart.height = 400;
    chart.unitSquare = true;
    chart.chanceDiagonal = diagonal;
    for (const auto& c : curves) {
        std::string label = c.label.empty() ? std::string("curve") : c.label;
        if (!HasFinitePoint(c.points)) {
            label += " (no finite points)";
        } else {
            label += std::string(" (") + area + " " + PageNumber(c.area) + ")";
        }
        chart.lines.push_back({label, c.points});
    }
    return DrawLineChart(chart);
}

bool AnyCurve(const std::vector<CurveView>& curves)
{
    for (const auto& c : curves) {
        if (HasFinitePoint(c.points)) {
            return true;
        }
    }
    return false;
}

// Where the truth pairs stand: observed in the run (a posterior judged on
// the pairs it was fitted to) or held out of it.
std::string InSample(const TruthView& truth)
{
    const std::size_t all = truth.observed + truth.heldOut;
    if (all == 0) {
        return "No truth pair names a protein of the run.";
    }
    if (truth.heldOut == 0) {
        return "In-sample: all " + std::to_string(all) +
               " truth pairs carry observations in this run, so their probabilities are posteriors given those "
               "very observations; read the curves as a fit to the data, not as a prediction.";
    }
    if (truth.observed == 0) {
        return "Held out: none of the " + std::to_string(all) +
               " truth pairs has an observation in this run; their probabilities are the model's predictions "
               "without them.";
    }
    return "Mixed: " + std::to_string(truth.observed) + " of the " + std::to_string(all) +
           " truth pairs carry observations in this run (in-sample, judged by posteriors given them) and " +
           std::to_string(truth.heldOut) + " have none (held out).";
}

std::string HeldOut(const TruthView& truth)
{
    std::string out = "<section id=\"held-out\">\n<h2>Against the truth</h2>\n";
    std::string sentence = "The truth lists hold " + Count(truth.interacting, "interacting pair", "interacting pairs") +
                           " and " + Count(truth.notInteracting, "non-interacting pair", "non-interacting pairs") +
                           " that the prediction file ranks; " + Count(truth.missing, "more is", "more are") +
                           " missing from it.";
    out += "<p>" + Esc(sentence) + "</p>\n";
    out += "<p id=\"in-sample\"><strong>" + Esc(InSample(truth)) + "</strong></p>\n";
    if (truth.unknown.pairs > 0) {
        out += "<p>" + Prose(UnknownText("--truth", "protein", truth.unknown)) + ".</p>\n";
    }
    double share = std::nan("");
    if (truth.interacting + truth.notInteracting > 0) {
        share = static_cast<double>(truth.interacting) / static_cast<double>(truth.interacting + truth.notInteracting);
    }
    out +=
        "<table id=\"curve-areas\">\n<thead><tr><th>ranking</th><th class=\"num\">ROC AUC</th>"
        "<th class=\"num\">average precision</th></tr></thead>\n<tbody>\n";
    for (std::size_t i = 0; i < truth.roc.size(); ++i) {
        out += "<tr><td>" + Esc(truth.roc[i].label) + "</td>" + Num(truth.roc[i].area) +
               Num(i < truth.pr.size() ? truth.pr[i].area : std::nan("")) + "</tr>\n";
    }
    out += "<tr><td>chance</td>" + Num(0.5) + Num(share) + "</tr>\n</tbody>\n</table>\n";
    out +=
        "<p>ROC AUC: the chance that an interacting pair outscores a non-interacting one, ties counted half. "
        "Average precision: the precision at each score weighted by the recall it adds, the area under the "
        "precision-recall curve; chance gives the share of interacting pairs.</p>\n";
    out += "<div class=\"figures\">\n";
    if (AnyCurve(truth.roc)) {
        out += Figure(CurveChart("roc-plot", "ROC curve against the truth", "false-positive rate", "true-positive rate",
                                 "AUC", truth.roc, true),
                      "ROC: pairs ranked by predicted probability; the dashed diagonal is chance.");
    } else {
        out += Empty("There is no ROC curve: no curve has a finite point (truth pairs of only one kind?).");
    }
    if (AnyCurve(truth.pr)) {
        out += Figure(CurveChart("pr-plot", "Precision-recall curve against the truth", "recall", "precision",
                                 "average precision", truth.pr, false),
                      "Precision against recall over the same ranking.");
    } else {
        out += Empty("There is no precision-recall curve: no curve has a finite point.");
    }
    return out + "</div>\n</section>\n";
}

std::string Known(const KnownView& known)
{
    std::string out = "<section id=\"known\">\n<h2>Known motif pairs</h2>\n";
    out += "<p>" +
           Esc(Count(known.known, "known interacting motif pair is a candidate pair",
                     "known interacting motif pairs are candidate pairs") +
               ", out of " + Count(known.candidates, "candidate pair", "candidate pairs") + ".") +
           "</p>\n";
    if (known.circular > 0) {
        out += "<p><strong>" + Prose(CircularText(known)) +
               ".</strong> The run fitted its affinities to that evidence, so finding those pairs on top says "
               "little; the last two columns count only the " +
               std::to_string(known.knownOutside) + " known candidate pairs it does not list.</p>\n";
    } else if (!known.evidenceProblem.empty()) {
        out += "<p>" +
               Esc("Whether the run's domain-domain evidence lists known pairs could not be checked: " +
                   known.evidenceProblem + ".") +
               "</p>\n";
    }
    if (known.unknown.pairs > 0) {
        out += "<p>" + Prose(UnknownText("--known", "family", known.unknown)) + ".</p>\n";
    }
    if (known.rows.empty()) {
        return out + Empty("There are no ranked motif pairs to compare with the known ones.") + "</section>\n";
    }
    const bool outside = known.circular > 0;
    out +=
        "<table>\n<thead><tr><th class=\"num\">top k</th><th class=\"num\">known found</th>"
        "<th class=\"num\">expected by chance</th>";
    if (outside) {
        out += "<th class=\"num\">found, not in the evidence</th><th class=\"num\">expected by chance</th>";
    }
    out += "</tr></thead>\n<tbody>\n";
    for (const auto& r : known.rows) {
        out += "<tr>" + Int(r.top) + Int(r.found) + Num(r.chance);
        if (outside) {
            out += Int(r.foundOutside) + Num(r.chanceOutside);
        }
        out += "</tr>\n";
    }
    return out + "</tbody>\n</table>\n</section>\n";
}

// What made the input set, as motifbind-prep recorded it, and what made this
// page; the run's own command line heads the page.
std::string ProvenanceSection(const SetProvenance& p)
{
    std::string out = "<section id=\"provenance\">\n<h2>Provenance</h2>\n";
    out += std::string("<p>This page was written by motifbind-report ") + MOTIFBIND_VERSION +
           "; the run's command line heads the page.</p>\n";
    if (!p.present) {
        out += Empty(
            "The run folder holds no provenance.txt: motifbind-prep did not make this input set, or its "
            "record was not kept beside the run.");
    } else {
        out +=
            "<p>The input set, as motifbind-prep recorded it (an input's line gives its SHA-256 and "
            "name):</p>\n<table class=\"record\">\n<tbody>\n";
        for (const auto& [key, value] : p.fields) {
            out += "<tr><th scope=\"row\">" + Esc(key) + "</th><td><code>" + Esc(value) + "</code></td></tr>\n";
        }
        out += "</tbody>\n</table>\n";
    }
    if (!p.summary.empty()) {
        out += "<details>\n<summary>What motifbind-prep printed (summary.txt)</summary>\n<pre class=\"record\">";
        for (const std::string& line : p.summary) {
            out += Esc(line) + "\n";
        }
        out += "</pre>\n</details>\n";
    }
    if (p.linesLeftOut > 0) {
        out += Empty(Count(p.linesLeftOut, "line", "lines") + " past the first " +
                     std::to_string(SetProvenance::MAX_LINES) + " of a file are left out.");
    }
    return out + "</section>\n";
}

std::string Tables(const ReportData& data)
{
    std::string out = "<section id=\"tables\">\n<h2>Tables</h2>\n";
    if (data.tables.empty()) {
        return out + Empty("No tables were written beside this report.") + "</section>\n";
    }
    out += "<p>Tab-separated tables written beside this report:</p>\n<ul>\n";
    for (const auto& t : data.tables) {
        out += "<li><a href=\"" + FileHref(t) + "\">" + Esc(t) + "</a></li>\n";
    }
    return out + "</ul>\n</section>\n";
}

} // namespace

std::string ReportHtml(const ReportData& data)
{
    const std::string title =
        data.title.empty() ? std::string("motifbind report") : std::string("motifbind report: ") + data.title;
    std::string out =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\" />\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\" />\n";
    out += "<title>" + Esc(title) + "</title>\n<link rel=\"icon\" href=\"data:,\" />\n";
    out += std::string("<style>") + STYLE + "</style>\n</head>\n<body>\n";
    out += "<header>\n<h1>" + Esc(title) + "</h1>\n";
    if (data.command.empty()) {
        out += Empty("The log does not echo the command line.");
    } else {
        out += "<p>Command line:</p>\n<pre class=\"command\">" + Esc(data.command) + "</pre>\n";
    }
    out += "</header>\n";
    if (!data.complete) {
        std::string problem = data.problem.empty() ? std::string("the run did not finish") : data.problem;
        if (problem.back() != '.') {
            problem += '.';
        }
        out += "<div class=\"notice\" role=\"note\"><strong>Partial report:</strong> " + Esc(problem) +
               " Sections the run did not reach are empty.</div>\n";
    }
    if (data.degeneracy.Any()) {
        out += "<div class=\"notice\" role=\"note\" id=\"degenerate\"><strong>Degenerate estimates:</strong> " +
               Esc(data.degeneracy.PageText()) +
               ". A rate of 0 or 1 claims a source that never errs one way, and pairs at probability exactly 1 "
               "cannot be ranked among themselves: read these values as a failure of the estimate, not as "
               "facts about the data. Pseudo-counts on the noise models (-b) keep the rates away from 0 and "
               "1.</div>\n";
    }

    if (data.known && data.known->circular > 0) {
        out += Notice("circular", "Circular evidence",
                      Prose(CircularText(*data.known)) +
                          ". Their place among the top pairs repeats the evidence the run was given; the Known "
                          "motif pairs section also counts the others alone.");
    }
    std::string unknown;
    if (data.truth && data.truth->unknown.pairs > 0) {
        unknown += Prose(UnknownText("--truth", "protein", data.truth->unknown)) + ". ";
    }
    if (data.known && data.known->unknown.pairs > 0) {
        unknown += Prose(UnknownText("--known", "family", data.known->unknown)) + ". ";
    }
    if (!unknown.empty()) {
        out += Notice("unknown-names", "Names the run does not know",
                      unknown +
                          "Check that the lists use the accessions and family names of proteins.tsv and "
                          "motifs.tsv.");
    }

    std::vector<std::array<const char*, 2>> nav = {{"convergence", "Convergence"},
                                                   {"models", "Observation models"},
                                                   {"phases", "Recovery by phase"},
                                                   {"interactions", "Predicted interactions"}};
    if (data.topInteractions) {
        nav.push_back({"top-interactions", "Top interactions"});
    }
    nav.push_back({"motif-pairs", "Top motif pairs"});
    nav.push_back({"perturbation", "Perturbation"});
    if (data.truth) {
        nav.push_back({"held-out", "Against the truth"});
    }
    if (data.known) {
        nav.push_back({"known", "Known motif pairs"});
    }
    nav.push_back({"provenance", "Provenance"});
    nav.push_back({"tables", "Tables"});
    out += "<nav>\n<ul>\n";
    for (const auto& [id, name] : nav) {
        out += std::string("<li><a href=\"#") + id + "\">" + name + "</a></li>\n";
    }
    out += "</ul>\n</nav>\n";

    out += Convergence(data);
    out += Models(data);
    out += Phases(data);
    out += Interactions(data);
    if (data.topInteractions) {
        out += TopInteractionsSection(*data.topInteractions);
    }
    out += MotifPairs(data);
    out += Perturbation(data);
    if (data.truth) {
        out += HeldOut(*data.truth);
    }
    if (data.known) {
        out += Known(*data.known);
    }
    out += ProvenanceSection(data.provenance);
    out += Tables(data);
    // The version, so that a page can be traced to the program that made it.
    out += std::string("<footer>Written by motifbind-report ") + MOTIFBIND_VERSION + ".</footer>\n</body>\n</html>\n";
    return out;
}

#include "tools/report/Svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "tools/report/PageNumber.h"
#include "tools/report/TextWidth.h"

namespace {

// Colour-blind-safe hues (Okabe and Ito) and dash patterns for lines.
const char* const LINE_COLOURS[] = {"#0072b2", "#d55e00", "#009e73", "#cc79a7", "#e69f00", "#56b4e9", "#000000"};
const char* const LINE_DASHES[] = {"", "7 4", "2 3", "9 3 2 3"};

// Font sizes of the page's CSS for svg text and svg text.label.
constexpr double TEXT_PX = 12.0;
constexpr double LABEL_PX = 13.0;
// Baseline to baseline of wrapped lines of TEXT_PX text.
constexpr double LINE_PX = 15.0;
constexpr int LEGEND_ROW = 18;
// The share of a bar chart's width its labels may take before they wrap.
constexpr double BAR_LABEL_SHARE = 0.45;

// A coordinate: one decimal, within a bound any figure here stays inside.
std::string Coord(double px)
{
    if (!std::isfinite(px)) {
        px = 0.0;
    }
    px = std::clamp(px, -1e5, 1e5);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", px);
    std::string s = buf;
    if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) {
        s.resize(s.size() - 2);
    }
    if (s == "-0") {
        s = "0";
    }
    return s;
}

double WidestLine(const std::vector<std::string>& lines)
{
    double w = 0.0;
    for (const auto& l : lines) {
        w = std::max(w, TextWidth(l, TEXT_PX));
    }
    return w;
}

// Maps data values onto pixels; halves keep the difference finite even for
// values near the largest double.
struct Scale {
    double lo = 0.0;
    double hi = 1.0;
    double from = 0.0; // pixel of lo
    double to = 1.0;   // pixel of hi
    double operator()(double v) const
    {
        const double span = hi / 2 - lo / 2;
        const double t = span > 0 ? (v / 2 - lo / 2) / span : 0.5;
        return from + t * (to - from);
    }
};

std::string Attr(const char* name, const std::string& value) { return std::string(" ") + name + "=\"" + value + "\""; }

void LineElement(std::string& out, double x1, double y1, double x2, double y2, const char* cls)
{
    out += "<line" + Attr("class", cls) + Attr("x1", Coord(x1)) + Attr("y1", Coord(y1)) + Attr("x2", Coord(x2)) +
           Attr("y2", Coord(y2)) + " />\n";
}

void TextElement(std::string& out, double x, double y, const char* anchor, const char* cls, const std::string& text)
{
    out += "<text" + Attr("class", cls) + Attr("x", Coord(x)) + Attr("y", Coord(y)) + Attr("text-anchor", anchor) +
           ">" + EscapeHtml(text) + "</text>\n";
}

// Lines of text, the first with its baseline at y, the others below it;
// one line is a plain <text>.
void TextLines(std::string& out, double x, double y, const char* anchor, const char* cls,
               const std::vector<std::string>& lines)
{
    out += "<text" + Attr("class", cls) + Attr("x", Coord(x)) + Attr("y", Coord(y)) + Attr("text-anchor", anchor) + ">";
    if (lines.size() == 1) {
        out += EscapeHtml(lines[0]);
    } else {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            out += "<tspan" + Attr("x", Coord(x)) + Attr("dy", i == 0 ? std::string("0") : Coord(LINE_PX)) + ">" +
                   EscapeHtml(lines[i]) + "</tspan>";
        }
    }
    out += "</text>\n";
}

std::string OpenSvg(const std::string& id, int width, int height, const std::string& caption)
{
    const std::string w = std::to_string(width);
    const std::string h = std::to_string(height);
    return "<svg" + Attr("id", EscapeHtml(id)) + Attr("viewBox", "0 0 " + w + " " + h) + Attr("width", w) +
           Attr("height", h) + Attr("role", "img") + ">\n<title>" + EscapeHtml(caption) + "</title>\n";
}

// Widest tick label in pixels.
double LabelWidth(const SvgTicks& ticks) { return std::max(WidestLine(ticks.labels), TextWidth("0", TEXT_PX)); }

// Room right of the plot area for half the last x tick label, centred on
// the frame's right edge.
double RightMargin(const SvgTicks& ticks)
{
    const double half = ticks.labels.empty() ? 0.0 : TextWidth(ticks.labels.back(), TEXT_PX) / 2;
    return std::max(16.0, half + 4);
}

// The plot area of a chart with a left value axis and a bottom axis.
struct Frame {
    double left = 0.0;
    double right = 0.0;
    double top = 0.0;
    double bottom = 0.0;
};

// Grid, axes, ticks and axis titles of a frame.
void Axes(std::string& out, const Frame& f, const Scale& xs, const SvgTicks& xt, const Scale* ys, const SvgTicks* yt,
          const std::string& xLabel, const std::string& yLabel)
{
    for (const double v : xt.values) {
        LineElement(out, xs(v), f.top, xs(v), f.bottom, "grid");
    }
    if (ys != nullptr) {
        for (const double v : yt->values) {
            LineElement(out, f.left, (*ys)(v), f.right, (*ys)(v), "grid");
        }
        LineElement(out, f.left, f.top, f.left, f.bottom, "axis");
    }
    LineElement(out, f.left, f.bottom, f.right, f.bottom, "axis");
    for (std::size_t i = 0; i < xt.values.size(); ++i) {
        const double x = xs(xt.values[i]);
        LineElement(out, x, f.bottom, x, f.bottom + 4, "axis");
        TextElement(out, x, f.bottom + 17, "middle", "tick", xt.labels[i]);
    }
    if (ys != nullptr) {
        for (std::size_t i = 0; i < yt->values.size(); ++i) {
            const double y = (*ys)(yt->values[i]);
            LineElement(out, f.left - 4, y, f.left, y, "axis");
            TextElement(out, f.left - 7, y + 4, "end", "tick", yt->labels[i]);
        }
    }
    TextElement(out, (f.left + f.right) / 2, f.bottom + 36, "middle", "label", xLabel);
    if (ys != nullptr && !yLabel.empty()) {
        const std::string x = Coord(14);
        const std::string y = Coord((f.top + f.bottom) / 2);
        out += "<text" + Attr("class", "label") + Attr("x", x) + Attr("y", y) + Attr("text-anchor", "middle") +
               Attr("transform", "rotate(-90 " + x + " " + y + ")") + ">" + EscapeHtml(yLabel) + "</text>\n";
    }
}

std::string StrokeAttrs(std::size_t i)
{
    std::string s = Attr("stroke", SvgLineColour(i));
    if (!SvgLineDash(i).empty()) {
        s += Attr("stroke-dasharray", SvgLineDash(i));
    }
    return s;
}

} // namespace

std::string EscapeHtml(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        // Control characters (a terminal's escape sequences) have no place
        // in a page; the replacement character shows where one was.
        case '\t':
        case '\n':
            out += c;
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
                out += "\xEF\xBF\xBD";
            } else {
                out += c;
            }
        }
    }
    return out;
}

std::string ReadableNumber(double x, int digits)
{
    if (!std::isfinite(x)) {
        return "n/a";
    }
    if (x == 0.0) {
        return "0";
    }
    digits = std::clamp(digits, 1, 17);
    char buf[64];
    const int e = static_cast<int>(std::floor(std::log10(std::fabs(x))));
    if (e >= -4 && e < 9) {
        const int decimals = std::clamp(digits - 1 - e, 0, 17);
        std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
        std::string s = buf;
        if (s.find('.') != std::string::npos) {
            while (s.back() == '0') {
                s.pop_back();
            }
            if (s.back() == '.') {
                s.pop_back();
            }
        }
        return s == "-0" ? "0" : s;
    }
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, x);
    const std::string s = buf;
    const std::size_t ePos = s.find('e');
    std::string mant = s.substr(0, ePos);
    if (mant.find('.') != std::string::npos) {
        while (mant.back() == '0') {
            mant.pop_back();
        }
        if (mant.back() == '.') {
            mant.pop_back();
        }
    }
    std::string exp = s.substr(ePos + 1);
    const bool negative = !exp.empty() && exp[0] == '-';
    if (!exp.empty() && (exp[0] == '-' || exp[0] == '+')) {
        exp.erase(0, 1);
    }
    while (exp.size() > 1 && exp[0] == '0') {
        exp.erase(0, 1);
    }
    return mant + "e" + (negative ? "-" : "") + exp;
}

SvgTicks NiceTicks(double lo, double hi, int count, bool integers)
{
    SvgTicks t;
    if (!std::isfinite(lo) || !std::isfinite(hi)) {
        lo = 0.0;
        hi = 1.0;
    }
    if (lo > hi) {
        std::swap(lo, hi);
    }
    if (!(hi > lo)) {
        // Near the largest double only the inward side can widen.
        const double pad = integers ? 1.0 : std::max(std::fabs(lo) * 0.05, 1.0);
        lo = std::max(lo - pad, std::numeric_limits<double>::lowest());
        hi = std::min(hi + pad, std::numeric_limits<double>::max());
    }
    count = std::max(count, 2);
    const double raw = (hi / 2 - lo / 2) * 2 / (count - 1);
    double step = 0.0;
    if (std::isfinite(raw) && raw > 0) {
        const double mag = std::pow(10.0, std::floor(std::log10(raw)));
        for (const double f : {1.0, 2.0, 5.0, 10.0}) {
            step = f * mag;
            if (step >= raw) {
                break;
            }
        }
    }
    if (integers) {
        step = std::max(step, 1.0);
    }
    bool ok = std::isfinite(step) && step > 0;
    double first = 0.0;
    double last = 0.0;
    if (ok) {
        first = std::floor(lo / step);
        last = std::ceil(hi / step);
        ok = std::isfinite(first * step) && std::isfinite(last * step) && last - first <= 4.0 * count && last > first &&
             first + 1 != first;
    }
    if (!ok) {
        // Steps too small or too large to count in: just the two ends.
        t.lo = lo;
        t.hi = hi;
        t.step = hi - lo;
        t.values = {lo, hi};
    } else {
        t.step = step;
        t.lo = first * step;
        t.hi = last * step;
        for (double k = first; k <= last; k += 1.0) {
            t.values.push_back(k == 0.0 ? 0.0 : k * step);
        }
    }
    // Enough digits to tell neighbouring ticks apart, no more.
    const double mag = std::max(std::fabs(t.lo), std::fabs(t.hi));
    int digits = 2;
    if (mag > 0 && std::isfinite(t.step) && t.step > 0) {
        digits = static_cast<int>(std::floor(std::log10(mag)) - std::floor(std::log10(t.step))) + 1;
    }
    digits = std::clamp(digits, 1, 15);
    for (const double v : t.values) {
        t.labels.push_back(ReadableNumber(v, digits));
    }
    return t;
}

std::string SvgLineColour(std::size_t i) { return LINE_COLOURS[i % std::size(LINE_COLOURS)]; }

std::string SvgLineDash(std::size_t i) { return LINE_DASHES[i % std::size(LINE_DASHES)]; }

std::string DrawLineChart(const SvgLineChart& chart)
{
    double xLo = std::numeric_limits<double>::infinity();
    double xHi = -xLo;
    double yLo = xLo;
    double yHi = -xLo;
    for (const auto& line : chart.lines) {
        for (const auto& [x, y] : line.points) {
            if (std::isfinite(x) && std::isfinite(y)) {
                xLo = std::min(xLo, x);
                xHi = std::max(xHi, x);
                yLo = std::min(yLo, y);
                yHi = std::max(yHi, y);
            }
        }
    }
    SvgTicks xt;
    SvgTicks yt;
    if (chart.unitSquare) {
        xt = NiceTicks(0.0, 1.0, 6, false);
        yt = xt;
    } else {
        xt = NiceTicks(xLo, xHi, 8, chart.integerX);
        yt = NiceTicks(yLo, yHi, 6, false);
    }

    Frame f;
    f.left = 24 + 8 + LabelWidth(yt);
    f.right = chart.width - RightMargin(xt);
    f.top = 12;
    f.bottom = chart.height - 46.0;
    const Scale xs{xt.lo, xt.hi, f.left, f.right};
    const Scale ys{yt.lo, yt.hi, f.bottom, f.top};

    bool legend = false;
    for (const auto& line : chart.lines) {
        legend = legend || !line.label.empty();
    }
    // Legend entries wrap within the width; each line of text a row.
    const double keyText = f.left + 36;
    std::vector<std::vector<std::string>> entries;
    if (legend) {
        for (const auto& line : chart.lines) {
            entries.push_back(WrapText(line.label, chart.width - keyText - 8, TEXT_PX));
        }
        if (chart.chanceDiagonal) {
            entries.push_back({"chance"});
        }
    }
    int rows = 0;
    for (const auto& e : entries) {
        rows += static_cast<int>(e.size());
    }
    const int height = chart.height + (rows > 0 ? rows * LEGEND_ROW + 6 : 0);

    std::string out = OpenSvg(chart.id, chart.width, height, chart.caption);
    Axes(out, f, xs, xt, &ys, &yt, chart.xLabel, chart.yLabel);
    if (chart.chanceDiagonal) {
        LineElement(out, xs(0), ys(0), xs(1), ys(1), "chance");
    }
    for (std::size_t i = 0; i < chart.lines.size(); ++i) {
        std::string points;
        std::size_t n = 0;
        double lastX = 0.0;
        double lastY = 0.0;
        for (const auto& [x, y] : chart.lines[i].points) {
            if (!std::isfinite(x) || !std::isfinite(y)) {
                continue;
            }
            lastX = xs(x);
            lastY = ys(y);
            if (n++ > 0) {
                points += ' ';
            }
            points += Coord(lastX) + "," + Coord(lastY);
        }
        if (n == 0) {
            continue;
        }
        out += "<polyline" + Attr("class", "series") + Attr("fill", "none") + StrokeAttrs(i) + Attr("points", points) +
               " />\n";
        if (n == 1) {
            // A lone point draws no line: mark it.
            out += "<circle" + Attr("cx", Coord(lastX)) + Attr("cy", Coord(lastY)) + Attr("r", "3") +
                   Attr("fill", SvgLineColour(i)) + " />\n";
        }
    }
    int row = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const double y = chart.height + row * LEGEND_ROW + 6.0;
        if (i < chart.lines.size()) {
            out += "<line" + Attr("class", "key") + StrokeAttrs(i) + Attr("x1", Coord(f.left)) + Attr("y1", Coord(y)) +
                   Attr("x2", Coord(f.left + 28)) + Attr("y2", Coord(y)) + " />\n";
        } else {
            LineElement(out, f.left, y, f.left + 28, y, "chance");
        }
        for (std::size_t k = 0; k < entries[i].size(); ++k) {
            TextElement(out, keyText, y + 4 + static_cast<double>(k) * LEGEND_ROW, "start", "legend", entries[i][k]);
        }
        row += static_cast<int>(entries[i].size());
    }
    return out + "</svg>\n";
}

std::string DrawHistogram(const SvgHistogram& hist)
{
    long long most = 0;
    for (const long long c : hist.counts) {
        most = std::max(most, c);
    }
    const SvgTicks xt = NiceTicks(hist.lo, hist.hi, 11, false);
    const SvgTicks yt = NiceTicks(0.0, static_cast<double>(std::max(most, 1LL)), 6, true);
    Frame f;
    f.left = 24 + 8 + LabelWidth(yt);
    f.right = hist.width - RightMargin(xt);
    f.top = 12;
    f.bottom = hist.height - 46.0;
    const Scale xs{xt.lo, xt.hi, f.left, f.right};
    const Scale ys{yt.lo, yt.hi, f.bottom, f.top};

    std::string out = OpenSvg(hist.id, hist.width, hist.height, hist.caption);
    Axes(out, f, xs, xt, &ys, &yt, hist.xLabel, hist.yLabel);
    const std::size_t bins = hist.counts.size();
    const double width = (hist.hi - hist.lo) / static_cast<double>(std::max<std::size_t>(bins, 1));
    for (std::size_t b = 0; b < bins; ++b) {
        const long long c = hist.counts[b];
        if (c <= 0) {
            continue;
        }
        const double from = hist.lo + width * static_cast<double>(b);
        const double to = b + 1 == bins ? hist.hi : from + width;
        const double x0 = xs(from) + 0.5;
        const double x1 = xs(to) - 0.5;
        const double top = ys(static_cast<double>(c));
        out += "<rect" + Attr("class", "bar") + Attr("x", Coord(x0)) + Attr("y", Coord(top)) +
               Attr("width", Coord(std::max(x1 - x0, 1.0))) + Attr("height", Coord(f.bottom - top)) +
               Attr("fill", SVG_BAR_COLOUR) + "><title>" + ReadableNumber(from) + "\u2013" + ReadableNumber(to) + ": " +
               std::to_string(c) + "</title></rect>\n";
    }
    return out + "</svg>\n";
}

std::string DrawBarChart(const SvgBarChart& chart)
{
    constexpr double ROW = 22.0;
    constexpr double BAR = 14.0;
    double lo = 0.0;
    double hi = 0.0;
    // Labels take what their widest line needs, up to a share of the width
    // beyond which they wrap: nothing is cut.
    const double maxLabel = std::max(chart.width * BAR_LABEL_SHARE - 12, 40.0);
    std::vector<std::vector<std::string>> labels;
    double labelWidth = 0.0;
    for (const auto& bar : chart.bars) {
        if (std::isfinite(bar.value)) {
            lo = std::min(lo, bar.value);
            hi = std::max(hi, bar.value);
        }
        labels.push_back(WrapText(bar.label, maxLabel, TEXT_PX));
        labelWidth = std::max(labelWidth, WidestLine(labels.back()));
    }
    if (lo == 0.0 && hi == 0.0) {
        hi = 1.0;
    }
    // Room beside the plot for the values written beyond the bar ends.
    double negRoom = 0.0;
    double posRoom = 0.0;
    for (const auto& bar : chart.bars) {
        double& room = std::isfinite(bar.value) && bar.value < 0 ? negRoom : posRoom;
        room = std::max(room, TextWidth(PageNumber(bar.value), TEXT_PX));
    }
    const SvgTicks xt = NiceTicks(lo, hi, 6, false);

    // Each row as tall as its label's lines need.
    std::vector<double> tops;
    std::vector<double> heights;
    double y = 8;
    for (const auto& l : labels) {
        tops.push_back(y);
        heights.push_back(std::max(ROW, LINE_PX * static_cast<double>(l.size()) + 7));
        y += heights.back();
    }

    // Category labels end at labelRight, negative values' text follows.
    const double labelRight = 12 + labelWidth + 8;
    Frame f;
    f.left = labelRight + (lo < 0 ? negRoom + 6 : 0.0);
    f.right = chart.width - std::max(16.0 + posRoom, RightMargin(xt));
    f.top = 8;
    f.bottom = y + 4;
    const int height = static_cast<int>(std::ceil(f.bottom)) + 46;
    const Scale xs{xt.lo, xt.hi, f.left, f.right};

    std::string out = OpenSvg(chart.id, chart.width, height, chart.caption);
    Axes(out, f, xs, xt, nullptr, nullptr, chart.xLabel, "");
    const double zero = xs(0.0);
    LineElement(out, zero, f.top, zero, f.bottom, "axis");
    for (std::size_t i = 0; i < chart.bars.size(); ++i) {
        const SvgBar& bar = chart.bars[i];
        const double mid = tops[i] + heights[i] / 2;
        // The lines centred on the row, baselines 4 px below their middles.
        const double first = mid + 4 - LINE_PX * static_cast<double>(labels[i].size() - 1) / 2;
        TextLines(out, labelRight - 8, first, "end", "tick", labels[i]);
        if (!std::isfinite(bar.value)) {
            TextElement(out, zero + 4, mid + 4, "start", "value", PageNumber(bar.value));
            continue;
        }
        // A bar too short to see is drawn 1 px long.
        const bool negative = bar.value < 0;
        const double w = std::max(std::fabs(xs(bar.value) - zero), bar.value != 0.0 ? 1.0 : 0.0);
        const char* colour = chart.signColours && negative ? SVG_NEGATIVE_BAR_COLOUR : SVG_BAR_COLOUR;
        out += "<rect" + Attr("class", "bar") + Attr("x", Coord(negative ? zero - w : zero)) +
               Attr("y", Coord(mid - BAR / 2)) + Attr("width", Coord(w)) + Attr("height", Coord(BAR)) +
               Attr("fill", colour) + "><title>" + EscapeHtml(bar.label + ": " + PageNumber(bar.value)) +
               "</title></rect>\n";
        if (negative) {
            TextElement(out, zero - w - 4, mid + 4, "end", "value", PageNumber(bar.value));
        } else {
            TextElement(out, zero + w + 4, mid + 4, "start", "value", PageNumber(bar.value));
        }
    }
    return out + "</svg>\n";
}

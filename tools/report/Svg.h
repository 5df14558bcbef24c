#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Inline SVG figures for report.html: plain elements (<line>, <polyline>,
// <rect>, <text>), a fixed size with a viewBox, colours and dashes written on
// the elements, generic looks (grid, axes, text) left to the page's CSS
// classes "grid", "axis", "tick", "label", "chance", "bar". Every number
// written is finite and compact; the same input gives the same bytes.

// Text safe inside an element or a double-quoted attribute: & < > " ' as
// character references, so a name from a user file stays text.
std::string EscapeHtml(std::string_view text);

// A number for a reader: at most `digits` significant digits, trailing zeros
// dropped, plain between 1e-4 and 1e9 ("-120.5", "0.0021"), else with a
// short exponent ("1.5e-7", "-3e12"); "n/a" for NaN and infinities.
std::string ReadableNumber(double x, int digits = 4);

// Ticks on a 1-2-5 step that cover [lo, hi]; lo and hi are widened to the
// outer ticks. `integers` keeps the step at 1 or more.
struct SvgTicks {
    double lo = 0.0;
    double hi = 1.0;
    double step = 1.0;
    std::vector<double> values;
    std::vector<std::string> labels; // as short as the step allows
};
SvgTicks NiceTicks(double lo, double hi, int count, bool integers);

// The stroke colour and dash pattern of the i-th line of a chart: each line
// differs from its neighbours in both, so they part in grey print too.
std::string SvgLineColour(std::size_t i);
std::string SvgLineDash(std::size_t i);

struct SvgLine {
    std::string label;                             // legend text
    std::vector<std::pair<double, double>> points; // non-finite points are skipped
};

// Lines over a shared pair of axes, the legend below them, one row a line
// (more where a label wraps within the width).
struct SvgLineChart {
    std::string id;
    std::string caption; // the figure's <title>
    std::string xLabel;
    std::string yLabel;
    int width = 720;
    int height = 340;            // without the legend
    bool unitSquare = false;     // both axes [0, 1] whatever the data (ROC, PR)
    bool chanceDiagonal = false; // the line y = x, marked as chance
    bool integerX = false;       // x ticks on whole numbers (EM rounds)
    std::vector<SvgLine> lines;
};
std::string DrawLineChart(const SvgLineChart& chart);

// Counts of equal-width bins over [lo, hi], one <rect class="bar"> per
// non-empty bin, its <title> giving the bin and the count.
struct SvgHistogram {
    std::string id;
    std::string caption;
    std::string xLabel;
    std::string yLabel;
    double lo = 0.0;
    double hi = 1.0;
    std::vector<long long> counts;
    int width = 720;
    int height = 300;
};
std::string DrawHistogram(const SvgHistogram& hist);

// Horizontal bars from zero, one row a bar, labels on the left and values at
// the bar ends (as PageNumber writes them). The label column is as wide as
// the widest label measured in the page's font, up to 45% of the width;
// longer labels wrap onto more lines of a taller row, never cut. With
// `signColours`, negative bars differ in colour from positive ones.
struct SvgBar {
    std::string label;
    double value = 0.0; // a non-finite value is written as "n/a" without a bar
};
struct SvgBarChart {
    std::string id;
    std::string caption;
    std::string xLabel;
    std::vector<SvgBar> bars;
    bool signColours = false;
    int width = 720;
};
std::string DrawBarChart(const SvgBarChart& chart);

// The colours of DrawBarChart's bars, for the text that explains them.
inline constexpr const char* SVG_BAR_COLOUR = "#0072b2";
inline constexpr const char* SVG_NEGATIVE_BAR_COLOUR = "#d55e00";

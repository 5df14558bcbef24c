#include "bench/Report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "bench/MarkdownTable.h"
#include "motifbind/Version.h"
#include "bench/Stats.h"

std::string FormatCount(long long n)
{
    const std::string digits = std::to_string(n < 0 ? -n : n);
    std::string grouped = n < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return grouped;
}

std::string FormatFigure(double value, int decimals, bool significant)
{
    if (std::isnan(value)) {
        return "-";
    }
    if (significant && value != 0 && std::fabs(value) < 1) {
        const int needed = 2 - static_cast<int>(std::floor(std::log10(std::fabs(value))));
        decimals = std::max(decimals, std::min(6, needed));
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    return buf;
}

std::string ReportTitle(const std::string& setting)
{
    return std::string("## motifbind-bench ") + MOTIFBIND_VERSION + ": " + setting;
}

void PrintDataSummary(std::ostream& out, const DataSummary& d)
{
    const auto count = [](long long n) { return n < 0 ? std::string("?") : FormatCount(n); };
    out << "Data set " << d.setting << " (seed " << d.seed << "): " << d.folder << "\n\n"
        << "- proteins: " << count(d.proteins) << "\n"
        << "- motifs: " << count(d.motifs) << "\n"
        << "- observations: " << FormatCount(d.observations) << "\n"
        << "- observed protein pairs: " << FormatCount(d.work.observedPairs) << "\n"
        << "- motif combinations per pass: " << FormatCount(d.work.motifCombinations) << "\n"
        << "- binding variables per pass: " << FormatCount(d.work.bindingVariables) << "\n"
        << "- active motif pairs: " << FormatCount(d.work.activePairs) << "\n"
        << "- protein pairs to predict: " << FormatCount(d.predictPairs) << (d.allPairs ? " (every pair)" : "") << "\n";
    out << "- perturbation: ";
    if (d.perType < 1 || d.perType > 3) {
        out << "none (-p " << d.perType << ")\n";
        return;
    }
    out << "-p " << d.perType << " -s " << d.pertSize << ", " << d.candidates
        << (d.perType == 2 ? " motif pairs" : " protein pairs") << ", " << FormatCount(d.cycles) << " cycles\n";
}

void PrintFigureTable(std::ostream& out, const std::vector<SideRuns>& sides)
{
    std::vector<std::string> header{"figure"};
    std::vector<MarkdownTable::Align> align{MarkdownTable::Align::Left};
    for (const SideRuns& s : sides) {
        header.push_back(s.label);
        align.push_back(MarkdownTable::Align::Right);
    }
    const bool ratio = sides.size() == 2;
    if (ratio) {
        header.push_back(sides[1].label + "/" + sides[0].label);
        align.push_back(MarkdownTable::Align::Right);
    }
    MarkdownTable table(header, align);
    for (std::size_t i = 0; i < FIGURE_COUNT; ++i) {
        const auto f = static_cast<Figure>(i);
        const FigureInfo& info = Info(f);
        std::vector<std::string> row{info.label};
        std::vector<double> medians;
        for (const SideRuns& s : sides) {
            std::vector<double> values;
            for (const Figures& run : s.runs) {
                values.push_back(run[f]);
            }
            medians.push_back(Median(values));
            row.push_back(FormatFigure(medians.back(), info.decimals, info.significant));
        }
        if (ratio) {
            const bool usable = info.ratio && std::isfinite(medians[0]) && std::isfinite(medians[1]) && medians[0] > 0;
            row.push_back(usable ? FormatFigure(medians[1] / medians[0], 2) : "");
        }
        table.AddRow(row);
    }
    table.Print(out);
}

// motifbind-report on a run: the bytes up to the first "*** End of file."
// line are the log, read cycle by cycle as the report reads it; whatever
// follows is the prediction file. What was read then makes every table and
// report.html, with ids for names.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tools/report/BuildReport.h"
#include "tools/report/ReportHtml.h"
#include "tools/report/Tables.h"
#include "tools/toolbox/LineReader.h"
#include "tools/toolbox/ToolError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::string_view END = "*** End of file.\n";
    const std::size_t end = all.find(END);
    const std::string_view logText = end == std::string_view::npos ? all : all.substr(0, end + END.size());
    const std::string_view predictionText =
        end == std::string_view::npos ? std::string_view() : all.substr(end + END.size());
    try {
        PerturbationTable perturbations;
        TopCycles top(TOP_ROWS);
        LineReader logReader("fuzz.log", logText);
        const RunLog log = ReadRunLog(logReader, [&](PerturbationCycle&& c) {
            perturbations.Add(c);
            top.Add(std::move(c));
        });
        LineReader predictionReader("fuzz.predictions", predictionText);
        const Predictions predictions = ReadPredictionFile(predictionReader, PredictionSinks());
        const Names names;
        const RunInputs inputs;
        auto tables = ReportTables(log, predictions, names, inputs);
        std::string table;
        perturbations.Write(names, [&table](std::string_view line) { table += line; });
        if (perturbations.Rows() != log.cycles || table.empty()) {
            __builtin_trap();
        }
        ReportData report = BuildReport("fuzz", log, &predictions, names, inputs, ReportRequest());
        report.topPerturbations = PerturbationViews(top, names);
        for (const auto& [name, text] : tables) {
            report.tables.push_back(name);
        }
        ReportHtml(report);
    } catch (const ToolError&) {
    }
    return 0;
}

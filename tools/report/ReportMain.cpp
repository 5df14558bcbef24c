#include "tools/report/ReportMain.h"

#include <cmath>
#include <limits>
#include <cstdio>
#include <map>
#include <sstream>
#include <system_error>

#include "format/InputSetFiles.h"
#include "tools/report/BuildReport.h"
#include "tools/report/Judgement.h"
#include "tools/report/ReportHtml.h"
#include "tools/report/Tables.h"
#include "tools/runfiles/EchoedCommand.h"
#include "tools/toolbox/Cli.h"
#include "tools/toolbox/OutputFolder.h"

namespace fs = std::filesystem;

namespace {

// The prediction file's name is the 8th positional argument of the echoed
// command line.
std::string PredictionName(const std::string& commandLine)
{
    const EchoedCommand command = SplitCommandLine(commandLine);
    return command.positionals.size() > POS_PREDICTIONS ? command.positionals[POS_PREDICTIONS] : "predictions.txt";
}

std::string Area(double x)
{
    if (std::isnan(x)) {
        return "n/a";
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.3f", x);
    return buf;
}

} // namespace

int ReportMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunTool(err, [&] {
        std::string runDir;
        std::string outDir;
        std::string logFile;
        std::string predictionFile;
        std::vector<std::string> truth;
        std::string known;
        std::size_t topRows = DEFAULT_TOP;
        CLI::App app(
            "Reads a finished or cut-short motifbind run and writes named tables and a self-contained "
            "report.html into a new folder. Names come from the proteins.tsv, motifs.tsv and sources.tsv "
            "that motifbind-prep writes, when they are beside the log; ids stand in for them otherwise.",
            "motifbind-report");
        app.add_option("RUN", runDir, "folder of the run: its log, prediction file and inputs")->required();
        app.add_option("--out", outDir, "new (or empty) folder for the report")->required();
        app.add_option("--log", logFile, "the run's log (default RUN/motifbind.log)");
        app.add_option("--predictions", predictionFile,
                       "the run's prediction file (default: the one its command line names)");
        app.add_option("--truth", truth,
                       "held-out interacting and non-interacting protein pairs: ROC and precision-recall curves "
                       "beside a degree-only baseline")
            ->expected(2)
            ->check(CLI::ExistingFile);
        app.add_option("--known", known,
                       "known interacting motif pairs (two family names a line, more columns ignored): how many "
                       "are among the top 10, 50 and 100 by affinity; a warning when the run's own domain-domain "
                       "evidence lists some of them")
            ->check(CLI::ExistingFile);
        app.add_option("--top", topRows, "rows of the page's table of the most likely interactions")
            ->capture_default_str()
            ->check(CLI::Range(std::size_t{1}, std::numeric_limits<std::size_t>::max() / 2));
        if (!ParseArgs(app, args, out)) {
            FlushOutput(out);
            return 0;
        }
        const fs::path run(runDir);
        const fs::path logPath = logFile.empty() ? run / "motifbind.log" : fs::path(logFile);
        OutputFolder folder(outDir);
        folder.CheckUsable();

        // The log is read as it goes: a long perturbation analysis keeps only
        // the rows of its table and the cycles the page names.
        PerturbationTable perturbations;
        TopCycles top(TOP_ROWS);
        const RunLog log = ReadRunLog(logPath, [&](PerturbationCycle&& c) {
            perturbations.Add(c);
            top.Add(std::move(c));
        });
        const fs::path predPath =
            predictionFile.empty() ? run / PredictionName(log.commandLine) : fs::path(predictionFile);
        std::optional<Predictions> predictions;
        // A file named on the command line must be there; the one the run's
        // command line names may be missing when the run stopped before it.
        std::error_code ec;
        if (!predictionFile.empty() || fs::exists(fs::symlink_status(predPath, ec))) {
            predictions = ReadPredictionFile(predPath);
        }
        const Names names = Names::Read(run);
        const RunInputs inputs = ReadRunInputs(run, log.commandLine);
        ReportRequest request;
        if (truth.size() == 2) {
            request.truth = std::make_pair(fs::path(truth[0]), fs::path(truth[1]));
        }
        if (!known.empty()) {
            request.known = known;
        }
        request.top = topRows;
        // A simulated set run in its own folder: the planted affinities and
        // what counts each motif pair's binding variables are beside the log.
        bool planted = true;
        for (const char* name :
             {files::TRUTH_AFFINITIES, files::PROTEIN_MOTIFS, files::ACTIVE_PAIRS, files::PPI_OBSERVATIONS}) {
            planted = planted && fs::exists(run / name);
        }
        if (planted) {
            request.planted = run;
        }
        const Predictions none;
        auto files = ReportTables(log, predictions ? *predictions : none, names, inputs);
        // The run folder's own name, also for "." or a name ending in "/".
        fs::path whole = fs::absolute(run).lexically_normal();
        if (whole.filename().empty()) {
            whole = whole.parent_path();
        }
        const std::string title = whole.filename().string();
        ReportData data = BuildReport(title.empty() ? runDir : title, log, predictions ? &*predictions : nullptr, names,
                                      inputs, request);
        data.topPerturbations = PerturbationViews(top, names);
        data.provenance = ReadSetProvenance(run);
        for (const auto& [name, text] : files) {
            data.tables.push_back(name);
        }
        if (!perturbations.Empty()) {
            data.tables.push_back(PERTURBATION_TABLE);
        }
        folder.Begin();
        for (const auto& [name, text] : files) {
            folder.Write(name, text);
        }
        if (!perturbations.Empty()) {
            OutputFolder::File table = folder.Open(PERTURBATION_TABLE);
            perturbations.Write(names, [&table](std::string_view line) { table.Append(line); });
            table.Close();
        }
        folder.Write("report.html", ReportHtml(data));
        folder.Commit();
        const std::size_t written = data.tables.size() + 1;
        out << "motifbind-report: wrote " << written << " files to " << outDir << "\n";
        if (!data.complete) {
            err << "warning: the run is cut short (" << data.problem << "); the report is partial\n";
        }
        if (!inputs.present) {
            out << "inputs: " << inputs.problem << "; no carriers and no degree-only baseline\n";
        }
        if (data.truth) {
            const TruthView& t = *data.truth;
            out << "against the truth: " << t.interacting << " interacting, " << t.notInteracting << " not, "
                << t.missing << " not in the prediction file; " << t.observed << " observed in the run (in-sample), "
                << t.heldOut << " held out\n";
            for (std::size_t i = 0; i < t.roc.size(); ++i) {
                out << "  " << t.roc[i].label << ": ROC AUC " << Area(t.roc[i].area) << ", average precision "
                    << Area(t.pr[i].area) << "\n";
            }
        }
        if (data.known) {
            for (const KnownView::Row& r : data.known->rows) {
                out << "known motif pairs in the top " << r.top << ": " << r.found << " (chance " << Area(r.chance)
                    << ")\n";
            }
        }
        if (data.planted) {
            for (const PhaseRecovery& p : data.phases) {
                out << "affinities after EM " << p.label << ": rank correlation " << Area(p.affinityCorrelation)
                    << " between learned and planted, over " << data.judgedPairs << " motif pairs\n";
            }
        }
        for (const PhaseRecovery& p : data.phases) {
            out << "noise models after EM " << p.label << ": " << RatesText(p.rates) << "\n";
        }
        out << "report: " << (fs::path(outDir) / "report.html").string() << "\n";
        FlushOutput(out);
        // After the output: a report that cannot say where it is fails
        // with that one error.
        if (data.degeneracy.Any()) {
            err << "warning: degenerate estimates: " << data.degeneracy.Text() << "\n";
        }
        if (data.known && data.known->circular > 0) {
            err << "warning: " << CircularText(*data.known) << "\n";
        }
        if (data.truth && data.truth->unknown.pairs > 0) {
            err << "warning: " << UnknownText("--truth", "protein", data.truth->unknown) << "\n";
        }
        if (data.known && data.known->unknown.pairs > 0) {
            err << "warning: " << UnknownText("--known", "family", data.known->unknown) << "\n";
        }
        return 0;
    });
}

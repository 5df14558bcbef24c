// motifbind-bench: generates (or reuses) a simulated data set, runs one or
// two motifbind executables on it alternately, times each phase from the log
// lines as they arrive, and prints a Markdown report of medians.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "bench/BenchOptions.h"
#include "bench/BenchRun.h"
#include "bench/DataScan.h"
#include "bench/DataSet.h"
#include "bench/FileCompare.h"
#include "bench/MotifbindCommand.h"
#include "bench/PairList.h"
#include "bench/PerturbList.h"
#include "bench/Report.h"
#include "bench/Settings.h"
#include "tools/toolbox/Cli.h"
#include "tools/toolbox/ToolError.h"

#ifndef MOTIFBIND_BENCH_SIM
#define MOTIFBIND_BENCH_SIM ""
#endif
#ifndef MOTIFBIND_BENCH_EXE
#define MOTIFBIND_BENCH_EXE ""
#endif
#ifndef MOTIFBIND_BENCH_DATA
#define MOTIFBIND_BENCH_DATA "bench-data"
#endif

namespace fs = std::filesystem;

namespace {

struct Side {
    SideRuns runs;
    std::string exe;
    std::vector<std::string> leading;
    std::vector<RunOutcome> outcomes;
};

std::string Joined(const std::string& exe, const std::vector<std::string>& leading)
{
    std::string s = exe;
    for (const std::string& a : leading) {
        s += " " + a;
    }
    return s;
}

// Resolves a positional file name of the command against the data folder.
std::string InFolder(const std::string& folder, const std::string& name)
{
    const fs::path p(name);
    return p.is_absolute() ? name : (fs::path(folder) / p).string();
}

long OptionCount(const MotifbindCommand& cmd, std::size_t index)
{
    const std::vector<std::string> f = cmd.Option("-f");
    return index < f.size() ? std::atol(f[index].c_str()) : -1;
}

std::string MakeScratch()
{
    std::string pattern = "/tmp/motifbind-bench-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw ToolError("cannot create a folder under /tmp/");
    }
    return pattern;
}

// Compares every run's file with the reference run's; the verdict line.
std::string Verdict(const std::vector<const Side*>& sides, bool logs)
{
    const Side& refSide = *sides.back();
    const RunOutcome& ref = refSide.outcomes.front();
    const std::string& refFile = logs ? ref.logCopy : ref.predictions;
    int compared = 0;
    for (const Side* side : sides) {
        for (std::size_t i = 0; i < side->outcomes.size(); ++i) {
            const RunOutcome& o = side->outcomes[i];
            if (&o == &ref) {
                continue;
            }
            ++compared;
            const FileDifference d = CompareFiles(refFile, logs ? o.logCopy : o.predictions, logs);
            if (!d.identical) {
                return "no (" + side->runs.label + " run " + std::to_string(i + 1) + " differs from " +
                       refSide.runs.label + " run 1 at line " + std::to_string(d.line) + ")";
            }
        }
    }
    if (compared == 0) {
        return "n/a (one run)";
    }
    return logs ? "yes (all runs; the first line, the command line, left out)" : "yes (all runs)";
}

DataSummary Summarise(const Setting& setting, const BenchOptions& o, const std::string& folder,
                      const MotifbindCommand& command, const DataScan& scan, int pertSize)
{
    DataSummary data;
    data.setting = setting.name;
    data.seed = o.seed;
    data.folder = folder;
    data.proteins = OptionCount(command, 0);
    data.motifs = OptionCount(command, 1);
    data.observations = scan.observations;
    data.work = scan.work;
    data.perType = o.perType;
    data.candidates = scan.list.entries.size();
    data.pertSize = pertSize;
    data.cycles = scan.list.cycles;
    return data;
}

Side MakeSide(std::string label, std::string exe, std::vector<std::string> leading)
{
    Side side;
    side.runs.label = std::move(label);
    side.exe = std::move(exe);
    side.leading = std::move(leading);
    side.runs.command = Joined(side.exe, side.leading);
    return side;
}

// Runs each side `runs` times, alternating between them, with a progress
// line per run.
void RunAll(const std::vector<Side*>& sides, int runs, RunRequest base, const DataSummary& data)
{
    const int total = runs * static_cast<int>(sides.size());
    int done = 0;
    for (int r = 1; r <= runs; ++r) {
        for (Side* side : sides) {
            RunRequest req = base;
            req.exe = side->exe;
            req.leading = side->leading;
            req.name = side->runs.label + "-" + std::to_string(r);
            std::cout << "Run " << ++done << "/" << total << ": " << side->runs.label << " ..." << std::flush;
            RunOutcome outcome;
            try {
                outcome = RunOnce(req);
            } catch (const ToolError&) {
                std::cout << " failed" << std::endl;
                throw;
            }
            const Figures figures = ComputeFigures(outcome.measure, data.work.bindingVariables, data.predictPairs);
            std::cout << " " << FormatFigure(figures[Figure::TotalWall], 1, true) << " s wall, "
                      << FormatFigure(figures[Figure::TotalCpu], 1) << " s CPU" << std::endl;
            const bool analysis = data.perType >= 1 && data.perType <= 3;
            if (analysis && figures[Figure::Cycles] != static_cast<double>(data.cycles)) {
                std::cout << "Note: " << req.name << " ran " << FormatFigure(figures[Figure::Cycles], 0)
                          << " perturbation cycles; " << data.cycles << " were expected" << std::endl;
            }
            side->runs.runs.push_back(figures);
            side->outcomes.push_back(std::move(outcome));
        }
    }
}

void PrintReport(const DataSummary& data, const std::vector<Side*>& sides, int runs)
{
    std::cout << "\n" << ReportTitle(data.setting) << "\n\n";
    PrintDataSummary(std::cout, data);
    std::cout << "\nMedians of " << runs << (runs == 1 ? " run" : " runs") << " per executable:\n\n";
    std::vector<SideRuns> columns;
    std::vector<const Side*> compared;
    for (const Side* side : sides) {
        std::cout << "- " << side->runs.label << ": `" << side->runs.command << "`\n";
        columns.push_back(side->runs);
        compared.push_back(side);
    }
    std::cout << "\n";
    PrintFigureTable(std::cout, columns);
    std::cout << "\nlogs identical: " << Verdict(compared, true) << "\n"
              << "predictions identical: " << Verdict(compared, false) << "\n";
}

int Bench(const BenchOptions& o)
{
    const Setting& setting = FindSetting(o.setting);
    const int pertPairs = o.pertPairs > 0 ? o.pertPairs : setting.pertPairs;
    const int pertSize = o.pertSize >= -1 ? o.pertSize : setting.pertSize;

    const Setting& generated = setting.dataOf.empty() ? setting : FindSetting(setting.dataOf);
    const std::string folder = EnsureDataSet(generated, o.seed, o.dataRoot, o.sim, std::cout);
    MotifbindCommand command = MotifbindCommand::Parse(ReadCommandLine(folder));
    long long predictPairs = 0;
    if (setting.allPairs) {
        const long proteins = OptionCount(command, 0);
        command.SetPositional(MotifbindCommand::PREDICT_PAIRS, EnsureAllPairsList(folder, proteins, std::cout));
        predictPairs = AllPairsCount(proteins);
    } else {
        predictPairs = CountPairRecords(InFolder(folder, command.Positional(MotifbindCommand::PREDICT_PAIRS)));
    }
    const DataScan scan = ScanDataSet(InFolder(folder, command.Positional(MotifbindCommand::OBSERVATIONS)),
                                      InFolder(folder, command.Positional(MotifbindCommand::PROTEIN_MOTIFS)),
                                      InFolder(folder, command.Positional(MotifbindCommand::ACTIVE_PAIRS)), o.perType,
                                      pertPairs, pertSize);
    DataSummary data = Summarise(setting, o, folder, command, scan, pertSize);
    data.predictPairs = predictPairs;
    data.allPairs = setting.allPairs;

    const std::string scratch = MakeScratch();
    try {
        const std::string listPath = scratch + "/perturb-list.txt";
        WritePerturbList(scan.list, listPath);
        command.SetOption("-p", {std::to_string(o.perType)});
        command.SetOption("-s", {std::to_string(pertSize)});
        command.SetPositional(MotifbindCommand::BINDING_PAIRS, listPath);

        std::vector<std::string> newLeading;
        if (o.threads > 0) {
            newLeading = {"-t", std::to_string(o.threads)};
        }
        newLeading.insert(newLeading.end(), o.newArgs.begin(), o.newArgs.end());
        // Alone, the executable is neither new nor old.
        Side fresh = MakeSide(o.vs.empty() ? "exe" : "new", o.exe, newLeading);
        Side old = MakeSide("old", o.vs, o.oldArgs);
        std::vector<Side*> sides{&fresh};
        if (!o.vs.empty()) {
            sides.push_back(&old);
        }

        RunRequest base;
        base.command = command;
        base.perType = o.perType;
        base.dataFolder = folder;
        base.scratch = scratch;
        RunAll(sides, o.runs, base, data);
        PrintReport(data, sides, o.runs);

        if (o.keep) {
            std::cout << "\nRun files kept in " << scratch << "\n";
        } else {
            std::error_code ec;
            fs::remove_all(scratch, ec);
        }
        return 0;
    } catch (const RunFailure& e) {
        if (!e.Output().empty()) {
            std::cerr << "Standard error of the failed run:\n" << e.Output() << "\n";
        }
        throw ToolError(std::string(e.what()) + "; the run files are kept in " + scratch);
    } catch (const ToolError& e) {
        throw ToolError(std::string(e.what()) + "; the run files are kept in " + scratch);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const BuildPaths paths{MOTIFBIND_BENCH_SIM, MOTIFBIND_BENCH_EXE, MOTIFBIND_BENCH_DATA};
    return RunTool(std::cerr, [&] {
        const std::optional<BenchOptions> options =
            ParseBenchOptions(std::vector<std::string>(argv + 1, argv + argc), paths, std::cout);
        return options ? Bench(*options) : 0;
    });
}

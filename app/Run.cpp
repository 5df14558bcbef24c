#include "app/Run.h"

#include <exception>
#include <fstream>
#include <new>
#include <iostream>
#include <optional>
#include <string>

#include "app/CommandLine.h"
#include "app/CountingBuf.h"
#include "app/Progress.h"
#include "app/ProgressGuardBuf.h"
#include "app/Settings.h"
#include "app/Stages.h"
#include "format/LogLabels.h"
#include "format/ShardManifest.h"
#include "io/FileOpen.h"
#include "io/InText.h"
#include "io/InputFiles.h"
#include "model/RunModel.h"
#include "motifbind/Version.h"
#include "perturb/AnalysisKind.h"

namespace {

void Line(std::ostream& out, const std::string& text) { out << text << std::endl; }

// The output files with the names their failures are reported under. With
// -j the log and standard output are written through byte counters, for the
// manifest, and the manifest is a third file.
struct Outputs {
    std::optional<CountingBuf> logBytes, outBytes;
    std::ofstream log, pred, shard;
    std::string logName, predName, shardName;
    std::optional<std::ostream> out;
};

// Opens an output so that every failed write throws: a full disk or a
// closed descriptor must end the run, not leave a truncated file behind a
// success.
void OpenOutput(std::ofstream& out, std::string& name, const char* fname)
{
    name = fname;
    OutFopen(out, fname);
    out.exceptions(std::ios::badbit | std::ios::failbit);
}

// Standard output through a ProgressGuardBuf while it lives, when standard
// output and error are one terminal and the progress line shows.
class GuardedStdout {
public:
    explicit GuardedStdout(ProgressLine& line)
    {
        if (line.Enabled() && OutputSharesTerminal()) {
            guard.emplace(std::cout.rdbuf(), line);
            old = std::cout.rdbuf(&*guard);
        }
    }
    ~GuardedStdout()
    {
        if (guard)
            std::cout.rdbuf(old);
    }
    GuardedStdout(const GuardedStdout&) = delete;
    GuardedStdout& operator=(const GuardedStdout&) = delete;

private:
    std::optional<ProgressGuardBuf> guard;
    std::streambuf* old = nullptr;
};

// The training's input files, open.
struct TrainingFiles {
    InFile protLen, motCover, protMot, obs, models, active, ddi, ddiModels, ddiOpt;

    InputStreams Streams() { return {protLen, motCover, protMot, obs, models, active, ddi, ddiModels, ddiOpt}; }
};

// Opens the training's inputs and the log, in the order whose failures the
// run reports: the DDI files (without -d empty inputs), the observations,
// models, motif content and active pairs, then the log (with -j the manifest
// beside it, and the byte counters), then lengths and coverage.
void OpenTraining(const Settings& s, TrainingFiles& in, Outputs& outs)
{
    InFopen(in.ddi, s.ddiFiles ? (*s.ddiFiles)[0] : "/dev/null");
    InFopen(in.ddiModels, s.ddiFiles ? (*s.ddiFiles)[1] : "/dev/null");
    InFopen(in.ddiOpt, s.ddiFiles ? (*s.ddiFiles)[2] : "/dev/null");
    InFopen(in.obs, s.protFile);
    InFopen(in.models, s.modelFile);
    InFopen(in.protMot, s.pmFile);
    InFopen(in.active, s.motFile);
    OpenOutput(outs.log, outs.logName, s.outFile.c_str());
    if (s.shard) {
        const std::string manifestName = outs.logName + ".shard";
        OpenOutput(outs.shard, outs.shardName, manifestName.c_str());
        outs.logBytes.emplace(outs.log.rdbuf());
        static_cast<std::ostream&>(outs.log).rdbuf(&*outs.logBytes);
        outs.outBytes.emplace(std::cout.rdbuf());
        outs.out.emplace(&*outs.outBytes);
        outs.out->exceptions(std::ios::badbit);
    }
    InFopen(in.protLen, s.protLenFile);
    InFopen(in.motCover, s.motCoverFile);
}

// The prediction stage on the settings' files: the prediction file opens
// before the two lists.
void Predict(const Settings& s, const AnalysisKind* a, const RunModel& m, const TrainedSet& t, Outputs& outs,
             InText& bindList)
{
    OpenOutput(outs.pred, outs.predName, s.predictFile.c_str());
    InFile pairs, binds;
    InFopen(pairs, s.predpairFile);
    InFopen(binds, s.predbindFile);
    WritePredictions(pairs, binds, WritesBindingPredictions(a), m.pm, *t.ps, outs.pred, bindList);
    outs.pred.close();
}

// Ends the log and, with -j, writes the manifest once standard output has
// all of the block's bytes.
void Finish(const Settings& s, ShardManifest& manifest, RunLogs& logs, Outputs& outs)
{
    Line(outs.log, loglabel::END_OF_FILE);
    outs.log.close();
    if (s.shard) {
        logs.mix.flush();
        manifest.outEnd = outs.outBytes->Count();
        manifest.outSum = outs.outBytes->Checksum();
        WriteManifest(outs.shard, manifest);
        outs.shard.close();
    }
}

int RunSteps(const Settings& s, Outputs& outs)
{
    // The status line, and standard output guarded against it. The guard
    // comes before the byte counter of -j, which then counts the bytes that
    // pass through it: the same bytes.
    ProgressLine progress;
    const GuardedStdout guarded(progress);

    TrainingFiles in;
    OpenTraining(s, in, outs);
    // Mixture progress goes to standard output, counted with -j.
    RunLogs logs{outs.log, outs.out ? *outs.out : std::cout, progress, outs.logBytes ? &*outs.logBytes : nullptr,
                 outs.outBytes ? &*outs.outBytes : nullptr};
    RunModel m(s.numProt, s.numMot, s.leakType);
    ReadInputs(s, in.Streams(), outs.log, m);
    TrainedSet t = Train(m, TrainOptionsOf(s), logs);
    progress.Clear();
    // -p accepts any number; only 1 to 3 name an analysis.
    const AnalysisKind* analysis = AnalysisOf(s.perType);
    InText bindList;
    Predict(s, analysis, m, t, outs, bindList);
    ShardManifest manifest = RunAnalysis(s, analysis, m, t, bindList, logs);
    Finish(s, manifest, logs, outs);
    return 0;
}

// Standard output and error throw on a failed write while the run lasts,
// so that a reader that went away (a closed pipe) ends it.
class ConsoleGuard {
public:
    ConsoleGuard() : out(std::cout.exceptions()), err(std::cerr.exceptions())
    {
        std::cout.exceptions(std::ios::badbit);
        std::cerr.exceptions(std::ios::badbit);
    }
    ~ConsoleGuard()
    {
        std::cout.exceptions(out);
        std::cerr.exceptions(err);
    }
    ConsoleGuard(const ConsoleGuard&) = delete;
    ConsoleGuard& operator=(const ConsoleGuard&) = delete;

private:
    std::ios::iostate out, err;
};

int Run(int argc, char** argv)
{
    Outputs outs;
    try {
        const ConsoleGuard guard;
        const Settings s = ParseCommandLine(argc, argv);
        switch (s.action) {
        case Settings::Action::Help:
            PrintHelp(std::cout);
            return 0;
        case Settings::Action::Version:
            std::cout << "motifbind " << MOTIFBIND_VERSION << std::endl;
            return 0;
        case Settings::Action::Run:
            break;
        }
        return RunSteps(s, outs);
    } catch (const std::ios_base::failure& e) {
        // Name the output that failed.
        const auto failed = std::ios::badbit | std::ios::failbit;
        if (outs.log.rdstate() & failed)
            throw WriteErr("can't write " + outs.logName);
        if (outs.pred.rdstate() & failed)
            throw WriteErr("can't write " + outs.predName);
        if (outs.shard.rdstate() & failed)
            throw WriteErr("can't write " + outs.shardName);
        if (std::cout.bad() || (outs.out && outs.out->bad()))
            throw WriteErr("can't write standard output");
        if (std::cerr.bad())
            throw WriteErr("can't write standard error");
        throw RunError(std::string("an input could not be read: ") + e.what());
    }
}

} // namespace

int RunMain(int argc, char** argv)
{
    try {
        return Run(argc, argv);
    } catch (const UsageErr& e) {
        if (*e.what())
            std::cerr << "Error: " << e.what() << std::endl;
        PrintUsage(std::cerr);
        return 1;
    } catch (const RunError& e) {
        std::cerr << "Error: " << e.what() << std::endl;
        return 2;
    } catch (const std::bad_alloc&) {
        std::cerr << "Error: out of memory" << std::endl;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "Error: " << e.what() << std::endl;
        return 2;
    } catch (...) {
        std::cerr << "Error: the run failed for an unknown reason" << std::endl;
        return 2;
    }
}

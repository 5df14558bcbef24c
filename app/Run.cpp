#include "app/Run.h"

#include <algorithm>
#include <cstddef>
#include <exception>
#include <fstream>
#include <new>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/CountingBuf.h"
#include "app/Progress.h"
#include "app/ProgressGuardBuf.h"
#include "app/Settings.h"
#include "app/ShardManifest.h"
#include "infer/EMDriver.h"
#include "infer/EMRound.h"
#include "infer/InferPlan.h"
#include "infer/Likelihood.h"
#include "infer/ParamSet.h"
#include "io/FileOpen.h"
#include "io/InText.h"
#include "io/InputFiles.h"
#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"
#include "motifbind/Version.h"
#include "perturb/Analysis.h"
#include "perturb/Candidates.h"
#include "perturb/Shard.h"
#include "predict/Predict.h"

namespace {

void Line(std::ostream& out, const std::string& text) { out << text << std::endl; }

template <typename T>
void Dump(std::ostream& out, const char* banner, const T& obj)
{
    Line(out, banner);
    obj.Print(out);
}

void Dump(std::ostream& out, const char* banner, const ProtInter& pi, const ProtMot& pm)
{
    Line(out, banner);
    pi.Print(pm, out);
}

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

int RunSteps(const Settings& s, Outputs& outs)
{
    InFile protFile, modelFile, pmFile, motFile, predpairFile, predbindFile, protLenFile, motCoverFile;
    InFile ddiFile, ddmdlFile, ddioptFile;
    // Without -d the DDI streams read as empty inputs.
    InFopen(ddiFile, s.ddiFiles ? (*s.ddiFiles)[0] : "/dev/null");
    InFopen(ddmdlFile, s.ddiFiles ? (*s.ddiFiles)[1] : "/dev/null");
    InFopen(ddioptFile, s.ddiFiles ? (*s.ddiFiles)[2] : "/dev/null");
    std::ofstream& outFile = outs.log;
    std::ofstream& predictFile = outs.pred;

    ProtMot pm(s.numProt, s.numMot);
    pm.SetLeakType(s.leakType);
    MotInterPot mip(s.numMot);
    ProtInter pi(s.numProt);
    // Keyed by motif pairs, so its id range must cover the motifs too.
    ProtInter di(std::max(s.numProt, s.numMot));
    ObsModel om, dm;

    // The status line, and standard output guarded against it. The guard
    // comes before the byte counter of -j, which then counts the bytes that
    // pass through it: the same bytes.
    ProgressLine progress;
    const GuardedStdout guarded(progress);

    InFopen(protFile, s.protFile);
    InFopen(modelFile, s.modelFile);
    InFopen(pmFile, s.pmFile);
    InFopen(motFile, s.motFile);
    OpenOutput(outFile, outs.logName, s.outFile.c_str());
    // Mixture progress goes to standard output, counted with -j.
    std::ostream* mixOut = &std::cout;
    if (s.shard) {
        const std::string manifestName = outs.logName + ".shard";
        OpenOutput(outs.shard, outs.shardName, manifestName.c_str());
        outs.logBytes.emplace(outFile.rdbuf());
        static_cast<std::ostream&>(outFile).rdbuf(&*outs.logBytes);
        outs.outBytes.emplace(std::cout.rdbuf());
        outs.out.emplace(&*outs.outBytes);
        outs.out->exceptions(std::ios::badbit);
        mixOut = &*outs.out;
    }
    InFopen(protLenFile, s.protLenFile);
    InFopen(motCoverFile, s.motCoverFile);

    outFile.precision(15);
    mip.SetPrior(Prior::FromRatio(s.aPos, s.n2p));
    const Prior& prior = mip.GetPrior();

    outFile << s.echo << std::flush;
    outFile << "*** # proteins:\t" << s.numProt << std::endl;
    outFile << "*** # motifs:\t" << s.numMot << std::endl;
    outFile << "Prior:\t" << prior.aPos << "\t" << s.n2p << "\t" << prior.aNeg << "\t" << prior.aAll << std::endl;
    outFile << "pertSize:\t" << s.pertSize << std::endl;

    ReadFiles(pm, pi, mip, om, dm, di, protLenFile, motCoverFile, pmFile, protFile, modelFile, motFile, outFile,
              s.leakGroup, ddiFile, ddmdlFile, ddioptFile);
    // The noise models' prior is centred on the values just read.
    if (s.noisePrior > 0.0) {
        om.SetNoisePrior(s.noisePrior);
        dm.SetNoisePrior(s.noisePrior);
    }

    pm.Print(outFile);
    Dump(outFile, "****** PPI ******", pi, pm);
    Dump(outFile, "****** DDI ******", di, pm);
    Dump(outFile, "****** Potential without conditioning ******", mip);
    Dump(outFile, "****** PPI observatoin model ******", om);
    Dump(outFile, "****** DDI observatoin model ******", dm);
    Line(outFile, "***********************************************");
    Line(outFile, "*** Initialization done.");
    Line(outFile, "***********************************************");

    MotInterPot micp(mip);

    // Phase 1: EM without the domain-domain evidence: a plan without DDI
    // lists and an observation model set without distributions.
    ObsModel trainedOm;
    {
        Line(outFile, "****** RunEM without DDI ...");
        const ProtInter noDdi(s.numProt);
        const InferPlan plan(pm, pi, micp, noDdi);
        ParamSet ps(plan, mip, micp, std::move(om), ObsModel());
        const int rounds = RunEM(ps, outFile, *mixOut, NUMITERCHECK, [&](int r, double l) {
            progress.Rounds("EM without DDI", r, l);
        });
        const double j = LogJointProb(ps, 0);
        outFile << "*** Total # EM round and joint prob:\t" << rounds << "\t" << j << std::endl;
        ps.Scatter(mip, micp);
        trainedOm = ps.TakeOm();
        Dump(outFile, "****** Potential without conditioning ******", mip);
        Dump(outFile, "****** PPI observatoin model ******", trainedOm);
    }

    // Phase 2: one round brings the DDI model in; its joint is the first
    // with dm and di, computed afresh for the new parameter set.
    const InferPlan plan(pm, pi, micp, di);
    ParamSet ps(plan, mip, micp, std::move(trainedOm), std::move(dm));
    // Phase 1 has no lists, so the estimator matters only from here on.
    ps.SetEstimator(s.estimator == 1 ? DdiEstimator::SharedState : DdiEstimator::PerVariable);
    Line(outFile, "****** initializing DDI model ...");
    EMStep(ps, *mixOut);
    double j = LogJointProb(ps, 0);
    outFile << "*** Joint prob:\t" << j << std::endl;
    ps.Scatter(mip, micp);
    Dump(outFile, "****** Potential without conditioning ******", mip);
    Dump(outFile, "****** Potential conditioned on DDI data ******", micp);
    Dump(outFile, "****** PPI observatoin model ******", ps.Om());
    Dump(outFile, "****** DDI observatoin model ******", ps.Dm());

    // Phase 3: EM with the DDI evidence.
    Line(outFile, "****** RunEM with DDI ...");
    const int rounds = RunEM(ps, outFile, *mixOut, NUMITERCHECK, [&](int r, double l) {
        progress.Rounds("EM with DDI", r, l);
    });
    j = LogJointProb(ps, 0);
    outFile << "*** Total # EM round and joint prob:\t" << rounds << "\t" << j << std::endl;
    ps.Scatter(mip, micp);
    Dump(outFile, "****** Potential without conditioning ******", mip);
    Dump(outFile, "***** Potential conditioned on DDi data *****", micp);
    Dump(outFile, "****** PPI observatoin model ******", ps.Om());
    Dump(outFile, "****** DDI observatoin model ******", ps.Dm());
    progress.Clear();

    // Predictions.
    OpenOutput(predictFile, outs.predName, s.predictFile.c_str());
    InFopen(predpairFile, s.predpairFile);
    InFopen(predbindFile, s.predbindFile);
    PredictProtInter(predpairFile, predictFile, pm, ps);
    predpairFile.close();
    // The binding list serves the predictions and the analysis: read it once.
    InText bindList;
    KeepInput(predbindFile, bindList);
    predbindFile.close();
    if (s.perType != 2)
        PredictBinding(bindList, predictFile, pm, ps);
    Line(predictFile, "*** End of file.");
    predictFile.close();

    // Analysis: every re-convergence checks after each round.
    const double jprob = LogJointProb(ps, 0);
    outFile << "Joint prob before perturbation:\t" << jprob << std::endl;
    // Where this block's cycles begin in both outputs.
    ShardManifest manifest;
    if (s.shard) {
        manifest.shard = *s.shard;
        manifest.logStart = outs.logBytes->Count();
        manifest.outStart = outs.outBytes->Count();
        outs.logBytes->Mark();
        outs.outBytes->Mark();
    }
    if (s.perType >= 1 && s.perType <= 3) {
        // From here the trained set is only copied: each cycle works on its own.
        ps.ReleaseWork();
        bindList.Rewind();
        auto cands = ReadCandidates(s.perType, pm, pi, bindList, s.pertSize);
        if (s.shard) {
            // The block is cut from the whole list, so its cycles are those
            // a single run writes at these places.
            manifest.total = cands.size();
            manifest.cycles = BlockOf(cands.size(), *s.shard);
            cands = std::vector<Candidate>(cands.begin() + std::ptrdiff_t(manifest.cycles.first),
                                           cands.begin() + std::ptrdiff_t(manifest.cycles.end));
        }
        progress.BeginCycles();
        RunAnalysis(s.perType, Trained{pm, plan, ps}, cands, jprob, outFile, *mixOut, s.threads,
                    [&](std::size_t done, std::size_t total) { progress.Cycles(done, total); });
        progress.Clear();
    }
    if (s.shard) {
        manifest.logEnd = outs.logBytes->Count();
        manifest.logSum = outs.logBytes->Checksum();
    }
    Line(outFile, "*** End of file.");
    outFile.close();
    if (s.shard) {
        mixOut->flush();
        manifest.outEnd = outs.outBytes->Count();
        manifest.outSum = outs.outBytes->Checksum();
        WriteManifest(outs.shard, manifest);
        outs.shard.close();
    }
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

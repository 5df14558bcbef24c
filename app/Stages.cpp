#include "app/Stages.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "format/LogLabels.h"
#include "infer/EMDriver.h"
#include "infer/EMRound.h"
#include "infer/Likelihood.h"
#include "model/Prior.h"
#include "perturb/Analysis.h"
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

// EM rounds without checks, for a bounded training.
int Rounds(ParamSet& ps, std::ostream& mixLog, int n)
{
    for (int r = 0; r < n; ++r)
        EMStep(ps, mixLog);
    return n;
}

// The round that brings the DDI model in; its joint is the first with dm
// and di, computed afresh for the new parameter set.
void InitialiseDdi(ParamSet& ps, MotInterPot& mip, MotInterPot& micp, const TrainOptions& o, RunLogs& logs)
{
    std::ostream& log = logs.log;
    Line(log, loglabel::DDI_INIT);
    if (o.maxRounds != 0)
        EMStep(ps, logs.mix);
    const double j = LogJointProb(ps, 0);
    log << loglabel::DDI_INIT_JOINT << j << std::endl;
    ps.Scatter(mip, micp);
    Dump(log, loglabel::POTENTIAL, mip);
    Dump(log, loglabel::CONDITIONED_INIT, micp);
    Dump(log, loglabel::PPI_MODELS, ps.Om());
    Dump(log, loglabel::DDI_MODELS, ps.Dm());
}

} // namespace

void ReadInputs(const Settings& s, const InputStreams& in, std::ostream& log, RunModel& m)
{
    log.precision(15);
    m.mip.SetPrior(Prior::FromRatio(s.aPos, s.n2p));
    const Prior& prior = m.mip.GetPrior();

    log << s.echo << std::flush;
    log << "*** # proteins:\t" << s.numProt << std::endl;
    log << "*** # motifs:\t" << s.numMot << std::endl;
    log << "Prior:\t" << prior.aPos << "\t" << s.n2p << "\t" << prior.aNeg << "\t" << prior.aAll << std::endl;
    log << "pertSize:\t" << s.pertSize << std::endl;

    ReadFiles(m, in, s.leakGroup, log);
    // The noise models' prior is centred on the values just read.
    if (s.noisePrior > 0.0) {
        m.om.SetNoisePrior(s.noisePrior);
        m.dm.SetNoisePrior(s.noisePrior);
    }

    m.pm.Print(log);
    Dump(log, "****** PPI ******", m.pi, m.pm);
    Dump(log, "****** DDI ******", m.di, m.pm);
    Dump(log, loglabel::POTENTIAL, m.mip);
    Dump(log, loglabel::PPI_MODELS, m.om);
    Dump(log, loglabel::DDI_MODELS, m.dm);
    Line(log, "***********************************************");
    Line(log, "*** Initialization done.");
    Line(log, "***********************************************");
}

TrainOptions TrainOptionsOf(const Settings& s)
{
    TrainOptions o;
    o.estimator = s.estimator == 1 ? DdiEstimator::SharedState : DdiEstimator::PerVariable;
    return o;
}

void TrainPhase(const Phase& p, ParamSet& ps, MotInterPot& mip, MotInterPot& micp, const TrainOptions& o, RunLogs& logs)
{
    std::ostream& log = logs.log;
    Line(log, p.banner);
    const int rounds = o.maxRounds < 0 ? RunEM(ps, log, logs.mix, NUMITERCHECK,
                                               [&](int r, double l) { logs.progress.Rounds(p.name, r, l); })
                                       : Rounds(ps, logs.mix, o.maxRounds);
    const double j = LogJointProb(ps, 0);
    log << loglabel::EM_SUMMARY << rounds << "\t" << j << std::endl;
    ps.Scatter(mip, micp);
    Dump(log, loglabel::POTENTIAL, mip);
    if (p.ddi)
        Dump(log, loglabel::CONDITIONED, micp);
    Dump(log, loglabel::PPI_MODELS, ps.Om());
    if (p.ddi)
        Dump(log, loglabel::DDI_MODELS, ps.Dm());
}

TrainedSet Train(RunModel& m, const TrainOptions& o, RunLogs& logs)
{
    MotInterPot micp(m.mip);

    // Without the domain-domain evidence: a plan without DDI lists and an
    // observation model set without distributions.
    ObsModel trainedOm;
    {
        const ProtInter noDdi(m.pm.GetNumProt());
        const InferPlan plan(m.pm, m.pi, micp, noDdi);
        ParamSet ps(plan, m.mip, micp, std::move(m.om), ObsModel());
        TrainPhase(WITHOUT_DDI, ps, m.mip, micp, o, logs);
        trainedOm = ps.TakeOm();
    }

    TrainedSet t;
    t.plan = std::make_unique<InferPlan>(m.pm, m.pi, micp, m.di);
    t.ps = std::make_unique<ParamSet>(*t.plan, m.mip, micp, std::move(trainedOm), std::move(m.dm));
    // The first phase has no lists, so the estimator matters only from here on.
    t.ps->SetEstimator(o.estimator);
    InitialiseDdi(*t.ps, m.mip, micp, o, logs);
    TrainPhase(WITH_DDI, *t.ps, m.mip, micp, o, logs);
    return t;
}

void WritePredictions(std::istream& pairs, std::istream& binds, bool binding, const ProtMot& pm, const ParamSet& ps,
                      std::ostream& out, InText& bindList)
{
    PredictProtInter(pairs, out, pm, ps);
    // The binding list serves the predictions and the analysis: read it once.
    KeepInput(binds, bindList);
    if (binding)
        PredictBinding(bindList, out, pm, ps);
    Line(out, loglabel::END_OF_FILE);
}

ShardManifest RunAnalysis(const Settings& s, const AnalysisKind* a, const RunModel& m, TrainedSet& t, InText& binds,
                          RunLogs& logs)
{
    std::ostream& log = logs.log;
    // Every re-convergence checks after each round.
    const double jprob = LogJointProb(*t.ps, 0);
    log << loglabel::BEFORE_PERTURBATION << jprob << std::endl;
    // Where this block's cycles begin in both outputs.
    ShardManifest manifest;
    if (s.shard) {
        manifest.shard = *s.shard;
        manifest.logStart = logs.logBytes->Count();
        manifest.outStart = logs.outBytes->Count();
        logs.logBytes->Mark();
        logs.outBytes->Mark();
    }
    if (a) {
        // From here the trained set is only copied: each cycle works on its own.
        t.ps->ReleaseWork();
        binds.Rewind();
        auto cands = a->candidates(m.pm, m.pi, binds, s.pertSize);
        if (s.shard) {
            // The block is cut from the whole list, so its cycles are those
            // a single run writes at these places.
            manifest.total = cands.size();
            manifest.cycles = BlockOf(cands.size(), *s.shard);
            cands = std::vector<Candidate>(cands.begin() + std::ptrdiff_t(manifest.cycles.first),
                                           cands.begin() + std::ptrdiff_t(manifest.cycles.end));
        }
        logs.progress.BeginCycles();
        RunCycles(*a, Trained{m.pm, *t.plan, *t.ps}, cands, jprob, log, logs.mix, s.threads,
                  [&](std::size_t done, std::size_t total) { logs.progress.Cycles(done, total); });
        logs.progress.Clear();
    }
    if (s.shard) {
        manifest.logEnd = logs.logBytes->Count();
        manifest.logSum = logs.logBytes->Checksum();
    }
    return manifest;
}

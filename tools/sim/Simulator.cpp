#include "tools/sim/Simulator.h"

#include <type_traits>

#include "format/InputSetFiles.h"
#include "tools/sim/ActivePairs.h"
#include "tools/sim/DdiEvidence.h"
#include "tools/sim/LeakModel.h"
#include "tools/sim/NoisyOr.h"
#include "tools/sim/Observations.h"
#include "tools/sim/PairPool.h"
#include "tools/sim/PredictionLists.h"
#include "tools/sim/ProteinSet.h"
#include "tools/sim/TestedPairs.h"
#include "tools/toolbox/RunCommand.h"
#include "tools/toolbox/TextFile.h"

namespace {

std::string PairListText(const std::vector<std::pair<int, int>>& pairs)
{
    TextFile file;
    for (const auto& [a, b] : pairs) {
        file.Int(a).Int(b).EndLine();
    }
    return file.Text();
}

struct ProteinFiles {
    std::string lengths;
    std::string coverage;
    std::string motifs;
    long long appearances = 0;
};

ProteinFiles ProteinText(const ProteinSet& proteins)
{
    // Every protein is listed in the length and coverage files, a protein
    // without motifs with coverage 0.
    TextFile lengths;
    TextFile coverage;
    TextFile motifs;
    ProteinFiles out;
    for (int p = 0; p < proteins.Count(); ++p) {
        const Protein& prot = proteins.Get(p);
        lengths.Int(p).Int(prot.length).EndLine();
        coverage.Int(p).Int(prot.coverage).EndLine();
        for (const auto& [mot, len] : prot.motifs) {
            motifs.Int(p).Int(mot).Int(len).EndLine();
            ++out.appearances;
        }
    }
    out.lengths = lengths.Text();
    out.coverage = coverage.Text();
    out.motifs = motifs.Text();
    return out;
}

std::string ActivePairText(const ActivePairs& active, double initAffinity)
{
    // The affinity column is EM's starting point, the same for every pair:
    // the planted values are for the truth file only.
    TextFile file;
    for (const ActivePair& ap : active.All()) {
        file.Int(ap.larger).Int(ap.smaller).Real(initAffinity).EndLine();
    }
    return file.Text();
}

std::string TruthAffinityText(const ActivePairs& active)
{
    TextFile file;
    for (const ActivePair& ap : active.All()) {
        file.Int(ap.larger).Int(ap.smaller).Real(ap.affinity).EndLine();
    }
    return file.Text();
}

std::string TruthInteractionText(const std::vector<TestedPair>& tested)
{
    TextFile file;
    for (const TestedPair& t : tested) {
        file.Int(t.larger).Int(t.smaller).Int(t.draw.state).Real(t.nonInterProb).Int(t.draw.leakFired ? 1 : 0);
        file.EndLine();
    }
    return file.Text();
}

std::string TruthBindingText(const std::vector<TestedPair>& tested)
{
    TextFile file;
    for (const TestedPair& t : tested) {
        for (const auto& [m1, m2] : t.draw.fired) {
            file.Int(t.larger).Int(t.smaller).Int(m1).Int(m2).EndLine();
        }
    }
    return file.Text();
}

std::string TruthDdiText(const DdiEvidence& ddi)
{
    TextFile file;
    for (const DdiPair& d : ddi.pairs) {
        file.Int(d.larger).Int(d.smaller).Int(d.state).Int(d.reported ? 1 : 0).EndLine();
    }
    return file.Text();
}

struct Counts {
    long long appearances = 0;
    long long strong = 0;
    long long interacting = 0;
    long long leaked = 0;
};

std::string TruthParameterText(const SimConfig& c, const LeakModel& leak, const PpiObservations& obs,
                               const DdiEvidence* ddi, const Counts& n, std::size_t tested)
{
    TextFile file;
    const auto add = [&file](const char* key, auto value) {
        file.Word(key);
        if constexpr (std::is_floating_point_v<decltype(value)>) {
            file.Real(value);
        } else {
            file.Int(static_cast<long long>(value));
        }
        file.EndLine();
    };
    file.Word("seed").Word(std::to_string(c.seed)).EndLine();
    add("proteins", c.proteins);
    add("motifs", c.motifs);
    add("motif_appearances", n.appearances);
    add("active_motif_pairs", static_cast<long long>(c.ActivePairCount()));
    add("strong_motif_pairs", n.strong);
    add("leak_type", leak.Type());
    add("leak_group", leak.Group());
    add("leak_probability", leak.Probability());
    add("tested_pairs", static_cast<long long>(tested));
    add("interacting_pairs", n.interacting);
    add("pairs_with_leak", n.leaked);
    add("observations", static_cast<long long>(obs.records.size()));
    add("binary_observations", obs.binary);
    add("binary_fpr", c.fpr);
    add("binary_fnr", c.fnr);
    add("score_observations", obs.scores);
    add("score_mean0", c.scoreMean0);
    add("score_mean1", c.scoreMean1);
    add("score_var", c.scoreVar);
    add("control_observations", obs.controls);
    if (ddi != nullptr) {
        add("ddi_bound", ddi->bound);
        add("ddi_covered_pairs", static_cast<long long>(ddi->pairs.size()));
        add("ddi_reported_pairs", ddi->Reported());
        add("ddi_sensitivity", c.ddiSens);
        add("ddi_fpr", c.ddiFpr);
    }
    return file.Text();
}

} // namespace

SimulatedSet Simulate(const SimConfig& config)
{
    const std::uint64_t seed = config.seed;
    const ProteinSet proteins(config, seed);
    const ActivePairs active(config, proteins, seed);
    const LeakModel leak(config);
    const NoisyOr noisyOr(proteins, active, leak);
    PairPool pool(config.proteins);
    const std::vector<TestedPair> tested = DrawTestedPairs(config, proteins, active, noisyOr, pool, seed);
    const PpiObservations obs = DrawObservations(config, tested, seed);
    const PredictionLists lists = DrawPredictionLists(config, tested, active, pool, seed);

    Counts n;
    for (const ActivePair& ap : active.All()) {
        n.strong += ap.strong ? 1 : 0;
    }
    for (const TestedPair& t : tested) {
        n.interacting += t.draw.state;
        n.leaked += t.draw.leakFired ? 1 : 0;
    }

    SimulatedSet set;
    auto& f = set.files;
    const ProteinFiles pf = ProteinText(proteins);
    n.appearances = pf.appearances;
    f.emplace_back(files::PPI_OBSERVATIONS, ObservationText(obs.records));
    f.emplace_back(files::PPI_MODELS, PpiModelText(config, obs));
    f.emplace_back(files::PROTEIN_MOTIFS, pf.motifs);
    f.emplace_back(files::ACTIVE_PAIRS, ActivePairText(active, config.initAffinity));
    // Never read by motifbind, but named on its command line.
    f.emplace_back(files::INACTIVE_PAIRS, "");
    f.emplace_back(files::WAITING_PAIRS, "");
    f.emplace_back(files::PREDICT_INTERACTION, PairListText(lists.interaction));
    f.emplace_back(files::PREDICT_BINDING, PairListText(lists.binding));
    f.emplace_back(files::PROTEIN_LENGTHS, pf.lengths);
    f.emplace_back(files::MOTIF_COVERAGE, pf.coverage);

    DdiEvidence ddi;
    if (config.ddi == 1) {
        ddi = DrawDdiEvidence(config, active, seed);
        f.emplace_back(files::DDI_OBSERVATIONS, ddi.ObservationText());
        f.emplace_back(files::DDI_MODELS, ddi.ModelText(config));
        f.emplace_back(files::DDI_OPTIONS, ddi.OptionText());
        f.emplace_back(files::TRUTH_DDI, TruthDdiText(ddi));
    }
    f.emplace_back(files::TRUTH_AFFINITIES, TruthAffinityText(active));
    f.emplace_back(files::TRUTH_INTERACTIONS, TruthInteractionText(tested));
    f.emplace_back(files::TRUTH_BINDINGS, TruthBindingText(tested));
    f.emplace_back(files::TRUTH_PARAMETERS,
                   TruthParameterText(config, leak, obs, config.ddi == 1 ? &ddi : nullptr, n, tested.size()));
    RunSettings run;
    run.proteins = config.proteins;
    run.motifs = config.motifs;
    run.leakType = config.leakType;
    run.leakGroup = config.leakGroup;
    run.perType = config.perType;
    run.pertSize = config.pertSize;
    run.priorPos = config.priorPos;
    run.priorRatio = config.priorRatio;
    run.estimator = config.estimator;
    run.noisePrior = config.noisePrior;
    run.ddi = config.ddi == 1;
    f.emplace_back(files::COMMAND, RunCommand(run));

    std::string& s = set.summary;
    s += "proteins " + std::to_string(config.proteins) + ", motifs " + std::to_string(config.motifs) +
         ", motif appearances " + std::to_string(n.appearances) + "\n";
    s += "active motif pairs " + std::to_string(active.All().size()) + " (" + std::to_string(n.strong) +
         " strong), leak probability " + FormatReal(leak.Probability()) + "\n";
    s += "tested pairs " + std::to_string(tested.size()) + " (" + std::to_string(n.interacting) +
         " interacting), observations " + std::to_string(obs.records.size()) + " (" + std::to_string(obs.binary) +
         " binary, " + std::to_string(obs.scores) + " scores, " + std::to_string(obs.controls) + " controls)\n";
    if (config.ddi == 1) {
        s += "domain-domain: " + std::to_string(ddi.pairs.size()) + " motif pairs covered, " +
             std::to_string(ddi.Reported()) + " reported\n";
    }
    return set;
}

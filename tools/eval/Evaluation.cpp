#include "tools/eval/Evaluation.h"

#include <cmath>
#include <cstdio>

#include "format/InputSetFiles.h"
#include "tools/eval/GroundTruth.h"
#include "tools/runfiles/BindingSupport.h"
#include "tools/runfiles/DegreeBaseline.h"
#include "tools/runfiles/ModelStates.h"
#include "tools/runfiles/PredictionFile.h"
#include "tools/stats/Curves.h"
#include "tools/stats/RankCorrelation.h"
#include "tools/toolbox/ToolError.h"

namespace {

std::string PairText(const PairKey& p) { return std::to_string(p.first) + " " + std::to_string(p.second); }

// A run is judged on a finished training: at least one EM phase with its
// summary, and the affinities dumped after the last one.
void RequireTraining(const RunLog& log)
{
    if (log.LastFinishedPhase() == nullptr) {
        throw ToolError(log.file + ": no finished EM phase (no line \"*** Total # EM round and joint prob:\")");
    }
    if (!log.learned.present) {
        throw ToolError(log.file + ": no learned affinities after the last EM phase");
    }
    if (!log.learned.ended) {
        throw ToolError(log.file + ": the learned affinity section does not end");
    }
}

std::string Format(const char* format, double x)
{
    if (std::isnan(x)) {
        return "n/a";
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, format, x);
    return buf;
}

std::optional<std::filesystem::path> IfThere(const std::filesystem::path& file)
{
    return std::filesystem::exists(file) ? std::optional<std::filesystem::path>(file) : std::nullopt;
}

// The states each model serves, from the observation files of the set; none
// when the set has no observations of the kind.
std::map<int, ModelState> States(const std::filesystem::path& folder, const char* models, const char* observations,
                                 const char* options)
{
    const auto obs = IfThere(folder / observations);
    if (!obs) {
        return {};
    }
    return ReadModelStates(IfThere(folder / models), *obs,
                           options == nullptr ? std::nullopt : IfThere(folder / options));
}

} // namespace

Evaluation Evaluate(const std::filesystem::path& folder)
{
    const GroundTruth truth = ReadGroundTruth(folder);
    std::set<std::pair<int, int>> ppiModels;
    std::set<PairKey> reported;
    const std::map<PairKey, int> support = CountBindingVariables(folder, &ppiModels, &reported);
    const std::map<int, int> degrees = PartnerDegrees(reported);
    const std::filesystem::path logFile = folder / "motifbind.log";
    // The judgement needs the training alone: the cycles of a perturbation
    // analysis, which may fill most of a long log, are read and let go.
    const RunLog log = ReadRunLog(logFile, [](PerturbationCycle&&) {});
    RequireTraining(log);
    const std::filesystem::path predictionFile = folder / "predictions.txt";
    const auto predictions = ReadPredictions(predictionFile);

    Evaluation e;
    e.holdout = truth.holdout;
    for (const EmPhase& phase : log.phases) {
        if (phase.finished) {
            e.phases.push_back(phase);
        }
    }
    e.finalLogJoint = log.LastFinishedPhase()->logJoint;

    std::vector<double> learned;
    std::vector<double> planted;
    std::vector<std::pair<PairKey, double>> judged;
    for (const auto& [pair, affinity] : truth.affinities) {
        const auto it = log.learned.affinities.find(pair);
        if (it == log.learned.affinities.end()) {
            throw ToolError(logFile.string() + ": no learned affinity for motif pair " + PairText(pair));
        }
        ++e.activePairs;
        const auto s = support.find(pair);
        if (s != support.end() && s->second >= MIN_BINDING_VARIABLES) {
            learned.push_back(it->second.value);
            planted.push_back(affinity);
            judged.emplace_back(pair, affinity);
        }
    }
    e.judgedPairs = learned.size();
    e.affinityCorrelation = SpearmanCorrelation(learned, planted);

    // Ranked by the chance of interacting, highest first: the negated
    // non-interaction probability orders them without the rounding of 1 - q.
    std::vector<ScoredPair> model;
    std::vector<ScoredPair> baseline;
    for (const auto& [pair, interacts] : truth.interacts) {
        const auto it = predictions.find(pair);
        double q = 0.0;
        // A held-out pair has no observations: the model alone predicts it.
        if (it != predictions.end() && truth.holdout) {
            q = it->second.prior;
        } else if (it != predictions.end() && it->second.posterior) {
            q = *it->second.posterior;
        } else {
            throw ToolError(predictionFile.string() + ": no " + (truth.holdout ? "prediction" : "posterior") + " for " +
                            (truth.holdout ? "held-out" : "tested") + " protein pair " + PairText(pair));
        }
        model.push_back({-q, interacts});
        baseline.push_back({DegreeScore(degrees, pair), interacts});
        e.interactingPairs += interacts ? 1 : 0;
    }
    e.testedPairs = model.size();
    e.interactionAuc = RocCurve(model).area;
    e.averagePrecision = PrecisionRecallCurve(model).area;
    e.chancePrecision = e.testedPairs == 0
                            ? std::nan("")
                            : static_cast<double>(e.interactingPairs) / static_cast<double>(e.testedPairs);
    e.baselineAuc = RocCurve(baseline).area;
    e.baselinePrecision = PrecisionRecallCurve(baseline).area;

    const auto ppiStates = StatesOfModels(IfThere(folder / files::PPI_MODELS), ppiModels);
    const auto ddiStates = States(folder, files::DDI_MODELS, files::DDI_OBSERVATIONS, files::DDI_OPTIONS);
    e.recovery = RecoveryByPhase(log, judged, ppiStates, ddiStates);
    return e;
}

namespace {

// What each phase had learned: its recovery of the planted affinities (not
// for a held-out set, which has none) and its noise models.
std::string PhaseLines(const Evaluation& e)
{
    std::string s;
    for (const PhaseRecovery& r : e.recovery) {
        if (!e.holdout) {
            s += "affinities after EM " + r.label + ": rank correlation " + Format("%.3f", r.affinityCorrelation) +
                 " between learned and planted, over the same " + std::to_string(e.judgedPairs) + " motif pairs\n";
        }
    }
    for (const PhaseRecovery& r : e.recovery) {
        s += "noise models after EM " + r.label + ": " + RatesText(r.rates) + "\n";
    }
    return s;
}

// The same ranking's average precision, and the degree-only baseline's
// figures over the same pairs.
std::string RankingLines(const Evaluation& e, const char* positives)
{
    return std::string("interactions: average precision ") + Format("%.3f", e.averagePrecision) + " for the " +
           positives + " pairs in the same ranking (" + Format("%.3f", e.chancePrecision) +
           " by chance, their share)\n" + "degree-only baseline: ROC AUC " + Format("%.3f", e.baselineAuc) +
           ", average precision " + Format("%.3f", e.baselinePrecision) +
           " over the same pairs, ranked by the product of the two proteins' numbers of reported partners\n";
}

} // namespace

std::string SummaryText(const Evaluation& e)
{
    std::string s;
    for (const EmPhase& phase : e.phases) {
        s += "EM " + phase.label + ": " + std::to_string(phase.rounds) + " rounds, log joint " +
             Format("%.2f", phase.logJoint) + "\n";
    }
    s += "final log joint: " + Format("%.2f", e.finalLogJoint) + "\n";
    if (e.holdout) {
        s += "interactions: ROC AUC " + Format("%.3f", e.interactionAuc) +
             " of the predicted non-interaction probability (without the pair's own observations), over " +
             std::to_string(e.testedPairs) + " held-out protein pairs (" + std::to_string(e.interactingPairs) +
             " reported, " + std::to_string(e.testedPairs - e.interactingPairs) + " not)\n";
        return s + RankingLines(e, "reported") + PhaseLines(e);
    }
    s += "affinities: rank correlation " + Format("%.3f", e.affinityCorrelation) +
         " between learned and planted, over " + std::to_string(e.judgedPairs) + " of " +
         std::to_string(e.activePairs) + " active motif pairs (those with at least " +
         std::to_string(MIN_BINDING_VARIABLES) + " binding variables on observed protein pairs)\n";
    s += "interactions: ROC AUC " + Format("%.3f", e.interactionAuc) +
         " of the posterior non-interaction probability, over " + std::to_string(e.testedPairs) +
         " tested protein pairs (" + std::to_string(e.interactingPairs) + " interacting, " +
         std::to_string(e.testedPairs - e.interactingPairs) + " not)\n";
    return s + RankingLines(e, "interacting") + PhaseLines(e);
}

#include "tools/report/BuildReport.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>

#include "format/InputSetFiles.h"
#include "tools/report/Judgement.h"
#include "tools/report/ModelWords.h"
#include "tools/report/PageNumber.h"
#include "tools/report/Tables.h"
#include "tools/report/TopInteractions.h"
#include "tools/runfiles/BindingSupport.h"
#include "tools/runfiles/NumberRecords.h"

namespace {

std::vector<double> Values(const std::vector<LoggedNumber>& numbers)
{
    std::vector<double> v;
    for (const LoggedNumber& n : numbers) {
        v.push_back(n.value);
    }
    return v;
}

std::string Texts(const std::vector<LoggedNumber>& numbers)
{
    std::string s;
    for (const LoggedNumber& n : numbers) {
        if (!s.empty()) {
            s += ' ';
        }
        s += PageNumber(n.value);
    }
    return s;
}

// Which state each model of a dumped set serves: from sources.tsv where it
// names the model (a set written by motifbind-prep, whose domain-domain
// model 0 serves motif pairs that do not bind and 1 those that do),
// otherwise from the observation files.
std::map<int, ModelState> ModelStates(const LoggedModelSet& set, bool ppi, const Names& names,
                                      const std::map<int, ModelState>& observed)
{
    std::map<int, ModelState> states;
    for (const LoggedModel& m : set.models) {
        int role = -1;
        if (ppi) {
            role = names.ModelRole(m.id);
        } else if (names.HasSources() && (m.id == 0 || m.id == 1)) {
            role = m.id;
        }
        if (role == -1) {
            role = ServedState(observed, m.id);
        }
        if (role != -1) {
            states[m.id] = role == 0 ? ModelState::ZERO : ModelState::ONE;
        }
    }
    return states;
}

void AddModels(const LoggedModelSet& set, const std::string& label, bool ppi, const Names& names,
               const std::map<int, ModelState>& states, std::vector<ModelView>& out)
{
    for (const LoggedModel& m : set.models) {
        ModelView v;
        v.set = label;
        v.id = m.id;
        v.type = m.type;
        v.params = Texts(m.params);
        for (const LoggedComponent& c : m.components) {
            v.params += "; " + PageNumber(c.weight.value) + " x " + c.type + " " + Texts(c.params);
        }
        if (ppi) {
            v.source = names.Source(m.id);
        }
        v.words = ModelWords(m.type, Values(m.params), ServedState(states, m.id));
        out.push_back(std::move(v));
    }
}

// The planted affinities of the motif pairs with enough binding variables.
std::vector<std::pair<PairKey, double>> Planted(const std::filesystem::path& folder)
{
    const std::filesystem::path file = folder / files::TRUTH_AFFINITIES;
    std::map<PairKey, double> planted;
    const auto records = ReadNumberRecords(file, 3);
    for (std::size_t r = 0; r < records.size(); ++r) {
        planted[MakePairKey(IdField(file, records[r], 0, r + 1), IdField(file, records[r], 1, r + 1))] = records[r][2];
    }
    return JudgedPairs(planted, CountBindingVariables(folder));
}

// Whether the run has observations of a protein pair: its inputs say so,
// or the prediction file gives it a posterior.
std::function<bool(const PairKey&)> Observed(const Predictions* predictions, const RunInputs& inputs)
{
    std::set<PairKey> posterior;
    if (predictions != nullptr) {
        for (const InteractionPrediction& p : predictions->interactions) {
            if (p.posterior) {
                posterior.insert(MakePairKey(p.a, p.b));
            }
        }
    }
    return [posterior = std::move(posterior), &inputs](const PairKey& p) {
        return posterior.count(p) > 0 || inputs.observedPairs.count(p) > 0;
    };
}

} // namespace

std::vector<PerturbationView> TopPerturbations(const std::vector<PerturbationCycle>& cycles, const Names& names)
{
    TopCycles top(TOP_ROWS);
    for (PerturbationCycle c : cycles) {
        top.Add(std::move(c));
    }
    return PerturbationViews(top, names);
}

std::vector<PerturbationView> PerturbationViews(const TopCycles& top, const Names& names)
{
    std::vector<PerturbationView> views;
    for (const PerturbationCycle& c : top.Cycles()) {
        views.push_back({PerturbationWhat(c, names), c.effect->value});
    }
    return views;
}

ReportData BuildReport(const std::string& title, const RunLog& log, const Predictions* predictions, const Names& names,
                       const RunInputs& inputs, const ReportRequest& request)
{
    ReportData d;
    d.title = title;
    d.command = log.commandLine;
    d.complete = log.complete && predictions != nullptr && predictions->complete;
    if (!log.complete) {
        d.problem = log.problem;
    } else if (predictions == nullptr) {
        d.problem = "the run wrote no prediction file";
    } else if (!predictions->complete) {
        d.problem = predictions->problem;
    }

    for (const EmPhase& phase : log.phases) {
        Series s;
        s.label = phase.label;
        if (phase.startLogJoint) {
            s.points.emplace_back(0.0, *phase.startLogJoint);
        }
        for (const EmCheck& c : phase.checks) {
            // Round r (from 0) completed: r + 1 rounds run.
            s.points.emplace_back(static_cast<double>(c.round + 1), c.logJoint);
        }
        d.emPhases.push_back(std::move(s));
    }
    const auto ppiStates = ModelStates(log.ppiModels, true, names, inputs.ppiStates);
    const auto ddiStates = ModelStates(log.ddiModels, false, names, inputs.ddiStates);
    AddModels(log.ppiModels, "protein-protein", true, names, ppiStates, d.models);
    AddModels(log.ddiModels, "domain-domain", false, names, ddiStates, d.models);

    std::vector<std::pair<PairKey, double>> judged;
    if (request.planted) {
        judged = Planted(*request.planted);
        d.planted = true;
        d.judgedPairs = judged.size();
    }
    d.phases = RecoveryByPhase(log, judged, ppiStates, ddiStates);
    std::vector<NoiseRate> rates = BinaryRates(log.ppiModels, "protein-protein", ppiStates);
    for (NoiseRate& r : BinaryRates(log.ddiModels, "domain-domain", ddiStates)) {
        rates.push_back(std::move(r));
    }
    d.degeneracy = FindDegeneracy(rates, predictions, inputs);

    if (predictions != nullptr) {
        for (const InteractionPrediction& p : predictions->interactions) {
            d.interactionProbabilities.push_back(p.InteractionProbability());
        }
    }

    std::vector<std::pair<double, PairKey>> ranked;
    for (const auto& [pair, a] : log.learned.affinities) {
        ranked.emplace_back(a.value, pair);
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; i < ranked.size() && i < TOP_ROWS; ++i) {
        const PairKey& p = ranked[i].second;
        MotifPairView v;
        v.first = names.MotifLabel(p.first);
        v.second = names.MotifLabel(p.second);
        v.affinity = ranked[i].first;
        const auto c = log.conditioned.affinities.find(p);
        v.conditioned = c == log.conditioned.affinities.end() ? std::nan("") : c->second.value;
        const auto n = inputs.carriers.find(p);
        v.carriers = n == inputs.carriers.end() ? 0 : n->second;
        d.topMotifPairs.push_back(std::move(v));
    }

    d.topPerturbations = TopPerturbations(log.perturbations, names);

    std::map<PairKey, double> affinities;
    for (const auto& [pair, a] : log.learned.affinities) {
        affinities.emplace(pair, a.value);
    }
    std::optional<NamedPairs> pos;
    std::optional<NamedPairs> neg;
    if (request.truth) {
        pos = ReadProteinPairs(request.truth->first, names);
        neg = ReadProteinPairs(request.truth->second, names);
    }
    if (predictions != nullptr) {
        InteractionTruth truth;
        truth.interacting = pos ? &pos->pairs : nullptr;
        truth.notInteracting = neg ? &neg->pairs : nullptr;
        truth.observed = &inputs.observedPairs;
        TopInteractions top = FindTopInteractions(*predictions, names, request.top, TOP_ROWS, truth, affinities);
        for (std::size_t i = 0; i < ranked.size() && i < TOP_ROWS; ++i) {
            const auto it = top.explains.find(ranked[i].second);
            if (it != top.explains.end()) {
                d.topMotifPairs[i].explainsTop = it->second.first;
                d.topMotifPairs[i].explainsPredicted = it->second.second;
            }
        }
        d.topInteractions = std::move(top.view);
    }

    if (request.truth) {
        std::map<PairKey, double> score;
        if (predictions != nullptr) {
            for (const InteractionPrediction& p : predictions->interactions) {
                score.emplace(MakePairKey(p.a, p.b), p.InteractionProbability());
            }
        }
        d.truth = JudgeTruth(
            pos->pairs, neg->pairs,
            [&score](const PairKey& p) -> std::optional<double> {
                const auto it = score.find(p);
                return it == score.end() ? std::nullopt : std::optional<double>(it->second);
            },
            inputs.present ? &inputs.degree : nullptr, Observed(predictions, inputs));
        d.truth->unknown = UnknownOfBoth(*pos, *neg);
    }
    if (request.known) {
        const NamedPairs known = ReadMotifPairs(*request.known, names);
        d.known = JudgeKnown(affinities, known.pairs, inputs.ddiPairs);
        d.known->unknown = known.unknown;
        d.known->evidenceFile = inputs.ddiFile;
        d.known->evidenceProblem = inputs.ddiProblem;
    }
    return d;
}

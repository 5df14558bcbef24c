#include "tools/report/TopInteractions.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <vector>

namespace {

// NaN last, higher first, ties kept in order.
bool Before(double a, double b)
{
    if (std::isnan(a) || std::isnan(b)) {
        return !std::isnan(a) && std::isnan(b);
    }
    return a > b;
}

double BindingProbability(const BindingPrediction& b) { return b.posterior ? b.posterior->value : b.conditioned.value; }

} // namespace

TopInteractions FindTopInteractions(const Predictions& predictions, const Names& names, std::size_t top,
                                    std::size_t explainers, const InteractionTruth& truth,
                                    const std::map<PairKey, double>& affinities)
{
    TopInteractions t;
    TopInteractionsView& v = t.view;
    v.asked = top;
    v.listed = predictions.interactions.size();
    v.truth = truth.interacting != nullptr;
    v.bindings = !predictions.bindings.empty();

    // The binding variables of each protein pair, most probable first.
    std::map<PairKey, std::vector<const BindingPrediction*>> bindings;
    for (const BindingPrediction& b : predictions.bindings) {
        bindings[MakePairKey(b.protein1, b.protein2)].push_back(&b);
    }
    for (auto& [pair, list] : bindings) {
        std::stable_sort(list.begin(), list.end(), [](const BindingPrediction* a, const BindingPrediction* b) {
            return Before(BindingProbability(*a), BindingProbability(*b));
        });
    }
    const auto explainer = [&bindings](const PairKey& p) -> std::optional<PairKey> {
        const auto it = bindings.find(p);
        if (it == bindings.end() || std::isnan(BindingProbability(*it->second.front()))) {
            return std::nullopt;
        }
        return MakePairKey(it->second.front()->motif1, it->second.front()->motif2);
    };

    const auto& rows = predictions.interactions;
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&rows](std::size_t a, std::size_t b) {
        return Before(rows[a].InteractionProbability(), rows[b].InteractionProbability());
    });
    for (std::size_t rank = 0; rank < order.size(); ++rank) {
        const InteractionPrediction& r = rows[order[rank]];
        const PairKey pair = MakePairKey(r.a, r.b);
        const double p = r.InteractionProbability();
        const bool predicted = p >= PREDICTED;
        v.predicted += predicted ? 1 : 0;
        if (const auto m = explainer(pair)) {
            auto& counts = t.explains[*m];
            counts.first += rank < top ? 1 : 0;
            counts.second += predicted ? 1 : 0;
        }
        if (rank >= top) {
            continue;
        }
        InteractionView row;
        row.nameA = names.ProteinName(r.a);
        row.idA = names.Protein(r.a);
        row.nameB = names.ProteinName(r.b);
        row.idB = names.Protein(r.b);
        row.probability = p;
        const bool observed = r.posterior.has_value() || (truth.observed != nullptr && truth.observed->count(pair));
        const bool positive = truth.interacting != nullptr && truth.interacting->count(pair) > 0;
        const bool negative = truth.notInteracting != nullptr && truth.notInteracting->count(pair) > 0;
        row.status = observed               ? InteractionView::Status::OBSERVED
                     : positive || negative ? InteractionView::Status::HELD_OUT
                                            : InteractionView::Status::NEW;
        // A pair in both lists says nothing for certain.
        row.truth = positive == negative ? "" : positive ? "interacting" : "not interacting";
        if (const auto it = bindings.find(pair); it != bindings.end()) {
            for (const BindingPrediction* b : it->second) {
                if (row.mediators.size() == MEDIATORS_SHOWN) {
                    ++row.moreMediators;
                    continue;
                }
                row.mediators.push_back({names.MotifLabel(b->motif1), names.MotifLabel(b->motif2),
                                         BindingProbability(*b), b->posterior.has_value()});
            }
        }
        v.rows.push_back(std::move(row));
    }

    std::vector<std::pair<PairKey, std::pair<std::size_t, std::size_t>>> ranked(t.explains.begin(), t.explains.end());
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        return a.second.first != b.second.first ? a.second.first > b.second.first : a.second.second > b.second.second;
    });
    for (const auto& [pair, counts] : ranked) {
        if (v.explainers.size() == explainers || (counts.first == 0 && counts.second == 0)) {
            break;
        }
        const auto a = affinities.find(pair);
        v.explainers.push_back({names.MotifLabel(pair.first), names.MotifLabel(pair.second),
                                a == affinities.end() ? std::nan("") : a->second, counts.first, counts.second});
    }
    return t;
}

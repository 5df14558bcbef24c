#include "tools/runfiles/PhaseRecovery.h"

#include <cmath>

#include "tools/runfiles/BindingSupport.h"
#include "tools/stats/RankCorrelation.h"

namespace {

double PhaseCorrelation(const LoggedPotentials& learned, const std::vector<std::pair<PairKey, double>>& judged)
{
    std::vector<double> x;
    std::vector<double> y;
    for (const auto& [pair, planted] : judged) {
        const auto it = learned.affinities.find(pair);
        if (it == learned.affinities.end()) {
            return std::nan("");
        }
        x.push_back(it->second.value);
        y.push_back(planted);
    }
    return SpearmanCorrelation(x, y);
}

} // namespace

std::vector<PhaseRecovery> RecoveryByPhase(const RunLog& log, const std::vector<std::pair<PairKey, double>>& judged,
                                           const std::map<int, ModelState>& ppi, const std::map<int, ModelState>& ddi)
{
    std::vector<PhaseRecovery> out;
    for (const EmPhase& phase : log.phases) {
        if (!phase.finished) {
            continue;
        }
        PhaseRecovery r;
        r.label = phase.label;
        r.affinityCorrelation =
            phase.learned.present && !judged.empty() ? PhaseCorrelation(phase.learned, judged) : std::nan("");
        r.rates = BinaryRates(phase.ppiModels, "protein-protein", ppi);
        for (NoiseRate& rate : BinaryRates(phase.ddiModels, "domain-domain", ddi)) {
            r.rates.push_back(std::move(rate));
        }
        out.push_back(std::move(r));
    }
    return out;
}

std::vector<std::pair<PairKey, double>> JudgedPairs(const std::map<PairKey, double>& planted,
                                                    const std::map<PairKey, int>& support)
{
    std::vector<std::pair<PairKey, double>> judged;
    for (const auto& [pair, affinity] : planted) {
        const auto s = support.find(pair);
        if (s != support.end() && s->second >= MIN_BINDING_VARIABLES) {
            judged.emplace_back(pair, affinity);
        }
    }
    return judged;
}

#include "tools/sim/NoisyOr.h"

#include <cmath>

NoisyOr::NoisyOr(const ProteinSet& proteins, const ActivePairs& active, const LeakModel& leak)
    : proteins_(proteins), active_(active), leak_(leak)
{
}

std::vector<BindingVariable> NoisyOr::Variables(int p, int q) const
{
    std::vector<BindingVariable> vars;
    for (const auto& [m1, len1] : proteins_.Get(p).motifs) {
        for (const auto& [m2, len2] : proteins_.Get(q).motifs) {
            const double affinity = active_.Affinity(m1, m2);
            if (affinity >= 0.0) {
                vars.push_back({m1, m2, affinity});
            }
        }
    }
    return vars;
}

double NoisyOr::NonInterProb(int p, int q) const
{
    const int numLeak = leak_.NumLeak(proteins_.Get(p), proteins_.Get(q));
    double prob = std::pow(1.0 - leak_.Probability(), numLeak);
    for (const BindingVariable& v : Variables(p, q)) {
        prob *= 1.0 - v.affinity;
    }
    return prob;
}

InteractionDraw NoisyOr::Sample(int p, int q, Rng& rng) const
{
    InteractionDraw draw;
    for (const BindingVariable& v : Variables(p, q)) {
        if (rng.Bernoulli(v.affinity)) {
            draw.fired.emplace_back(v.mot1, v.mot2);
        }
    }
    // The leak variables are exchangeable, so one draw of "any of them fired"
    // stands for all; a long protein pair may have a thousand of them.
    const int numLeak = leak_.NumLeak(proteins_.Get(p), proteins_.Get(q));
    const double noLeak = std::pow(1.0 - leak_.Probability(), numLeak);
    draw.leakFired = rng.Uniform() >= noLeak;
    draw.state = (draw.leakFired || !draw.fired.empty()) ? 1 : 0;
    return draw;
}

#include "tools/sim/Observations.h"

#include <cmath>

#include "tools/stats/Rng.h"
#include "tools/toolbox/TextFile.h"

namespace {

constexpr int MAX_REPLICATES = 5;

enum Stream : std::uint64_t { OBSERVATION_STREAM = 41 };

} // namespace

PpiObservations DrawObservations(const SimConfig& config, const std::vector<TestedPair>& tested, std::uint64_t seed)
{
    Rng rng(seed, OBSERVATION_STREAM);
    PpiObservations obs;
    const double scoreSd = std::sqrt(config.scoreVar);
    for (const TestedPair& t : tested) {
        const int state = t.draw.state;
        const auto add = [&](double value, int model0, int model1) {
            obs.records.push_back({t.first, t.second, value, model0, model1});
        };
        const auto addBinary = [&](int replicates) {
            for (int r = 0; r < replicates; ++r) {
                const bool reportsOne = state == 1 ? !rng.Bernoulli(config.fnr) : rng.Bernoulli(config.fpr);
                add(reportsOne ? 1.0 : 0.0, BINARY_NEG_ID, BINARY_POS_ID);
                ++obs.binary;
            }
        };
        // Which experiments covered the pair is drawn before any outcome, so
        // the coverage does not depend on the hidden state.
        int replicates = 0;
        if (rng.Bernoulli(config.binaryFrac)) {
            replicates = 1;
            while (replicates < MAX_REPLICATES && rng.Bernoulli(config.replicateProb)) {
                ++replicates;
            }
        }
        const bool scored = rng.Bernoulli(config.scoreFrac);
        const bool control = rng.Bernoulli(config.controlFrac);
        if (replicates == 0 && !scored && !control) {
            replicates = 1;
        }
        addBinary(replicates);
        if (scored) {
            const double mean = state == 1 ? config.scoreMean1 : config.scoreMean0;
            add(mean + scoreSd * rng.Gaussian(), SCORE_NEG_ID, SCORE_POS_ID);
            ++obs.scores;
        }
        if (control) {
            add(state, NOISE_FREE_ID, NOISE_FREE_ID);
            ++obs.controls;
        }
    }
    return obs;
}

std::string ObservationText(const std::vector<ObservationRecord>& records)
{
    TextFile file;
    for (const ObservationRecord& r : records) {
        file.Int(r.first).Int(r.second).Real(r.value).Int(r.model0).Int(r.model1).EndLine();
    }
    return file.Text();
}

std::string PpiModelText(const SimConfig& config, const PpiObservations& obs)
{
    TextFile file;
    if (obs.binary > 0) {
        // OM_BINARY holds the probability of observing 0.
        file.Int(BINARY_NEG_ID).Word("OM_BINARY").Real(1.0 - config.fpr).EndLine();
        file.Int(BINARY_POS_ID).Word("OM_BINARY").Real(config.fnr).EndLine();
    }
    if (obs.scores > 0) {
        file.Int(SCORE_NEG_ID).Word("OM_GAUSSIAN").Real(config.scoreMean0).Real(config.scoreVar).EndLine();
        file.Int(SCORE_POS_ID).Word("OM_GAUSSIAN").Real(config.scoreMean1).Real(config.scoreVar).EndLine();
    }
    return file.Text();
}

#include "tools/sim/DdiEvidence.h"

#include <algorithm>
#include <cmath>

#include "tools/stats/Rng.h"
#include "tools/toolbox/TextFile.h"

namespace {

// Option record kind: pairs of a motif with itself and of two different motifs.
constexpr int OPTION_ALL_PAIRS = 2;
constexpr double UNREPORTED_VALUE = 0.0;

enum Stream : std::uint64_t { DDI_STREAM = 51 };

} // namespace

DdiEvidence DrawDdiEvidence(const SimConfig& config, const ActivePairs& active, std::uint64_t seed)
{
    DdiEvidence ddi;
    ddi.bound = std::clamp(static_cast<int>(std::ceil(config.ddiCover * config.motifs)), 0, config.motifs);
    // A database that covers no active pair would leave both models without
    // data; extend it to the active pair whose larger id is smallest.
    int needed = config.motifs;
    for (const ActivePair& ap : active.All()) {
        needed = std::min(needed, ap.larger + 1);
    }
    ddi.bound = std::max(ddi.bound, needed);

    Rng rng(seed, DDI_STREAM);
    for (const ActivePair& ap : active.All()) {
        if (ap.larger >= ddi.bound) {
            continue;
        }
        DdiPair d;
        d.larger = ap.larger;
        d.smaller = ap.smaller;
        d.state = rng.Bernoulli(ap.affinity) ? 1 : 0;
        d.reported = rng.Bernoulli(d.state == 1 ? config.ddiSens : config.ddiFpr);
        ddi.pairs.push_back(d);
    }
    return ddi;
}

long long DdiEvidence::Reported() const
{
    return std::count_if(pairs.begin(), pairs.end(), [](const DdiPair& d) { return d.reported; });
}

std::string DdiEvidence::ObservationText() const
{
    TextFile file;
    for (const DdiPair& d : pairs) {
        if (d.reported) {
            file.Int(d.larger).Int(d.smaller).Int(1).Int(DDI_NEG_ID).Int(DDI_POS_ID).EndLine();
        }
    }
    return file.Text();
}

std::string DdiEvidence::ModelText(const SimConfig& config) const
{
    // Observed value 1 means "reported"; OM_BINARY holds P(observed 0).
    TextFile file;
    file.Int(DDI_NEG_ID).Word("OM_BINARY").Real(1.0 - config.ddiFpr).EndLine();
    file.Int(DDI_POS_ID).Word("OM_BINARY").Real(1.0 - config.ddiSens).EndLine();
    return file.Text();
}

std::string DdiEvidence::OptionText() const
{
    TextFile file;
    file.Int(OPTION_ALL_PAIRS).Real(UNREPORTED_VALUE).Int(DDI_NEG_ID).Int(DDI_POS_ID).Int(bound).EndLine();
    return file.Text();
}

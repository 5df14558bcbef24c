#include "tools/sim/ProteinSet.h"

#include <algorithm>
#include <cmath>

#include "tools/stats/Rng.h"
#include "tools/stats/WeightedPicker.h"

namespace {

// Typical domain length of a family: log-normal around 60 residues.
constexpr double MOTIF_LEN_MEDIAN = 60.0;
constexpr double MOTIF_LEN_SIGMA = 0.5;
constexpr int MOTIF_LEN_MIN = 5;
constexpr int MOTIF_LEN_MAX = 500;
// One occurrence varies around its family's typical length by this factor.
constexpr double MOTIF_LEN_JITTER = 0.2;
constexpr int MAX_COPIES = 4;
// Protein length before motifs are placed: log-normal around 400 residues.
constexpr double PROT_LEN_MEDIAN = 400.0;
constexpr double PROT_LEN_SIGMA = 0.6;
constexpr int PROT_LEN_MIN = 30;
// Kept below 46341 so that products of two lengths fit in 32-bit signed
// arithmetic, as the leak rule computes them.
constexpr int PROT_LEN_MAX = 35000;
constexpr int COVERAGE_MAX = 30000;
// Overlap between motifs removes up to this fraction of the residues beyond
// the longest motif.
constexpr double OVERLAP_MAX = 0.3;
// Non-motif residues (linkers, disordered tails) add up to this fraction of
// the coverage.
constexpr double LINKER_MAX = 0.6;
constexpr int DRAWS_PER_MOTIF = 20;

enum Stream : std::uint64_t { FAMILY_STREAM = 11, PROTEIN_STREAM = 12 };

int ClampInt(double x, int lo, int hi)
{
    return static_cast<int>(std::clamp(std::lround(x), static_cast<long>(lo), static_cast<long>(hi)));
}

// Chooses k different families, popular ones more often. Repeated draws of a
// family already chosen are rejected; when the popular families crowd out the
// rest, the remainder is filled by a uniform walk over the unused ones.
std::vector<int> ChooseFamilies(int k, int numMot, const WeightedPicker& picker, Rng& rng)
{
    std::vector<int> chosen;
    chosen.reserve(static_cast<std::size_t>(k));
    int draws = 0;
    while (static_cast<int>(chosen.size()) < k && draws < DRAWS_PER_MOTIF * k) {
        ++draws;
        const int mot = static_cast<int>(picker.Pick(rng));
        if (std::find(chosen.begin(), chosen.end(), mot) == chosen.end()) {
            chosen.push_back(mot);
        }
    }
    int mot = static_cast<int>(rng.Below(static_cast<std::uint64_t>(numMot)));
    while (static_cast<int>(chosen.size()) < k) {
        if (std::find(chosen.begin(), chosen.end(), mot) == chosen.end()) {
            chosen.push_back(mot);
        }
        mot = (mot + 1) % numMot;
    }
    std::sort(chosen.begin(), chosen.end());
    return chosen;
}

} // namespace

ProteinSet::ProteinSet(const SimConfig& config, std::uint64_t seed)
{
    const int numMot = config.motifs;
    Rng familyRng(seed, FAMILY_STREAM);
    std::vector<int> typicalLen(static_cast<std::size_t>(numMot));
    familyWeights_.resize(static_cast<std::size_t>(numMot));
    for (int m = 0; m < numMot; ++m) {
        typicalLen[static_cast<std::size_t>(m)] =
            ClampInt(familyRng.LogNormal(MOTIF_LEN_MEDIAN, MOTIF_LEN_SIGMA), MOTIF_LEN_MIN, MOTIF_LEN_MAX);
        familyWeights_[static_cast<std::size_t>(m)] = std::pow(m + 1.0, -config.motifSkew);
    }
    const WeightedPicker familyPicker(familyWeights_);

    const int kMax = config.MaxMotifsPerProtein();
    std::vector<double> countWeights;
    for (int k = 1; k <= kMax; ++k) {
        countWeights.push_back(std::pow(static_cast<double>(k), -config.motifTail));
    }
    const WeightedPicker countPicker(countWeights);

    Rng rng(seed, PROTEIN_STREAM);
    proteins_.resize(static_cast<std::size_t>(config.proteins));
    carriers_.resize(static_cast<std::size_t>(numMot));
    for (int p = 0; p < config.proteins; ++p) {
        Protein& prot = proteins_[static_cast<std::size_t>(p)];
        const int baseLen = ClampInt(rng.LogNormal(PROT_LEN_MEDIAN, PROT_LEN_SIGMA), PROT_LEN_MIN, PROT_LEN_MAX);
        const int k = rng.Bernoulli(config.zeroMotifFrac) ? 0 : static_cast<int>(countPicker.Pick(rng)) + 1;
        long sum = 0;
        int longest = 0;
        for (int mot : ChooseFamilies(k, numMot, familyPicker, rng)) {
            int copies = 1;
            while (copies < MAX_COPIES && rng.Bernoulli(config.repeatProb)) {
                ++copies;
            }
            int len = 0;
            for (int c = 0; c < copies; ++c) {
                const double jitter = rng.Uniform(1.0 - MOTIF_LEN_JITTER, 1.0 + MOTIF_LEN_JITTER);
                len += ClampInt(typicalLen[static_cast<std::size_t>(mot)] * jitter, MOTIF_LEN_MIN, MOTIF_LEN_MAX);
            }
            if (sum + len > COVERAGE_MAX) {
                continue; // a giant protein stops gaining motifs
            }
            sum += len;
            longest = std::max(longest, len);
            prot.motifs.emplace_back(mot, len);
            carriers_[static_cast<std::size_t>(mot)].push_back(p);
        }
        const long overlap = std::lround(std::floor(rng.Uniform() * OVERLAP_MAX * static_cast<double>(sum - longest)));
        prot.coverage = static_cast<int>(sum - overlap);
        const int linker = ClampInt(rng.Uniform() * LINKER_MAX * prot.coverage, 0, PROT_LEN_MAX);
        prot.length = std::min(PROT_LEN_MAX, std::max(baseLen, prot.coverage + linker));
    }
}

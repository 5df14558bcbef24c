// The protein files. The first byte picks the leak type, the leak group and
// an analysis; the rest is split at '|' into the protein-motif content, the
// protein lengths, the motif coverage and the active motif pairs, read with
// the fixed observations, then a short training, the predictions and one
// cycle of the analysis, whose forced leak variables depend on the lengths.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "perturb/Analysis.h"
#include "perturb/AnalysisKind.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::QuietStderr();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const int GROUPS[] = {1, 7, 100, 10000};
    fuzz::Inputs in = fuzz::DefaultInputs();
    in.leakType = data[0] % 3;
    in.leakGroup = GROUPS[(data[0] / 3) % 4];
    const int perType = 1 + data[0] / 12 % 3;
    const auto parts = fuzz::Split(data + 1, size - 1, '|', 4);
    in.pmc = parts[0];
    in.lengths = parts[1];
    in.coverage = parts[2];
    in.active = parts[3];
    try {
        auto m = fuzz::ReadAll(in);
        fuzz::Train(*m, 2, true);
        fuzz::Predict(*m, in.predPairs, in.bindPairs, perType);
        std::istringstream binds(in.bindPairs);
        const AnalysisKind& a = *AnalysisOf(perType);
        auto cands = a.candidates(m->pm, m->pi, binds, -1);
        if (cands.size() > 1)
            cands.resize(1);
        RunCycles(a, Trained{m->pm, *m->plan, *m->ps}, cands, m->jprob, fuzz::Null(), fuzz::Null(), 1);
    } catch (const std::exception&) {
        // Refused, as documented.
    }
    return 0;
}

// The prediction and perturbation lists, on a tiny model trained once. The
// first byte picks the analysis (-p 1, 2 or 3), the motif bound (-s, -1 to 6)
// and, with its top bit, two threads; the rest is split at '|' into the
// pairs to predict interaction for and the binding-pairs list, which the
// binding prediction and the analysis read. At most two cycles run.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "perturb/Analysis.h"
#include "perturb/AnalysisKind.h"

namespace {

constexpr std::size_t MAXCYCLES = 2;

fuzz::Model& TinyModel()
{
    static std::unique_ptr<fuzz::Model> m = [] {
        auto t = fuzz::ReadAll(fuzz::DefaultInputs());
        fuzz::Train(*t, 3, true);
        t->ps->ReleaseWork();
        return t;
    }();
    return *m;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::QuietStderr();
    TinyModel();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int perType = 1 + data[0] % 3;
    const int pertSize = (data[0] & 0x7f) / 3 % 8 - 1;
    const int threads = (data[0] & 0x80) ? 2 : 1;
    const auto parts = fuzz::Split(data + 1, size - 1, '|', 2);
    const fuzz::Model& m = TinyModel();
    try {
        fuzz::Predict(m, parts[0], parts[1], perType);
        std::istringstream binds(parts[1]);
        const AnalysisKind& a = *AnalysisOf(perType);
        auto cands = a.candidates(m.pm, m.pi, binds, pertSize);
        if (cands.size() > MAXCYCLES)
            cands.resize(MAXCYCLES);
        RunCycles(a, Trained{m.pm, *m.plan, *m.ps}, cands, m.jprob, fuzz::Null(), fuzz::Null(), threads);
    } catch (const std::exception&) {
        // Refused, as documented.
    }
    return 0;
}

// The observation-model file: every distribution it defines is evaluated,
// duplicated and taught a few weighted values; then the file serves as both
// the PPI and the DDI model file of a short training run. Learning is
// skipped when the mixtures ask for more than MAXMIXWORK iterations, so that
// one input stays fast.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "io/ObsReader.h"

namespace {

const double VALUES[] = {0.0, 1.0, 0.5, -1.0, 2.5, 1e-12, -1e300, 1e300, INFINITY};

// A copy must describe the same distribution as the original.
void CheckSame(const Distribution& a, const Distribution& b)
{
    for (const double v : VALUES) {
        const double pa = a.GetProb(v), pb = b.GetProb(v);
        if (!(pa == pb || (std::isnan(pa) && std::isnan(pb)))) {
            std::fprintf(stderr, "Duplicate differs at %g: %g vs %g\n", v, pa, pb);
            std::abort();
        }
    }
}

void Probe(const Distribution& d)
{
    for (const double v : VALUES) {
        d.GetProb(v);
        d.Assert(v);
    }
    std::ostringstream out;
    d.Print(out, 0);
    d.Print(out, 1);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::QuietStderr();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    fuzz::Inputs in = fuzz::DefaultInputs();
    // Observations that use only model IDs 0 and 1 (and -1, -2).
    in.obs = "1 0 1 0 1\n2 1 0.4 0 1\n3 3 2.5 1 0\n5 4 0 0 1\n7 5 0.7 -2 1\n6 0 0 -1 -1\n";
    in.ddi = "1 0 2.2 0 1\n5 5 1 0 1\n2 2 0 1 0\n";
    in.models = text;
    in.ddiModels = text;

    bool learn = false;
    try {
        ObsModel om;
        ProtInter pi(in.numProt);
        std::istringstream modelFile(text), noObs;
        ReadModelPPI(om, pi, modelFile, noObs, fuzz::Null(), nullptr, nullptr);
        learn = fuzz::MixtureWork(om) <= fuzz::MAXMIXWORK;
        const StatList ss{{0.3, 0.0}, {0.7, 1.0}, {1.0, 0.5}, {0.0, 2.0}, {2.0, -1.5}, {1e-300, 4.0}};
        for (std::size_t i = 0; i < om.Size(); ++i) {
            const Distribution& d = om.GetDist(i);
            Probe(d);
            auto copy = d.Duplicate();
            CheckSame(d, *copy);
            if (learn) {
                copy->Learn(ss, fuzz::Null());
                Probe(*copy);
                copy->Learn(StatList(), fuzz::Null());
            }
        }
    } catch (const std::exception&) {
        return 0;
    }

    // Typically refused when model ID 0 or 1 is not defined.
    fuzz::ReadTrainPredict(in, learn);
    return 0;
}

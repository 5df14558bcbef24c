#include "tools/report/Degeneracy.h"

#include <cstdio>

#include "tools/report/PageNumber.h"

namespace {

std::string Printed(double x)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3g", x);
    return buf;
}

} // namespace

std::string Degeneracy::Text() const { return Sentence(Printed); }

std::string Degeneracy::PageText() const { return Sentence(PageNumber); }

std::string Degeneracy::Sentence(std::string (*number)(double)) const
{
    std::string s;
    if (!rates.empty()) {
        s = "learned noise rates at 0 or 1: ";
        for (std::size_t i = 0; i < rates.size(); ++i) {
            const NoiseRate& r = rates[i];
            s += (i == 0 ? "" : ", ") + r.set + " model " + std::to_string(r.model) + " (" + r.Serves() + ") " +
                 r.RateName() + " " + number(r.Rate());
        }
    }
    if (certain > explained) {
        const std::size_t tied = certain - explained;
        s += (s.empty() ? "" : "; ") + std::to_string(tied) + " listed protein pair" + (tied == 1 ? "" : "s") +
             " tied at interaction probability exactly 1";
        if (explained > 0) {
            s += " (and " + std::to_string(explained) + " more that a noise-free observation makes certain)";
        }
    }
    return s;
}

Degeneracy FindDegeneracy(const std::vector<NoiseRate>& rates, const Predictions* predictions, const RunInputs& inputs)
{
    Degeneracy d;
    for (const NoiseRate& r : rates) {
        if (r.Degenerate()) {
            d.rates.push_back(r);
        }
    }
    if (predictions != nullptr) {
        for (const InteractionPrediction& p : predictions->interactions) {
            const double none = p.posterior ? p.posterior->value : p.qc.value;
            if (none == 0.0) {
                ++d.certain;
                d.explained += inputs.certainPairs.count(MakePairKey(p.a, p.b));
            }
        }
    }
    return d;
}

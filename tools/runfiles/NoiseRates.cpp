#include "tools/runfiles/NoiseRates.h"

#include <cmath>
#include <cstdio>

double NoiseRate::Rate() const { return state == 1 ? prob0.value : 1.0 - prob0.value; }

std::string NoiseRate::RateName() const
{
    return state == 0 ? "false-positive rate" : state == 1 ? "false-negative rate" : "chance of observing 1";
}

std::string NoiseRate::Serves() const
{
    const bool ppi = set == "protein-protein";
    if (state == 0) {
        return ppi ? "non-interacting pairs" : "non-binding motif pairs";
    }
    if (state == 1) {
        return ppi ? "interacting pairs" : "binding motif pairs";
    }
    return "state not known";
}

bool NoiseRate::Degenerate() const
{
    const double p = prob0.value;
    return std::fabs(p) <= DEGENERATE_RATE || std::fabs(1.0 - p) <= DEGENERATE_RATE;
}

std::vector<NoiseRate> BinaryRates(const LoggedModelSet& models, const std::string& set,
                                   const std::map<int, ModelState>& states)
{
    std::vector<NoiseRate> rates;
    for (const LoggedModel& m : models.models) {
        if (m.type != "OM_BINARY" || m.params.empty()) {
            continue;
        }
        NoiseRate r;
        r.set = set;
        r.model = m.id;
        r.state = ServedState(states, m.id);
        r.prob0 = m.params[0];
        rates.push_back(std::move(r));
    }
    return rates;
}

std::string RatesText(const std::vector<NoiseRate>& rates)
{
    std::string s;
    std::string set;
    for (const NoiseRate& r : rates) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.3g", r.Rate());
        if (r.set != set) {
            s += (s.empty() ? "" : "; ") + r.set + " ";
            set = r.set;
        } else {
            s += ", ";
        }
        s += "model " + std::to_string(r.model) + " " + r.RateName() + " " + buf;
    }
    return s.empty() ? "none" : s;
}

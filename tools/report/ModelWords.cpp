#include "tools/report/ModelWords.h"

#include <cmath>
#include <cstdio>

namespace {

std::string Num(double x)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4g", x);
    return buf;
}

std::string Percent(double p)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f%%", 100.0 * p);
    return buf;
}

} // namespace

std::string ModelWords(const std::string& type, const std::vector<double>& params, int role)
{
    if (type == "OM_BINARY" && params.size() >= 1) {
        const double p0 = params[0];
        if (role == 0) {
            return "false-positive rate " + Percent(1.0 - p0) + ": reports " + Percent(1.0 - p0) +
                   " of non-interacting pairs as interacting";
        }
        if (role == 1) {
            return "false-negative rate " + Percent(p0) + ": misses " + Percent(p0) + " of interacting pairs";
        }
        return "observes 0 with probability " + Num(p0) + " and 1 with " + Num(1.0 - p0);
    }
    if (type == "OM_GAUSSIAN" && params.size() >= 2) {
        return "normal, mean " + Num(params[0]) + ", standard deviation " + Num(std::sqrt(params[1]));
    }
    if (type == "OM_EXPONENTIAL" && params.size() >= 3) {
        return std::string(params[1] != 0.0 ? "left" : "right") + "-sided exponential from " + Num(params[0]) +
               ", rate " + Num(params[2]);
    }
    if (type == "OM_UNIFORM" && params.size() >= 2) {
        return "uniform between " + Num(params[0]) + " and " + Num(params[1]);
    }
    if (type == "OM_MIXTURE") {
        return "mixture of distributions";
    }
    return "";
}

#include "tools/report/ModelWords.h"

#include <cmath>
#include <cstdio>

#include "tools/report/PageNumber.h"

namespace {

// As every number of the page.
std::string Num(double x) { return PageNumber(x); }

// A rate in percent, three significant digits; below the page's floor for
// a fraction as the same bound in percent.
std::string Percent(double p)
{
    if (p != 0.0 && std::fabs(p) < PAGE_NUMBER_FLOOR) {
        return p > 0 ? "< 1e-4%" : "> -1e-4%";
    }
    return PageNumber(100.0 * p) + "%";
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

#include "tools/report/PageNumber.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int DIGITS = 3;

// Trailing zeros of a fraction, and its point when nothing is left.
void TrimFraction(std::string& s)
{
    if (s.find('.') == std::string::npos) {
        return;
    }
    while (s.back() == '0') {
        s.pop_back();
    }
    if (s.back() == '.') {
        s.pop_back();
    }
}

} // namespace

std::string PageNumber(double x)
{
    if (std::isnan(x)) {
        return "n/a";
    }
    if (std::isinf(x)) {
        return x > 0 ? "\u221e" : "-\u221e";
    }
    if (x == 0.0) {
        return "0";
    }
    if (std::fabs(x) < PAGE_NUMBER_FLOOR) {
        return x > 0 ? "< 1e-6" : "> -1e-6";
    }
    // Rounded to three significant digits first: the exponent is that of
    // the rounded value (999.7 is 1.00e3).
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", DIGITS - 1, x);
    const std::string e = buf;
    const std::size_t at = e.find('e');
    const int exponent = std::atoi(e.c_str() + at + 1);
    std::string s;
    if (exponent >= -4 && exponent < 6) {
        std::snprintf(buf, sizeof buf, "%.*f", exponent >= DIGITS - 1 ? 0 : DIGITS - 1 - exponent,
                      std::strtod(e.c_str(), nullptr));
        s = buf;
        TrimFraction(s);
    } else {
        s = e.substr(0, at);
        TrimFraction(s);
        s += 'e';
        s += std::to_string(exponent);
    }
    return s == "-0" ? "0" : s;
}

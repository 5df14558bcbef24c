#include "tools/toolbox/Numbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

bool ParseReal(std::string_view text, double& value)
{
    if (text.empty()) {
        return false;
    }
    const std::string s(text);
    char* end = nullptr;
    value = std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size() && std::isfinite(value);
}

std::string RealText(double x)
{
    char buf[32];
    for (int digits = 6; digits < 17; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*g", digits, x);
        if (std::strtod(buf, nullptr) == x) {
            return buf;
        }
    }
    std::snprintf(buf, sizeof buf, "%.17g", x);
    return buf;
}

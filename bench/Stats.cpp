#include "bench/Stats.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

std::vector<double> Numbers(std::vector<double> values)
{
    values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return std::isnan(v); }), values.end());
    return values;
}

} // namespace

double Median(std::vector<double> values)
{
    values = Numbers(std::move(values));
    if (values.empty()) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const std::size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid), values.end());
    const double upper = values[mid];
    if (values.size() % 2 == 1) {
        return upper;
    }
    const double lower = *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid));
    return (lower + upper) / 2;
}

double Mean(const std::vector<double>& values)
{
    const std::vector<double> numbers = Numbers(values);
    if (numbers.empty()) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    double sum = 0;
    for (const double v : numbers) {
        sum += v;
    }
    return sum / static_cast<double>(numbers.size());
}

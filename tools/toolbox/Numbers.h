#pragma once

#include <charconv>
#include <string>
#include <string_view>

// A whole token as a decimal integer of type T: no sign for unsigned types,
// no blanks, nothing after the digits.
template <typename T>
bool ParseInteger(std::string_view text, T& value)
{
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto res = std::from_chars(first, last, value);
    return !text.empty() && res.ec == std::errc() && res.ptr == last;
}

// A whole token as a finite real number ("1e-3", "0.5"; not "nan", "inf").
bool ParseReal(std::string_view text, double& value);

// The shortest text of a real that reads back as the same double.
std::string RealText(double x);

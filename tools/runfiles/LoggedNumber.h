#pragma once

#include <string>
#include <string_view>
#include <vector>

// A number as motifbind wrote it into its log or prediction file: the text
// exactly as written, so that tables can copy it, and its value. Both files
// write what the arithmetic gave, so "inf", "-inf" and "nan" are numbers too
// (a forced pair the data cannot do without gives a log joint of -inf).
struct LoggedNumber {
    std::string text;
    double value = 0.0;
};

// A whole field as a number written by a C++ stream: decimal or exponent
// notation, "inf", "-inf", "nan", "-nan". No blanks around it.
bool ParseLoggedNumber(std::string_view text, LoggedNumber& number);

// A whole field as a decimal integer that fits an int.
bool ParseLoggedInt(std::string_view text, int& value);

// The fields of a line between its tab characters; an empty line has one
// empty field.
std::vector<std::string_view> TabFields(std::string_view line);

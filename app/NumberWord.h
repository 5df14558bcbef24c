#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Numbers as a command line gives them: the whole word and nothing else, so
// that a typo is refused instead of being read as its numeric prefix or as 0.
//
// A whole number is an optional sign ("+" or "-") and one or more decimal
// digits. A real number is an optional sign, decimal digits with an optional
// decimal point (at least one digit), and an optional exponent ("e" or "E",
// an optional sign, digits). No blanks, no hexadecimal, no "nan" or "inf".
// Such words mean exactly what the C library's strtol and strtod make of
// them.

// The value of a whole number word that fits 64 bits.
std::optional<std::int64_t> WholeWord(const std::string& w);

// The value of a real number word whose value is finite; an exponent so
// large that the value overflows is refused, one so small that it underflows
// gives what strtod gives.
std::optional<double> RealWord(const std::string& w);

// `w` for a message: in double quotes, cut after its first 40 bytes (marked
// by "..." after the closing quote, never inside a UTF-8 character), control
// bytes written as \xNN.
std::string Shown(const std::string& w);

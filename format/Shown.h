#pragma once

#include <string>
#include <string_view>

// A value from an input file as an error message quotes it: in single
// quotes, cut to 40 characters so that a damaged file cannot flood the line,
// control characters (a terminal's escape sequences among them) shown as
// \xNN.
std::string Shown(std::string_view value);

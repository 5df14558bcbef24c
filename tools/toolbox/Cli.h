#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "tools/toolbox/Numbers.h"

// Command lines of the helper programs, parsed by CLI11.

// Parses `args` (the words after the program name) into `app`, which also
// gets a --version flag. Returns false when the words asked for the help text
// or the version, which are then printed on `out`. Throws ToolError with a
// one-line message for a command line CLI11 refuses; a word that looks like
// an option but is none is named first, before any missing or bad value.
bool ParseArgs(CLI::App& app, const std::vector<std::string>& args, std::ostream& out);

// What `app` says of an option-like `word` it does not know: "--interactoins
// is not an option; did you mean --interactions?" when a long option is
// close enough to be the one meant, otherwise "... (see --help)".
std::string UnknownOption(const CLI::App& app, const std::string& word);

// An integer of type T in [lo, hi]: the whole word in decimal digits, so that
// "-3" is no unsigned value and "12x" no integer.
template <typename T>
CLI::Validator IntegerIn(T lo, T hi)
{
    const std::string range = "an integer from " + std::to_string(lo) + " to " + std::to_string(hi);
    return CLI::Validator(
        [=](std::string& text) -> std::string {
            T x{};
            if (!ParseInteger(text, x) || x < lo || x > hi) {
                return "expected " + range + ", got '" + text + "'";
            }
            return "";
        },
        range);
}

// A real number in the interval from lo to hi; the flags say whether an end
// itself is allowed. Refuses "nan" and "inf", which CLI11's own range check
// lets through.
CLI::Validator RealIn(double lo, bool loIncl, double hi, bool hiIncl);
// A real in [0, 1].
CLI::Validator Fraction();

// Flushes what a program wrote on `out`, its standard output; throws
// ToolError when some of it was lost (a full disk, a closed pipe), so that a
// run whose summary never arrived does not end with status 0.
void FlushOutput(std::ostream& out);

// Runs a program body: a ToolError, a failed allocation or any other
// exception becomes one "Error: " line on `err` and status 1.
int RunTool(std::ostream& err, const std::function<int()>& body);

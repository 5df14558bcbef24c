#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

// Shown, how a message quotes a value from a file, comes with it.
#include "format/Shown.h"

// A request a helper program refuses: bad options, an input file it cannot
// use, an output folder that already holds files, a file that cannot be
// written. The message is one line naming what was wrong and what was
// expected; the entry point prints it after "Error: " and exits with status 1.
class ToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "FILE line N: WHAT": the position of a bad record in an input file, lines
// counted from 1.
inline ToolError LineError(const std::string& file, std::size_t line, const std::string& what)
{
    return ToolError(file + " line " + std::to_string(line) + ": " + what);
}

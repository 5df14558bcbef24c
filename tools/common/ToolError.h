#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

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

// A value from an input file as an error message quotes it: in single
// quotes, cut to 40 characters so that a damaged file cannot flood the line,
// control characters (a terminal's escape sequences among them) shown as
// \xNN.
inline std::string Shown(std::string_view value)
{
    constexpr std::size_t MAX_SHOWN = 40;
    constexpr char HEX[] = "0123456789abcdef";
    std::string s = "'";
    for (std::size_t i = 0; i < value.size() && i < MAX_SHOWN; ++i) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        if (c < 0x20 || c == 0x7f) {
            s += "\\x";
            s += HEX[c >> 4];
            s += HEX[c & 0xf];
        } else {
            s += value[i];
        }
    }
    s += value.size() > MAX_SHOWN ? "...'" : "'";
    return s;
}

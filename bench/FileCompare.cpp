#include "bench/FileCompare.h"

#include <fstream>

#include "tools/toolbox/ToolError.h"

namespace {

std::ifstream Open(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw ToolError("cannot read " + path);
    }
    return in;
}

} // namespace

FileDifference CompareFiles(const std::string& a, const std::string& b, bool skipFirstLine)
{
    std::ifstream inA = Open(a), inB = Open(b);
    std::string lineA, lineB;
    for (long line = 1;; ++line) {
        // A final line without a line break differs from one with it.
        const bool gotA = static_cast<bool>(std::getline(inA, lineA));
        const bool brokeA = gotA && !inA.eof();
        const bool gotB = static_cast<bool>(std::getline(inB, lineB));
        const bool brokeB = gotB && !inB.eof();
        if (!gotA && !gotB) {
            return {true, 0};
        }
        if (line == 1 && skipFirstLine && gotA && gotB) {
            continue;
        }
        if (gotA != gotB || brokeA != brokeB || lineA != lineB) {
            return {false, line};
        }
    }
}

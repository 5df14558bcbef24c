#pragma once

#include <string>

// Where two text files first differ.
struct FileDifference {
    bool identical = false;
    // 1-based line number of the first difference (a line present in only
    // one file counts as different); 0 when identical.
    long line = 0;
};

// Compares byte for byte, line by line, optionally ignoring the first line of
// both (a log echoes the command line, which names the executable and the
// files). Throws ToolError when a file cannot be read.
FileDifference CompareFiles(const std::string& a, const std::string& b, bool skipFirstLine);

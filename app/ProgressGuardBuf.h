#pragma once

#include <streambuf>

#include "app/Progress.h"

// A stream buffer in front of standard output for runs whose standard output
// and error are one terminal: the progress line on standard error stands
// where the next output line would go, so it is taken away before any byte
// passes and drawn again once a whole line has passed (never under a line
// still being written). The bytes themselves pass on unchanged and in order;
// the guard holds none of its own.
class ProgressGuardBuf : public std::streambuf {
public:
    ProgressGuardBuf(std::streambuf* to, ProgressLine& line) : to(to), line(line) {}

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    std::streambuf* to;
    ProgressLine& line;
};

// Whether standard output and standard error are the same terminal.
bool OutputSharesTerminal();

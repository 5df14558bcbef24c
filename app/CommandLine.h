#pragma once

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "io/FileOpen.h"

// A command line the program cannot run with. `what()` is a one-line
// explanation, or empty when the usage text alone says enough.
class UsageErr : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Most threads -t accepts.
constexpr int MAXTHREADS = 256;

// Consumes the program name and the leading options. On return argv[0] is the
// first positional argument and argc counts the positional arguments.
// leakType, perType, pertSize and threads are written only when their option
// is given; -d reopens the three DDI streams. The words of -t, which changes
// how a run is carried out but not what it computes, are added to `unechoed`
// when given, so the log's command line can leave them out. Throws UsageErr
// on an unknown option, on an option whose arguments run past the end of the
// command line and on a thread count that is not a whole number from 1 to
// MAXTHREADS, and FileOpenErr when a -d file cannot be opened.
void ReadOption(int& argc, char**& argv, int& leakType, int& perType, InFile& ddiFile, InFile& ddmdlFile,
                InFile& ddioptFile, int& pertSize, int& threads, std::vector<const char*>* unechoed = nullptr);

// Writes the usage text, line by line with a flush after each.
void PrintUsage(std::ostream& out);

#pragma once

#include <ostream>
#include <stdexcept>
#include <string>

#include "io/FileOpen.h"

// A command line the program cannot run with. `what()` is a one-line
// explanation, or empty when the usage text alone says enough.
class UsageErr : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Consumes the program name and the leading options. On return argv[0] is the
// first positional argument and argc counts the positional arguments.
// leakType, perType and pertSize are written only when their option is given;
// -d reopens the three DDI streams. Throws UsageErr on an unknown option or
// on an option whose arguments run past the end of the command line, and
// FileOpenErr when a -d file cannot be opened.
void ReadOption(int& argc, char**& argv, int& leakType, int& perType,
                InFile& ddiFile, InFile& ddmdlFile, InFile& ddioptFile, int& pertSize);

// Writes the usage text, line by line with a flush after each.
void PrintUsage(std::ostream& out);

#pragma once

#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "io/FileOpen.h"
#include "perturb/Shard.h"

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
// leakType, perType, pertSize, threads and shard are written only when their
// option is given; -d reopens the three DDI streams. The words of -t and -j,
// which change how a run is carried out but not what it computes, are added
// to `unechoed` when given, so the log's command line can leave them out.
// Throws UsageErr on an unknown option, on an option whose arguments run past
// the end of the command line, on a thread count that is not a whole number
// from 1 to MAXTHREADS and on a block of -j that is not two whole numbers
// with 0 <= index < count <= MAXSHARDS, and FileOpenErr when a -d file cannot
// be opened.
void ReadOption(int& argc, char**& argv, int& leakType, int& perType, InFile& ddiFile, InFile& ddmdlFile,
                InFile& ddioptFile, int& pertSize, int& threads, std::optional<Shard>& shard,
                std::vector<const char*>* unechoed = nullptr);

// Writes the usage text, line by line with a flush after each.
void PrintUsage(std::ostream& out);

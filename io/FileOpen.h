#pragma once

#include <fstream>
#include <istream>
#include <string>

#include "io/RunError.h"

// An input file that remembers its name, so that readers can say where a
// bad record is.
class InFile : public std::ifstream {
public:
    std::string name;
};

// The name of an input stream for messages: the file name of an InFile,
// "<input>" for any other stream.
std::string StreamName(const std::istream& in);

// Closes `infile`, clears its state and opens `fname` for reading. A name
// that cannot be opened, or that is a directory, throws FileOpenErr.
void InFopen(InFile& infile, const char* fname);
void InFopen(InFile& infile, const std::string& fname);

// Closes `outfile` and opens `fname` for writing. Names outside "/dev/" and
// "/tmp/" that already exist are refused with FilExistErr, so a finished
// result is never overwritten.
void OutFopen(std::ofstream& outfile, const char* fname);
void OutFopen(std::ofstream& outfile, const std::string& fname);

#pragma once

#include <fstream>
#include <istream>
#include <stdexcept>
#include <string>

// Opening a file failed.
struct FileOpenErr {};
// An output file already exists and must not be overwritten.
struct FilExistErr {};

// An input file that remembers its name, so that readers can say where a
// bad record is.
class InFile : public std::ifstream {
public:
    std::string name;
};

// The name of an input stream for messages: the file name of an InFile,
// "<input>" for any other stream.
std::string StreamName(const std::istream& in);

// Closes `infile`, clears its state and opens `fname` for reading. On failure
// writes "Error: can't open <name>" to standard error and throws FileOpenErr.
void InFopen(InFile& infile, const char* fname);
void InFopen(InFile& infile, const std::string& fname);

// Closes `outfile` and opens `fname` for writing. Names outside "/dev/" and
// "/tmp/" that already exist are refused with FilExistErr, so a finished
// result is never overwritten.
void OutFopen(std::ofstream& outfile, const char* fname);
void OutFopen(std::ofstream& outfile, const std::string& fname);

// A bad input record: the message names the file, the line, the value and
// what was expected. The entry point prints it after "Error: ".
class InputErr : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

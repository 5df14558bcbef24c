#pragma once

#include <stdexcept>
#include <string>

// A failure that ends the run: its message names the file, the line, the
// value and what was expected, as far as they apply. The entry point prints
// it once, after "Error: ", and ends with a failure status.
class RunError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be opened, is a directory, or could not be read.
class FileOpenErr : public RunError {
public:
    using RunError::RunError;
};

// An output file already exists and must not be overwritten.
class FilExistErr : public RunError {
public:
    using RunError::RunError;
};

// A bad input record.
class InputErr : public RunError {
public:
    using RunError::RunError;
};

// Writing an output (a file, standard output or standard error) failed.
class WriteErr : public RunError {
public:
    using RunError::RunError;
};

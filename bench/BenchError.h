#pragma once

#include <stdexcept>

// A benchmark that cannot go on: a bad option, a data set that cannot be
// generated or read, a run that failed. The message is one line; the entry
// point prints it after "Error: " and exits with status 1.
class BenchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

#pragma once

#include <stdexcept>

// A data folder the evaluator cannot judge: a missing file, a record that is
// not numbers, a log without the sections of a finished run. The message is
// one line naming the file and what was wrong; the entry point prints it
// after "Error: " and exits with status 1.
class EvalError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

#pragma once

#include <stdexcept>

// A request the simulator refuses: bad parameters, an output folder that
// already holds files, a file that cannot be written. The message is one line
// naming what was wrong and what was expected; the entry point prints it after
// "Error: " and exits with status 1.
class SimError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

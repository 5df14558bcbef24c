#pragma once

#include <ostream>
#include <string>
#include <vector>

// The whole program behind its entry point: takes the words after the
// program name (one data folder, or --help), evaluates the folder and prints
// the summary on `out`. Returns the exit status: 0 on success, 1 after one
// "Error: " line on `err`.
int EvalMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

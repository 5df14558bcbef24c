#pragma once

#include <ostream>
#include <string>
#include <vector>

// The whole program: parses the options, reads the inputs, writes the input
// set and prints the summary. Returns the exit status.
int PrepMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

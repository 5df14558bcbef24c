#pragma once

#include <ostream>
#include <string>
#include <vector>

// The whole program behind its entry point: parses the words after the
// program name, generates the set and writes it. Returns the exit status:
// 0 on success, 1 after one "Error: " line on `err`.
int SimMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

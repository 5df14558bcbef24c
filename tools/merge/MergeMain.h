#pragma once

#include <ostream>
#include <string>
#include <vector>

// The whole program behind its entry point: takes the words after the
// program name, merges the shards they name and returns the exit status: 0
// on success (nothing printed), 1 after one "Error: " line on `err`.
int MergeMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

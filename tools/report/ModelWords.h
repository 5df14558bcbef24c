#pragma once

#include <string>
#include <vector>

// A learned observation model in words. `role` is the state the model
// serves: 0 pairs that do not interact (a binary model's chance of saying 1
// is then its false-positive rate), 1 pairs that do (its chance of saying 0
// is the false-negative rate), -1 unknown.
std::string ModelWords(const std::string& type, const std::vector<double>& params, int role);

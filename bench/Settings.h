#pragma once

#include <string>
#include <vector>

// A named data-set size the benchmark knows how to generate.
struct Setting {
    std::string name;
    std::string description;
    // Simulator options besides --out and --seed.
    std::vector<std::string> simArgs;
    // Defaults of the perturbation phase: candidates in the list, -s bound.
    int pertPairs = 0;
    int pertSize = -1;
    // The setting whose generated set this one runs on (empty: its own).
    std::string dataOf;
    // Whether the pairs to predict interaction for are every pair of the
    // proteins, a protein with itself included, rather than the set's list.
    bool allPairs = false;
};

const std::vector<Setting>& AllSettings();

// Throws ToolError naming the known settings.
const Setting& FindSetting(const std::string& name);

#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Paths the build knows: the simulator and motifbind built beside this
// program, and the default folder of generated data sets.
struct BuildPaths {
    std::string sim;
    std::string motifbind;
    std::string dataRoot;
};

struct BenchOptions {
    std::string setting = "quick";
    unsigned seed = 1;
    std::string dataRoot;
    std::string sim;
    std::string exe; // "new"
    std::string vs;  // "old"; empty: time `exe` alone
    int runs = 1;    // per executable
    int threads = 0; // > 0: -t threads for the new executable
    std::vector<std::string> newArgs;
    std::vector<std::string> oldArgs;
    int perType = 1;
    int pertPairs = -1; // -1: the setting's default
    int pertSize = -2;  // -2: the setting's default (-1 is "no bound")
    bool keep = false;
};

// Parses the words after the program name with the helpers' option toolbox
// ("--name value" or "--name=value"). Returns nothing when they asked for
// the help text or the version, which are then printed on `out`. Throws
// ToolError for an unknown option, a missing or bad value, or options that
// do not go together. Relative paths are made absolute (the
// runs happen inside the data set's folder).
std::optional<BenchOptions> ParseBenchOptions(const std::vector<std::string>& args, const BuildPaths& paths,
                                              std::ostream& out);

#pragma once

#include <string>

// What the motifbind command line of a generated input set depends on.
struct RunSettings {
    int proteins = 0;
    int motifs = 0;
    int leakType = 1;
    int leakGroup = 10000;
    int perType = 0;
    int pertSize = -1;
    double priorPos = 0.1;
    double priorRatio = 1.0;  // -n is written only when it is not 1
    bool ddi = false;         // -d with the three domain-domain files
};

// The motifbind invocation for an input set written under the names of
// FileNames.h: options, then the fourteen positional arguments, all file
// names relative to the set's folder, so it runs from inside that folder.
// One line, ended by a newline.
std::string RunCommand(const RunSettings& run);

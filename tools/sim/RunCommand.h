#pragma once

#include <string>

#include "tools/sim/SimConfig.h"

// The motifbind invocation for a generated set: options, then the fourteen
// positional arguments, all file names relative to the set's folder, so it
// runs from inside that folder. One line, ended by a newline.
std::string RunCommand(const SimConfig& config);

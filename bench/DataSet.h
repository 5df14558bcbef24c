#pragma once

#include <ostream>
#include <string>

#include "bench/Settings.h"

// The folder <root>/<setting>-<seed> holding a generated input set. A folder
// generated earlier with the same simulator options is reused; otherwise
// motifbind-sim `sim` writes it (into a scratch folder first, renamed when
// complete, so an interrupted run leaves no half set behind). Progress goes
// to `progress`. Throws ToolError when the set can be neither found nor made.
std::string EnsureDataSet(const Setting& setting, unsigned seed, const std::string& root, const std::string& sim,
                          std::ostream& progress);

// The one line of <folder>/command.txt. Throws ToolError.
std::string ReadCommandLine(const std::string& folder);

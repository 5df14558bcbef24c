#pragma once

#include <string>
#include <utility>
#include <vector>

#include "format/InputSetFiles.h"
#include "tools/prep/PrepConfig.h"
#include "tools/prep/PreparedSet.h"

// The files of the input set, name and text, in writing order.
std::vector<std::pair<std::string, std::string>> SetFiles(const PreparedSet& set, const PrepConfig& config);

// The program and version that made the set, then what the conversion kept,
// dropped and why, for standard output and the set's summary file; each line
// ends with a newline.
std::string SummaryText(const PreparedSet& set, const PrepConfig& config);

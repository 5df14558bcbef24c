#pragma once

#include <filesystem>
#include <map>
#include <optional>

#include "tools/common/PairKey.h"

// The interaction section of motifbind's prediction file: for each listed
// protein pair the posterior probability that it does not interact given its
// own observations, or nothing when the file says H (no observations).
// Throws ToolError when the file is missing or the section is absent or
// malformed.
std::map<PairKey, std::optional<double>> ReadPosteriors(const std::filesystem::path& path);

#pragma once

#include <string>

#include "format/ShardManifest.h"

// Reads and checks the manifest at `path` (see format/ShardManifest.h).
// Throws ToolError naming the file and the line.
ShardManifest ReadManifest(const std::string& path);

// Reads a manifest from its text; `path` only names it in messages.
ShardManifest ParseManifest(const std::string& text, const std::string& path);

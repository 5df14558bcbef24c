#pragma once

#include <string>
#include <string_view>

// SHA-256 digests as lowercase hex, as sha256sum prints them, so that a
// recorded input can be checked against the file it names.
std::string Sha256Hex(std::string_view bytes);
// Of a file's bytes as stored (a gzip file is hashed compressed), read in
// blocks; throws ToolError naming the file when it cannot be read.
std::string Sha256OfFile(const std::string& path);

#pragma once

#include <string>
#include <vector>

#include "tools/prep/PrepConfig.h"

// The record of what made an input set, for the set's provenance file: the
// program and its version, the command line as given (each word quoted as a
// shell reads it back), the seed of the random draws, and the SHA-256 of
// every input file as stored (a gzip file compressed), in the order the
// options name them. An input that is not a regular file (a FIFO such as
// <(zcat f)) is recorded as not hashed: reading it twice would take its
// bytes from the conversion. Each line ends with a newline.
std::string ProvenanceText(const std::vector<std::string>& args, const PrepConfig& config);

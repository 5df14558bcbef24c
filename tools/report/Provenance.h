#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// What motifbind-prep recorded beside an input set: provenance.txt (the
// version, the command line, the seed and a checksum per input, as
// "key: value" lines) and summary.txt (what it printed). Both are shown as
// they are, so that a page names the files and program its numbers came from.
struct SetProvenance {
    static constexpr std::size_t MAX_LINES = 1000; // of each file; the rest is counted, not kept

    bool present = false;                                    // provenance.txt is beside the run
    std::vector<std::pair<std::string, std::string>> fields; // key (empty for a line without one), value
    std::vector<std::string> summary;
    std::size_t linesLeftOut = 0; // of both files, past MAX_LINES
};

// Reads both files from the run folder; a missing file is no record, a name
// that is there but unreadable (a directory) is an error naming it.
SetProvenance ReadSetProvenance(const std::filesystem::path& run);

#pragma once

#include <cstdint>
#include <string>

// The manifest a run with -j leaves beside its log, "<log>.shard":
//
//   motifbind shard
//   version <version>
//   block <index> <count>
//   cycles <first> <end> <total>
//   log_perturbation <start> <end> <checksum>
//   stdout_perturbation <start> <end> <checksum>
//
// The version is that of the motifbind that ran the shard, one word such as
// 1.0.0. The block ran cycles [first, end) of total; its cycles wrote bytes
// [start, end) of the log and of standard output, whose 64-bit FNV-1a is the
// checksum (16 hex digits). Before start lies the training part, from end on
// the tail; both are the same in every block of one command.
struct Manifest {
    std::string version;
    std::uint64_t index = 0;
    std::uint64_t count = 0;
    std::uint64_t first = 0;
    std::uint64_t end = 0;
    std::uint64_t total = 0;
    std::uint64_t logStart = 0;
    std::uint64_t logEnd = 0;
    std::uint64_t logSum = 0;
    std::uint64_t outStart = 0;
    std::uint64_t outEnd = 0;
    std::uint64_t outSum = 0;
};

// Reads and checks the manifest at `path`: the six lines and nothing else,
// index < count, first <= end <= total, each start <= its end. Throws
// ToolError naming the file and the line.
Manifest ReadManifest(const std::string& path);

// Reads a manifest from its text; `path` only names it in messages.
Manifest ParseManifest(const std::string& text, const std::string& path);

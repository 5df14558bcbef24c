#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "format/Shard.h"
#include "motifbind/Version.h"

// What a run with -j leaves beside its log as "<log>.shard", so that
// motifbind-merge can join the blocks of one analysis into the outputs of a
// single run. Six text lines:
//
//   motifbind shard
//   version <version>
//   block <index> <count>
//   cycles <first> <end> <total>
//   log_perturbation <start> <end> <checksum>
//   stdout_perturbation <start> <end> <checksum>
//
// The version is that of the motifbind that ran the shard, one word such as
// 1.0.0, so that shards of different releases, whose outputs need not agree,
// are never joined. The block ran cycles [first, end) of the total in
// candidate order. Offsets count bytes from the start of the log and of
// standard output: the block's cycles wrote [start, end). In the log, start
// is just after the "Joint prob before perturbation:" line and end is where
// "*** End of file." begins; on standard output, end is its end. What lies
// before start and from end on is the training part and the tail, the same
// for every block of one command. The checksum is the 64-bit FNV-1a of the
// bytes [start, end) in 16 lower-case hex digits, so that a part mixed up
// with another block's, or changed, is found. All other numbers are decimal.
struct ShardManifest {
    std::string version = MOTIFBIND_VERSION; // this build's, unless read
    Shard shard;
    CycleRange cycles;
    std::size_t total = 0;
    std::uint64_t logStart = 0;
    std::uint64_t logEnd = 0;
    std::uint64_t logSum = 0;
    std::uint64_t outStart = 0;
    std::uint64_t outEnd = 0;
    std::uint64_t outSum = 0;
};

void WriteManifest(std::ostream& out, const ShardManifest& m);

// A text that is no manifest: the line (from 1) and what is wrong there.
class ManifestError : public std::runtime_error {
public:
    ManifestError(std::size_t line, const std::string& what) : std::runtime_error(what), line_(line) {}
    std::size_t Line() const { return line_; }

private:
    std::size_t line_;
};

// Reads and checks a manifest: the six lines and nothing else, index <
// count, first <= end <= total, each start <= its end. Throws ManifestError.
ShardManifest ParseManifest(std::string_view text);

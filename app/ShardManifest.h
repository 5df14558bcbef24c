#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>

#include "perturb/Shard.h"

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
// The version is the program's, so that shards of different releases, whose
// outputs need not agree, are never joined. The block ran cycles
// [first, end) of the total in candidate order. Offsets count bytes from the
// start of the log and of standard output: the block's cycles wrote
// [start, end). In the log, start is just after the "Joint prob
// before perturbation:" line and end is where "*** End of file." begins; on
// standard output, end is its end. What lies before start and from end on is
// the training part and the tail, the same for every block of one command.
// The checksum is the 64-bit FNV-1a of the bytes [start, end) in 16 hex
// digits, so that a part mixed up with another block's, or changed, is found.
// All other numbers are decimal.
struct ShardManifest {
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

#pragma once

#include <string>
#include <vector>

// The three outputs of one run: of a shard (run with -j), or of the merge.
struct RunFiles {
    std::string log;
    std::string predictions;
    std::string standardOutput;
};

// Joins the blocks of one perturbation analysis, run as shards of one
// command, into the log, prediction file and standard output of a single run
// of that command: the common training part, every block's perturbation part
// in block order, the common tail. Each shard's manifest is "<its log>.shard".
// The shards may come in any order. Refuses, with a ToolError naming the
// shard and what differs and before anything is written, shards whose
// command lines, training parts, tails, prediction files, block counts or
// cycle totals differ, a missing or repeated block and cycle ranges that do
// not join up. An output that exists is never overwritten.
void MergeShards(const std::vector<RunFiles>& shards, const RunFiles& out);

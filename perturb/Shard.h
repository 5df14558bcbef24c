#pragma once

#include <cstddef>
#include <cstdint>

// Most blocks an analysis can be split into.
constexpr std::int64_t MAXSHARDS = 1000000;

// Block `index` of `count` contiguous blocks of an analysis's cycles, so that
// the cycles can run on several machines and their lines be joined again in
// candidate order. Block 0 of 1 is the whole analysis.
struct Shard {
    std::int64_t index = 0;
    std::int64_t count = 1;
};

// Cycles [first, end) of the list.
struct CycleRange {
    std::size_t first = 0;
    std::size_t end = 0;
};

// The cycles of block `s` of `n`: [n*index/count, n*(index+1)/count), so
// that block sizes differ by at most one and the blocks cover every cycle
// once. Needs 0 <= index < count.
CycleRange BlockOf(std::size_t n, const Shard& s);

#pragma once

#include <cstddef>
#include <cstdint>

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

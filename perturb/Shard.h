#pragma once

#include <cstddef>
#include <cstdint>

#include "format/Shard.h"

// Most blocks an analysis can be split into.
constexpr std::int64_t MAXSHARDS = 1000000;

// The cycles of block `s` of `n`: [n*index/count, n*(index+1)/count), so
// that block sizes differ by at most one and the blocks cover every cycle
// once. Needs 0 <= index < count.
CycleRange BlockOf(std::size_t n, const Shard& s);

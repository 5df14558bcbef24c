#pragma once

#include <cstddef>
#include <cstdint>

// 64-bit FNV-1a over a run of bytes: what a shard's manifest records of the
// parts of its outputs that its cycles wrote, so that a part mixed up with
// another block's, or changed, is found when the shards are joined.
class Fnv1a {
public:
    static constexpr std::uint64_t BASIS = 14695981039346656037ull;
    static constexpr std::uint64_t PRIME = 1099511628211ull;

    void Add(char c) { sum = (sum ^ std::uint64_t(static_cast<unsigned char>(c))) * PRIME; }
    void Add(const char* data, std::size_t n)
    {
        for (std::size_t i = 0; i < n; ++i)
            Add(data[i]);
    }
    // Starts afresh, as over no bytes.
    void Reset() { sum = BASIS; }
    std::uint64_t Value() const { return sum; }

private:
    std::uint64_t sum = BASIS;
};

#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// A file compared and copied by ranges of bytes, a block at a time, so that
// logs of any length pass through without being held in memory. Each call
// opens the file afresh: a merge of many shards keeps no file open between
// steps.
class ByteFile {
public:
    // Throws ToolError when `path` is no readable regular file; `what` names
    // it in messages ("log", "standard output").
    ByteFile(std::string path, std::string what);

    const std::string& Path() const { return path_; }
    const std::string& What() const { return what_; }
    std::uint64_t Size() const { return size_; }

    // The bytes from offset 0 up to the first newline (not included), read
    // no further than `limit` bytes.
    std::string FirstLine(std::uint64_t limit) const;

private:
    std::string path_;
    std::string what_;
    std::uint64_t size_ = 0;
};

// The first i < n at which byte aFrom + i of `a` and byte bFrom + i of `b`
// differ, or n when the ranges are equal. Both ranges must lie in their files.
std::uint64_t FirstDifference(const ByteFile& a, std::uint64_t aFrom, const ByteFile& b, std::uint64_t bFrom,
                              std::uint64_t n);

// The 64-bit FNV-1a of bytes [from, to) of `f`.
std::uint64_t Checksum(const ByteFile& f, std::uint64_t from, std::uint64_t to);

// Hands bytes [from, to) of `f` to `sink`, a block at a time.
using ByteSink = std::function<void(const char* data, std::size_t n)>;
void CopyRange(const ByteFile& f, std::uint64_t from, std::uint64_t to, const ByteSink& sink);

#pragma once

#include <cstdint>
#include <streambuf>

#include "format/Checksum.h"

// Passes every byte on to another stream buffer and counts those it took, so
// that a run can say where a part of its output lies, and checksums them
// from a mark on, so that the part can be recognised later. It holds no
// bytes of its own: a flush of the stream flushes the buffer below at once.
class CountingBuf : public std::streambuf {
public:
    explicit CountingBuf(std::streambuf* to) : to(to) {}

    // Bytes the buffer below has accepted so far.
    std::uint64_t Count() const { return count; }
    // Starts the checksum afresh with the next byte.
    void Mark() { sum.Reset(); }
    // 64-bit FNV-1a of the bytes accepted since the mark (or the start).
    std::uint64_t Checksum() const { return sum.Value(); }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    std::streambuf* to;
    std::uint64_t count = 0;
    Fnv1a sum;
};

#include "tools/merge/ByteFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "format/Checksum.h"
#include "tools/toolbox/ToolError.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t BLOCK = 1 << 20;

std::ifstream Open(const ByteFile& f, std::uint64_t from)
{
    std::ifstream in(f.Path(), std::ios::binary);
    if (!in) {
        throw ToolError("cannot open " + f.What() + " '" + f.Path() + "'");
    }
    in.seekg(std::streamoff(from));
    if (!in) {
        throw ToolError("cannot read " + f.What() + " '" + f.Path() + "'");
    }
    return in;
}

// Fills `buf` with the next n bytes of `in`; a file that shrank meanwhile
// is an error, not a shorter range.
void ReadExactly(std::ifstream& in, const ByteFile& f, char* buf, std::size_t n)
{
    in.read(buf, std::streamsize(n));
    if (std::size_t(in.gcount()) != n) {
        throw ToolError("cannot read " + f.What() + " '" + f.Path() + "': it ended early (changed while merging?)");
    }
}

} // namespace

ByteFile::ByteFile(std::string path, std::string what) : path_(std::move(path)), what_(std::move(what))
{
    std::error_code ec;
    const fs::file_status st = fs::status(path_, ec);
    if (ec || !fs::exists(st)) {
        throw ToolError(what_ + " '" + path_ + "' does not exist");
    }
    if (!fs::is_regular_file(st)) {
        throw ToolError(what_ + " '" + path_ + "' is not a regular file");
    }
    size_ = fs::file_size(path_, ec);
    if (ec) {
        throw ToolError("cannot read the size of " + what_ + " '" + path_ + "': " + ec.message());
    }
}

std::string ByteFile::FirstLine(std::uint64_t limit) const
{
    std::ifstream in = Open(*this, 0);
    std::string line;
    std::vector<char> buf(BLOCK);
    for (std::uint64_t left = std::min(limit, size_); left > 0;) {
        const std::size_t n = std::size_t(std::min<std::uint64_t>(left, BLOCK));
        ReadExactly(in, *this, buf.data(), n);
        const auto nl = std::find(buf.begin(), buf.begin() + std::ptrdiff_t(n), '\n');
        line.append(buf.begin(), nl);
        if (nl != buf.begin() + std::ptrdiff_t(n)) {
            break;
        }
        left -= n;
    }
    return line;
}

std::uint64_t FirstDifference(const ByteFile& a, std::uint64_t aFrom, const ByteFile& b, std::uint64_t bFrom,
                              std::uint64_t n)
{
    std::ifstream ia = Open(a, aFrom);
    std::ifstream ib = Open(b, bFrom);
    std::vector<char> ba(BLOCK), bb(BLOCK);
    for (std::uint64_t done = 0; done < n;) {
        const std::size_t k = std::size_t(std::min<std::uint64_t>(n - done, BLOCK));
        ReadExactly(ia, a, ba.data(), k);
        ReadExactly(ib, b, bb.data(), k);
        const auto at = std::mismatch(ba.begin(), ba.begin() + std::ptrdiff_t(k), bb.begin());
        if (at.first != ba.begin() + std::ptrdiff_t(k)) {
            return done + std::uint64_t(at.first - ba.begin());
        }
        done += k;
    }
    return n;
}

void CopyRange(const ByteFile& f, std::uint64_t from, std::uint64_t to, const ByteSink& sink)
{
    std::ifstream in = Open(f, from);
    std::vector<char> buf(BLOCK);
    for (std::uint64_t left = to - from; left > 0;) {
        const std::size_t k = std::size_t(std::min<std::uint64_t>(left, BLOCK));
        ReadExactly(in, f, buf.data(), k);
        sink(buf.data(), k);
        left -= k;
    }
}

std::uint64_t Checksum(const ByteFile& f, std::uint64_t from, std::uint64_t to)
{
    Fnv1a sum;
    CopyRange(f, from, to, [&](const char* data, std::size_t n) { sum.Add(data, n); });
    return sum.Value();
}

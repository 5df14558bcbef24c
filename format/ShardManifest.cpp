#include "format/ShardManifest.h"

#include <charconv>
#include <limits>
#include <sstream>
#include <vector>

#include "format/Shown.h"

namespace {

const char* const HEADER = "motifbind shard";
const char* const VERSION = "version";
const char* const BLOCK = "block";
const char* const CYCLES = "cycles";
const char* const LOG_PART = "log_perturbation";
const char* const STDOUT_PART = "stdout_perturbation";

std::string Hex(std::uint64_t x)
{
    const char* const DIGITS = "0123456789abcdef";
    std::string s(16, '0');
    for (int i = 15; i >= 0; --i, x >>= 4)
        s[std::size_t(i)] = DIGITS[x & 15];
    return s;
}

// 16 hex digits, lower case.
bool ParseHex(const std::string& w, std::uint64_t& x)
{
    if (w.size() != 16)
        return false;
    x = 0;
    for (const char c : w) {
        const bool digit = c >= '0' && c <= '9', letter = c >= 'a' && c <= 'f';
        if (!digit && !letter)
            return false;
        x = x << 4 | std::uint64_t(digit ? c - '0' : c - 'a' + 10);
    }
    return true;
}

// A whole word of decimal digits, no sign, at most `max`.
bool ParseDecimal(const std::string& w, std::uint64_t max, std::uint64_t& x)
{
    const char* last = w.data() + w.size();
    const auto res = std::from_chars(w.data(), last, x);
    return !w.empty() && res.ec == std::errc() && res.ptr == last && x <= max;
}

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string s; in >> s;)
        w.push_back(s);
    return w;
}

// Line `n` (from 1): `key`, then `count` decimal numbers of at most `max`
// and, when `sum` is given, a checksum.
std::vector<std::uint64_t> ReadLine(const std::vector<std::string>& lines, std::size_t n, const std::string& key,
                                    std::size_t count, std::uint64_t max, std::uint64_t* sum)
{
    std::string expected = key;
    for (std::size_t i = 0; i < count; ++i)
        expected += " <number>";
    if (sum != nullptr)
        expected += " <checksum>";
    if (n > lines.size())
        throw ManifestError(n, "missing; expected '" + expected + "'");
    const std::vector<std::string> w = Words(lines[n - 1]);
    std::vector<std::uint64_t> values(count);
    bool ok = w.size() == count + 1 + (sum != nullptr ? 1 : 0) && w[0] == key;
    for (std::size_t i = 0; ok && i < count; ++i)
        ok = ParseDecimal(w[i + 1], max, values[i]);
    if (ok && sum != nullptr)
        ok = ParseHex(w.back(), *sum);
    if (!ok)
        throw ManifestError(n, "expected '" + expected + "', got " + Shown(lines[n - 1]));
    return values;
}

// Line 2: the release of the motifbind that wrote the manifest, one word.
std::string ReadVersion(const std::vector<std::string>& lines)
{
    const std::string expected = std::string("'") + VERSION + " <version>'";
    if (lines.size() < 2)
        throw ManifestError(2, "missing; expected " + expected);
    const std::vector<std::string> w = Words(lines[1]);
    if (w.size() != 2 || w[0] != VERSION)
        throw ManifestError(2, "expected " + expected + ", got " + Shown(lines[1]));
    return w[1];
}

} // namespace

void WriteManifest(std::ostream& out, const ShardManifest& m)
{
    out << HEADER << '\n'
        << VERSION << ' ' << m.version << '\n'
        << BLOCK << ' ' << m.shard.index << ' ' << m.shard.count << '\n'
        << CYCLES << ' ' << m.cycles.first << ' ' << m.cycles.end << ' ' << m.total << '\n'
        << LOG_PART << ' ' << m.logStart << ' ' << m.logEnd << ' ' << Hex(m.logSum) << '\n'
        << STDOUT_PART << ' ' << m.outStart << ' ' << m.outEnd << ' ' << Hex(m.outSum) << '\n'
        << std::flush;
}

ShardManifest ParseManifest(std::string_view text)
{
    std::vector<std::string> lines;
    std::istringstream in{std::string(text)};
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    if (lines.empty() || lines[0] != HEADER)
        throw ManifestError(1, std::string("expected '") + HEADER + "', got " + Shown(lines.empty() ? "" : lines[0]));

    constexpr std::uint64_t ANY = std::numeric_limits<std::uint64_t>::max();
    constexpr auto BLOCKS = std::uint64_t(std::numeric_limits<std::int64_t>::max());
    constexpr auto CYCLE_IDS = std::uint64_t(std::numeric_limits<std::size_t>::max());
    ShardManifest m;
    m.version = ReadVersion(lines);
    const auto block = ReadLine(lines, 3, BLOCK, 2, BLOCKS, nullptr);
    m.shard = {std::int64_t(block[0]), std::int64_t(block[1])};
    const auto cycles = ReadLine(lines, 4, CYCLES, 3, CYCLE_IDS, nullptr);
    m.cycles = {std::size_t(cycles[0]), std::size_t(cycles[1])};
    m.total = std::size_t(cycles[2]);
    const auto log = ReadLine(lines, 5, LOG_PART, 2, ANY, &m.logSum);
    m.logStart = log[0];
    m.logEnd = log[1];
    const auto out = ReadLine(lines, 6, STDOUT_PART, 2, ANY, &m.outSum);
    m.outStart = out[0];
    m.outEnd = out[1];
    if (lines.size() > 6)
        throw ManifestError(7, "unexpected " + Shown(lines[6]) + " after the six manifest lines");
    if (m.shard.index >= m.shard.count)
        throw ManifestError(3, "block " + std::to_string(m.shard.index) + " of " + std::to_string(m.shard.count) +
                                   ": the index must be below the count");
    if (m.cycles.first > m.cycles.end || m.cycles.end > m.total)
        throw ManifestError(4, "cycles must satisfy first <= end <= total");
    if (m.logStart > m.logEnd)
        throw ManifestError(5, "the start must not lie after the end");
    if (m.outStart > m.outEnd)
        throw ManifestError(6, "the start must not lie after the end");
    return m;
}

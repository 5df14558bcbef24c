#include "tools/merge/Manifest.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "tools/common/Numbers.h"
#include "tools/common/ToolError.h"

namespace {

// Longer than any manifest: a larger file is something else.
constexpr std::uintmax_t MAXSIZE = 4096;

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string s; in >> s;) {
        w.push_back(s);
    }
    return w;
}

// 16 hex digits, lower case.
bool ParseChecksum(const std::string& w, std::uint64_t& x)
{
    if (w.size() != 16) {
        return false;
    }
    x = 0;
    for (const char c : w) {
        const bool digit = c >= '0' && c <= '9', letter = c >= 'a' && c <= 'f';
        if (!digit && !letter) {
            return false;
        }
        x = x << 4 | std::uint64_t(digit ? c - '0' : c - 'a' + 10);
    }
    return true;
}

// Line `n` (from 1) must be `key`, then one decimal number per entry of
// `values` and, when `sum` is given, a checksum.
void ReadLine(const std::vector<std::string>& lines, std::size_t n, const std::string& key,
              const std::vector<std::uint64_t*>& values, std::uint64_t* sum, const std::string& path)
{
    std::string expected = key;
    for (std::size_t i = 0; i < values.size(); ++i) {
        expected += " <number>";
    }
    if (sum != nullptr) {
        expected += " <checksum>";
    }
    if (n > lines.size()) {
        throw LineError(path, n, "missing; expected '" + expected + "'");
    }
    const std::vector<std::string> w = Words(lines[n - 1]);
    bool ok = w.size() == values.size() + 1 + (sum != nullptr ? 1 : 0) && w[0] == key;
    for (std::size_t i = 0; ok && i < values.size(); ++i) {
        ok = ParseInteger(w[i + 1], *values[i]);
    }
    if (ok && sum != nullptr) {
        ok = ParseChecksum(w.back(), *sum);
    }
    if (!ok) {
        throw LineError(path, n, "expected '" + expected + "', got " + Shown(lines[n - 1]));
    }
}

// Line 2, "version <version>": the release of the motifbind that wrote the
// manifest, one word.
std::string ReadVersion(const std::vector<std::string>& lines, const std::string& path)
{
    if (lines.size() < 2) {
        throw LineError(path, 2, "missing; expected 'version <version>'");
    }
    const std::vector<std::string> w = Words(lines[1]);
    if (w.size() != 2 || w[0] != "version") {
        throw LineError(path, 2, "expected 'version <version>', got " + Shown(lines[1]));
    }
    return w[1];
}

} // namespace

Manifest ParseManifest(const std::string& text, const std::string& path)
{
    if (text.empty()) {
        throw ToolError("manifest '" + path + "' is empty: its run did not finish");
    }
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    if (lines.empty() || lines[0] != "motifbind shard") {
        throw LineError(path, 1, "expected 'motifbind shard', got " + Shown(lines.empty() ? "" : lines[0]));
    }
    Manifest m;
    m.version = ReadVersion(lines, path);
    ReadLine(lines, 3, "block", {&m.index, &m.count}, nullptr, path);
    ReadLine(lines, 4, "cycles", {&m.first, &m.end, &m.total}, nullptr, path);
    ReadLine(lines, 5, "log_perturbation", {&m.logStart, &m.logEnd}, &m.logSum, path);
    ReadLine(lines, 6, "stdout_perturbation", {&m.outStart, &m.outEnd}, &m.outSum, path);
    if (lines.size() > 6) {
        throw LineError(path, 7, "unexpected " + Shown(lines[6]) + " after the six manifest lines");
    }
    if (m.index >= m.count) {
        throw LineError(path, 3, "block " + std::to_string(m.index) + " of " + std::to_string(m.count) +
                                     ": the index must be below the count");
    }
    if (m.first > m.end || m.end > m.total) {
        throw LineError(path, 4, "cycles must satisfy first <= end <= total");
    }
    if (m.logStart > m.logEnd) {
        throw LineError(path, 5, "the start must not lie after the end");
    }
    if (m.outStart > m.outEnd) {
        throw LineError(path, 6, "the start must not lie after the end");
    }
    return m;
}

Manifest ReadManifest(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        throw ToolError("no manifest '" + path + "'; expected the file a run with -j writes beside its log");
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > MAXSIZE) {
        throw ToolError("'" + path + "' is no manifest of a run with -j");
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        throw ToolError("cannot read manifest '" + path + "'");
    }
    return ParseManifest(text.str(), path);
}

#include "bench/PairList.h"

#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include <unistd.h>

#include "tools/toolbox/ToolError.h"

namespace fs = std::filesystem;

long long CountPairRecords(const std::string& path)
{
    std::ifstream in(path);
    if (!in) {
        throw ToolError("cannot open " + path);
    }
    long long records = 0;
    long long a = 0, b = 0;
    while (in >> a >> b) {
        ++records;
    }
    return records;
}

long long AllPairsCount(long long proteins) { return proteins > 0 ? proteins * (proteins + 1) / 2 : 0; }

std::string EnsureAllPairsList(const std::string& folder, long long proteins, std::ostream& progress)
{
    const fs::path path = fs::path(folder) / ("all_pairs_" + std::to_string(proteins) + ".txt");
    if (fs::exists(path)) {
        return path.string();
    }
    progress << "Writing every pair of " << proteins << " proteins to " << path.string() << " ..." << std::endl;
    const fs::path partial = path.string() + ".partial-" + std::to_string(getpid());
    {
        std::ofstream out(partial, std::ios::binary);
        // Lines go out in large chunks; the list is never held whole.
        std::vector<char> chunk(1 << 20);
        std::size_t used = 0;
        const auto pass = [&] {
            out.write(chunk.data(), static_cast<std::streamsize>(used));
            used = 0;
        };
        for (long long i = 0; i < proteins && out; ++i) {
            for (long long j = 0; j <= i; ++j) {
                char line[48];
                char* at = std::to_chars(line, line + 20, i).ptr;
                *at++ = '\t';
                at = std::to_chars(at, at + 20, j).ptr;
                *at++ = '\n';
                const auto n = static_cast<std::size_t>(at - line);
                if (chunk.size() - used < n) {
                    pass();
                }
                std::memcpy(chunk.data() + used, line, n);
                used += n;
            }
        }
        pass();
        out.close();
        if (!out) {
            std::error_code ec;
            fs::remove(partial, ec);
            throw ToolError("cannot write " + partial.string());
        }
    }
    std::error_code ec;
    fs::rename(partial, path, ec);
    if (ec) {
        fs::remove(partial, ec);
        throw ToolError("cannot move the pair list to " + path.string() + ": " + ec.message());
    }
    return path.string();
}

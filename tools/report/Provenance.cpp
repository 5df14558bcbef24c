#include "tools/report/Provenance.h"

#include <system_error>

#include "format/InputSetFiles.h"
#include "tools/toolbox/LineReader.h"

namespace fs = std::filesystem;

namespace {

bool IsThere(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// Calls `take` with each line of `path` up to MAX_LINES; counts the rest.
template <typename F>
void ReadLines(const fs::path& path, std::size_t& leftOut, F take)
{
    LineReader in(path.string());
    std::string line;
    std::size_t n = 0;
    while (in.Next(line)) {
        if (n++ < SetProvenance::MAX_LINES) {
            take(line);
        } else {
            ++leftOut;
        }
    }
}

} // namespace

SetProvenance ReadSetProvenance(const fs::path& run)
{
    SetProvenance p;
    const fs::path record = run / files::PROVENANCE;
    if (IsThere(record)) {
        p.present = true;
        ReadLines(record, p.linesLeftOut, [&p](const std::string& line) {
            const std::size_t colon = line.find(": ");
            if (colon == std::string::npos) {
                p.fields.emplace_back(std::string(), line);
            } else {
                p.fields.emplace_back(line.substr(0, colon), line.substr(colon + 2));
            }
        });
    }
    const fs::path summary = run / files::PREP_SUMMARY;
    if (IsThere(summary)) {
        ReadLines(summary, p.linesLeftOut, [&p](const std::string& line) { p.summary.push_back(line); });
    }
    return p;
}

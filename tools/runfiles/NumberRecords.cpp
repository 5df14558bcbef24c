#include "tools/runfiles/NumberRecords.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "tools/toolbox/LineReader.h"
#include "tools/toolbox/ToolError.h"

void ReadNumberRecords(const std::filesystem::path& path, std::size_t fields,
                       const std::function<void(const NumberRecord&)>& take)
{
    LineReader in(path.string());
    NumberRecord current;
    std::size_t records = 0;
    std::string line;
    while (in.Next(line)) {
        for (const std::string_view word : Words(in, line)) {
            const std::string token(word);
            char* end = nullptr;
            const double value = std::strtod(token.c_str(), &end);
            if (end != token.c_str() + token.size()) {
                throw in.Error(Shown(token) + " in record " + std::to_string(records + 1) + " is not a number");
            }
            if (current.values.empty()) {
                current.line = in.LineNo();
            }
            current.values.push_back(value);
            if (current.values.size() == fields) {
                ++records;
                take(current);
                current.values.clear();
            }
        }
    }
    if (!current.values.empty()) {
        throw LineError(path.string(), current.line,
                        "the last record has " + std::to_string(current.values.size()) + " of " +
                            std::to_string(fields) + " fields");
    }
}

std::vector<NumberRecord> ReadNumberRecords(const std::filesystem::path& path, std::size_t fields)
{
    std::vector<NumberRecord> records;
    ReadNumberRecords(path, fields, [&records](const NumberRecord& r) { records.push_back(r); });
    return records;
}

int IdField(const std::filesystem::path& path, const NumberRecord& record, std::size_t field, std::size_t recordNo)
{
    const double x = record.values.at(field);
    if (!(x >= 0.0) || x > std::numeric_limits<int>::max() || std::floor(x) != x) {
        throw LineError(path.string(), record.line,
                        "field " + std::to_string(field + 1) + " of record " + std::to_string(recordNo) +
                            " is not an id");
    }
    return static_cast<int>(x);
}

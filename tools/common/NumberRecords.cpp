#include "tools/common/NumberRecords.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>

#include "tools/common/ToolError.h"

std::vector<std::vector<double>> ReadNumberRecords(const std::filesystem::path& path, std::size_t fields)
{
    std::ifstream in(path);
    if (!in) {
        throw ToolError("cannot open " + path.string());
    }
    std::vector<std::vector<double>> records;
    std::vector<double> current;
    std::string token;
    while (in >> token) {
        char* end = nullptr;
        const double value = std::strtod(token.c_str(), &end);
        if (end != token.c_str() + token.size()) {
            throw ToolError(path.string() + ": '" + token + "' in record " + std::to_string(records.size() + 1) +
                            " is not a number");
        }
        current.push_back(value);
        if (current.size() == fields) {
            records.push_back(std::move(current));
            current.clear();
        }
    }
    if (!current.empty()) {
        throw ToolError(path.string() + ": the last record has " + std::to_string(current.size()) + " of " +
                        std::to_string(fields) + " fields");
    }
    return records;
}

int IdField(const std::filesystem::path& path, const std::vector<double>& record, std::size_t field,
            std::size_t recordNo)
{
    const double x = record.at(field);
    if (!(x >= 0.0) || x > std::numeric_limits<int>::max() || std::floor(x) != x) {
        throw ToolError(path.string() + ": field " + std::to_string(field + 1) + " of record " +
                        std::to_string(recordNo) + " is not an id");
    }
    return static_cast<int>(x);
}

#include "tools/common/PredictionFile.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/common/ToolError.h"

namespace {

const std::string SECTION_START = "***s Predicted non-interaction probability for protein pairs:";
const std::string SECTION_END = "***e Predicted non-interaction probability for protein pairs.";

bool ToDouble(const std::string& text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end == text.c_str() + text.size();
}

bool ToId(const std::string& text, int& value)
{
    double x = 0.0;
    if (!ToDouble(text, x) || !(x >= 0.0) || x > 2147483647.0 || x != static_cast<double>(static_cast<long long>(x))) {
        return false;
    }
    value = static_cast<int>(x);
    return true;
}

} // namespace

std::map<PairKey, PairPrediction> ReadPredictions(const std::filesystem::path& path)
{
    std::ifstream in(path);
    if (!in) {
        throw ToolError("cannot open " + path.string());
    }
    std::string line;
    std::size_t lineNo = 0;
    bool started = false;
    while (!started && std::getline(in, line)) {
        ++lineNo;
        started = line.compare(0, SECTION_START.size(), SECTION_START) == 0;
    }
    if (!started) {
        throw ToolError(path.string() + ": no predicted non-interaction section");
    }
    std::map<PairKey, PairPrediction> posteriors;
    while (std::getline(in, line)) {
        ++lineNo;
        if (line == SECTION_END) {
            return posteriors;
        }
        // i TAB j TAB Qw,Qc TAB posterior-or-H
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');) {
            f.push_back(field);
        }
        int i = 0;
        int j = 0;
        double posterior = 0.0;
        double prior = 0.0;
        const std::size_t comma = f.size() == 4 ? f[2].find(',') : std::string::npos;
        if (f.size() != 4 || !ToId(f[0], i) || !ToId(f[1], j) || comma == std::string::npos ||
            !ToDouble(f[2].substr(comma + 1), prior) || (f[3] != "H" && !ToDouble(f[3], posterior))) {
            throw ToolError(path.string() + ":" + std::to_string(lineNo) +
                            ": expected protein, protein, two probabilities and a posterior or H");
        }
        posteriors[MakePairKey(i, j)] = {prior, f[3] == "H" ? std::nullopt : std::optional<double>(posterior)};
    }
    throw ToolError(path.string() + ": the predicted non-interaction section does not end");
}

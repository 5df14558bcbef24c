#include "tools/common/RunLog.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tools/common/ToolError.h"

namespace {

const std::string PHASE_BANNER = "****** RunEM ";
const std::string PHASE_SUMMARY = "*** Total # EM round and joint prob:\t";
const std::string POTENTIAL_BANNER = "****** Potential without conditioning ******";
const std::string AFFINITY_START = "***s Motif pair affinity:";
const std::string AFFINITY_END = "***e Motif pair affinity.";

bool StartsWith(const std::string& line, const std::string& prefix)
{
    return line.compare(0, prefix.size(), prefix) == 0;
}

// Splits a line at its tabs.
std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    std::string field;
    while (std::getline(in, field, '\t')) {
        fields.push_back(field);
    }
    return fields;
}

bool ToDouble(const std::string& text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end == text.c_str() + text.size();
}

bool ToInt(const std::string& text, int& value)
{
    double x = 0.0;
    if (!ToDouble(text, x) || x != static_cast<double>(static_cast<long long>(x)) || x < -2147483648.0 ||
        x > 2147483647.0) {
        return false;
    }
    value = static_cast<int>(x);
    return true;
}

} // namespace

RunLog ReadRunLog(const std::filesystem::path& path)
{
    std::ifstream in(path);
    if (!in) {
        throw ToolError("cannot open " + path.string());
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    const auto bad = [&path](std::size_t lineNo, const std::string& what) {
        return ToolError(path.string() + ":" + std::to_string(lineNo + 1) + ": " + what);
    };

    RunLog log;
    std::string label = "of training";
    std::size_t lastSummary = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (StartsWith(line, PHASE_BANNER)) {
            label = line.find("without DDI") != std::string::npos ? "without domain-domain evidence"
                                                                   : "with domain-domain evidence";
        } else if (StartsWith(line, PHASE_SUMMARY)) {
            const std::vector<std::string> f = Fields(line.substr(PHASE_SUMMARY.size()));
            EmPhase phase;
            phase.label = label;
            if (f.size() != 2 || !ToInt(f[0], phase.rounds) || !ToDouble(f[1], phase.logJoint)) {
                throw bad(i, "expected the number of EM rounds and the log joint");
            }
            log.phases.push_back(phase);
            lastSummary = i;
        }
    }
    if (log.phases.empty()) {
        throw ToolError(path.string() + ": no finished EM phase (no line \"" +
                        PHASE_SUMMARY.substr(0, PHASE_SUMMARY.size() - 1) + "\")");
    }

    std::size_t i = lastSummary + 1;
    while (i < lines.size() && lines[i] != POTENTIAL_BANNER) {
        ++i;
    }
    if (i + 1 >= lines.size() || lines[i + 1] != AFFINITY_START) {
        throw ToolError(path.string() + ": no learned affinities after the last EM phase");
    }
    for (i += 2; i < lines.size() && lines[i] != AFFINITY_END; ++i) {
        const std::vector<std::string> f = Fields(lines[i]);
        int m1 = 0;
        int m2 = 0;
        double affinity = 0.0;
        if (f.size() != 3 || !ToInt(f[0], m1) || !ToInt(f[1], m2) || !ToDouble(f[2], affinity)) {
            throw bad(i, "expected motif, motif and affinity");
        }
        log.affinities[MakePairKey(m1, m2)] = affinity;
    }
    if (i == lines.size()) {
        throw ToolError(path.string() + ": the learned affinity section does not end");
    }
    return log;
}

#include "bench/LogPhases.h"

#include <charconv>

namespace {

constexpr std::string_view EM_WITHOUT_DDI = "****** RunEM without DDI";
constexpr std::string_view EM_START = "*** Start of EM, before round 0. Log joint:\t";
constexpr std::string_view EM_END = "*** Total # EM round and joint prob:\t";
constexpr std::string_view DDI_INIT = "****** initializing DDI model";
constexpr std::string_view EM_WITH_DDI = "****** RunEM with DDI";
constexpr std::string_view BEFORE_PERTURBATION = "Joint prob before perturbation:\t";
constexpr std::string_view END_OF_FILE = "*** End of file.";

int LeadingInt(std::string_view text)
{
    int value = -1;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool ended = res.ptr == text.data() + text.size() || *res.ptr == '\t';
    return res.ec == std::errc() && ended ? value : -1;
}

} // namespace

std::string_view CycleMarker(int perType)
{
    switch (perType) {
    case 1:
        return "*** SetNonBind";
    case 2:
        return "*** Likelihood change after forcing a pair of motif types";
    case 3:
        return "*** Non-interaction probability after forcing";
    default:
        return {};
    }
}

LogLine ClassifyLogLine(std::string_view line, int perType)
{
    if (line.starts_with(EM_END)) {
        return {LogEvent::EmEnd, LeadingInt(line.substr(EM_END.size()))};
    }
    const std::string_view cycle = CycleMarker(perType);
    if (!cycle.empty() && line.starts_with(cycle)) {
        return {LogEvent::CycleStart};
    }
    if (line.starts_with(EM_START)) {
        return {LogEvent::EmStart};
    }
    if (line.starts_with(EM_WITHOUT_DDI)) {
        return {LogEvent::EmWithoutDdi};
    }
    if (line.starts_with(EM_WITH_DDI)) {
        return {LogEvent::EmWithDdi};
    }
    if (line.starts_with(DDI_INIT)) {
        return {LogEvent::DdiInit};
    }
    if (line.starts_with(BEFORE_PERTURBATION)) {
        return {LogEvent::BeforePerturbation};
    }
    if (line.starts_with(END_OF_FILE)) {
        return {LogEvent::EndOfFile};
    }
    return {};
}

#include "bench/LogPhases.h"

#include <charconv>

#include "format/CycleLayout.h"
#include "format/LogLabels.h"

namespace {

constexpr std::string_view EM_WITHOUT_DDI = loglabel::EM_WITHOUT_DDI;
constexpr std::string_view EM_START = loglabel::EM_START;
constexpr std::string_view EM_END = loglabel::EM_SUMMARY;
constexpr std::string_view DDI_INIT = loglabel::DDI_INIT;
constexpr std::string_view EM_WITH_DDI = loglabel::EM_WITH_DDI;
constexpr std::string_view BEFORE_PERTURBATION = loglabel::BEFORE_PERTURBATION;
constexpr std::string_view END_OF_FILE = loglabel::END_OF_FILE;

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
    // The wording of the cycle's first label without its column list.
    const CycleLayout* layout = CycleLayoutOf(perType);
    if (layout == nullptr) {
        return {};
    }
    const std::string_view label = layout->lines.front().label;
    return label.substr(0, label.find(" ("));
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

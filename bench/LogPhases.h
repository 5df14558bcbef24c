#pragma once

#include <string_view>

// The lines of a motifbind log that mark where a phase of the run begins or
// ends. Everything before the first EM phase is reading the input.
enum class LogEvent {
    None,
    EmWithoutDdi,       // "****** RunEM without DDI ...": training without DDI evidence starts
    EmStart,            // "*** Start of EM, before round 0. Log joint:\t...": the rounds of an EM phase start
    EmEnd,              // "*** Total # EM round and joint prob:\t<rounds>\t<joint>": an EM phase ends
    DdiInit,            // "****** initializing DDI model ...": the one round that brings DDI evidence in
    EmWithDdi,          // "****** RunEM with DDI ...": training with DDI evidence starts
    BeforePerturbation, // "Joint prob before perturbation:\t...": predictions are written
    CycleStart,         // the first line of one perturbation cycle (depends on -p)
    EndOfFile,          // "*** End of file."
};

struct LogLine {
    LogEvent event = LogEvent::None;
    // Only for EmEnd: the number of EM rounds, -1 when the field is unreadable.
    int rounds = -1;
};

// How the line that begins each perturbation cycle of analysis `perType`
// (the -p value) starts, or an empty view when `perType` runs none.
std::string_view CycleMarker(int perType);

// Classifies one log line (without its line break).
LogLine ClassifyLogLine(std::string_view line, int perType);

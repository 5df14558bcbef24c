#pragma once

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>

// One status line on standard error that updates in place, for a person
// watching a long run. It shows only while standard error is a terminal, so
// logs, pipes and files never see it.
class ProgressLine {
public:
    // On standard error, shown when it is a terminal.
    ProgressLine();
    // On `out`, shown when `show` is set.
    ProgressLine(std::ostream& out, bool show);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    bool Enabled() const { return enabled; }
    // An EM phase: rounds run and the log joint at the last check.
    void Rounds(const char* phase, int rounds, double joint);
    // The perturbation analysis starts now.
    void BeginCycles();
    // Cycles done of total and the time left.
    void Cycles(std::size_t done, std::size_t total);
    // Removes the line; nothing brings it back but the next update.
    void Clear();
    // Takes the line away, so that other text can be written where it
    // stood, and holds it back until Resume: updates meanwhile are kept, not
    // drawn.
    void Suspend();
    // Ends a Suspend: draws the line as it stands now, unless it was
    // cleared.
    void Resume();

private:
    std::ostream& out;
    bool enabled;
    bool shown = false;
    bool held = false; // between Suspend and Resume
    std::string text;  // what the line shows, or would show but for Suspend
    std::chrono::steady_clock::time_point start;
    std::chrono::steady_clock::time_point last;

    void Show(std::string line, bool force);
    void Draw();
    void Erase();
};

#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <sys/types.h>

#include "bench/LogPhases.h"

// One phase line of the log as it arrived.
struct LogMark {
    LogEvent event = LogEvent::None;
    int rounds = -1; // EmEnd only
    double wall = 0; // seconds since the run started
    double cpu = 0;  // the process's CPU seconds at that moment (NaN when unreadable)
};

// Reads a motifbind log from a named pipe on its own thread while the program
// writes it (motifbind flushes it at every phase line), stamps each phase
// line with the steady clock and the process's CPU time, and copies
// everything it reads to a file for the comparison of runs.
//
// Use: construct, fork the program with the pipe as its log, Start(pid), wait
// until the program has exited but before reaping it (so its /proc entry
// stays valid), then Finish().
class LogTimer {
public:
    using Clock = std::chrono::steady_clock;

    LogTimer(std::string fifoPath, std::string copyPath, int perType, Clock::time_point start);
    ~LogTimer();
    LogTimer(const LogTimer&) = delete;
    LogTimer& operator=(const LogTimer&) = delete;

    void Start(pid_t pid);
    // Waits for the reader to see the end of the log. When the program never
    // opened its log, the reader would wait forever, so this opens the pipe
    // for writing itself to release it.
    void Finish();

    const std::vector<LogMark>& Marks() const { return marks_; }
    // Empty when the whole log was read and copied; otherwise what failed.
    const std::string& Failure() const { return failure_; }

private:
    void Read(pid_t pid);
    void Handle(std::string_view line, Clock::time_point when, pid_t pid);

    std::string fifoPath_;
    std::string copyPath_;
    int perType_;
    Clock::time_point start_;
    std::thread thread_;
    std::atomic<bool> opened_{false};
    std::vector<LogMark> marks_;
    std::string failure_;
};

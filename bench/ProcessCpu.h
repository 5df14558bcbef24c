#pragma once

#include <string_view>

#include <sys/types.h>

// CPU time (user + system, all threads) that a running process has used so
// far, from /proc/<pid>/stat, in seconds; NaN when it cannot be read. The
// kernel counts in clock ticks, so the resolution is 1/sysconf(_SC_CLK_TCK)
// (10 ms on most systems).
double ProcessCpuSeconds(pid_t pid);

// The user + system ticks in the text of a /proc/<pid>/stat file; -1 when the
// text is not in that format.
long long StatCpuTicks(std::string_view statText);

#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace testutil {

// Capacity asked for the pipe whose reader goes away, so that the program
// meets the closed pipe after little output.
inline constexpr std::size_t LEAVING_PIPE_SIZE = 4096;

// How a program is started. The defaults are a plain run: argv[0] is the
// path given, the current folder, standard input /dev/null, both outputs
// captured, no limits.
struct RunOptions {
    std::string argv0;               // program name the program sees; empty: its path
    std::string cwd;                 // folder to start in; empty: this one
    std::string stdoutFile;          // standard output into this file (say /dev/full); read back unless under /dev/
    bool closeStdout = false;        // started with standard output closed
    bool closeStderr = false;        // started with standard error closed
    bool stdoutReaderLeaves = false; // standard output a pipe whose reader takes one byte and goes away
    double seconds = 0;              // > 0: killed after this many seconds
    long long fileSize = -1;         // >= 0: largest file the program may write (a write past it fails)
    bool memoryCap = false;          // 4 GiB of address space, so runaway reading fails instead of swapping
};

// How a run ended and what it wrote.
struct RunResult {
    int status = -1; // exit status; -1 when it did not exit (or could not be started)
    bool exited = false;
    int signal = 0;        // the signal that ended it, if one did
    bool timedOut = false; // killed after RunOptions::seconds
    double seconds = 0;    // wall time
    std::string out;       // standard output, when captured or read back
    std::string err;       // standard error, when captured
};

// Runs `exe` with `args` (each word passed as is) and waits for it.
RunResult RunProgram(const std::string& exe, const std::vector<std::string>& args, const RunOptions& o = {});

// One line for a failure message: how the run ended and its first line on
// standard error.
std::string Describe(const RunResult& r);

// `w` quoted for the shell, as one word.
std::string Quote(const std::string& w);

} // namespace testutil

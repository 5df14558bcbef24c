#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

// What to start: argv[0] is the path of the program (not searched in PATH),
// run in folder `cwd` with standard input from /dev/null and standard output
// and error into the given files (created or truncated).
struct ChildLaunch {
    std::vector<std::string> argv;
    std::string cwd;
    std::string stdoutPath = "/dev/null";
    std::string stderrPath = "/dev/null";
};

// How a child ended, from wait4.
struct ChildEnd {
    int status = 0;        // as from wait4
    double cpuSeconds = 0; // user + system, all threads
    double peakMiB = 0;    // largest resident set (ru_maxrss)
};

// A started program. The destructor kills and reaps a child that was never
// reaped, so an error on the way leaves no process behind.
class ChildProcess {
public:
    // Throws ToolError when the program cannot be started (e.g. not found).
    explicit ChildProcess(const ChildLaunch& launch);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }
    // Waits until the child has exited, leaving it unreaped: its /proc entry
    // and pid stay valid until Reap().
    void WaitExited();
    ChildEnd Reap();

private:
    pid_t pid_ = -1;
};

// "exit status N" or "signal N (name)".
std::string DescribeStatus(int status);

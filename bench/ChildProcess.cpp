#include "bench/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tools/toolbox/ToolError.h"

namespace {

// Between fork and exec only async-signal-safe calls: report a failure as
// (step, errno) through the pipe and leave.
[[noreturn]] void ChildFail(int pipeFd, int step)
{
    const int report[2] = {step, errno};
    [[maybe_unused]] const ssize_t n = write(pipeFd, report, sizeof report);
    _exit(127);
}

bool Redirect(const char* path, int flags, int target)
{
    const int fd = open(path, flags, 0644);
    if (fd < 0) {
        return false;
    }
    if (fd != target) {
        if (dup2(fd, target) < 0) {
            return false;
        }
        close(fd);
    }
    return true;
}

const char* const STEPS[] = {"enter folder", "redirect standard input for", "redirect standard output of",
                             "redirect standard error of", "execute"};

} // namespace

ChildProcess::ChildProcess(const ChildLaunch& launch)
{
    if (launch.argv.empty()) {
        throw ToolError("no program to start");
    }
    std::vector<char*> argv;
    for (const std::string& arg : launch.argv) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);

    int reportPipe[2];
    if (pipe2(reportPipe, O_CLOEXEC) != 0) {
        throw ToolError(std::string("cannot create a pipe: ") + std::strerror(errno));
    }
    const pid_t pid = fork();
    if (pid < 0) {
        const int err = errno;
        close(reportPipe[0]);
        close(reportPipe[1]);
        throw ToolError(std::string("cannot fork: ") + std::strerror(err));
    }
    if (pid == 0) {
        close(reportPipe[0]);
        const int out = reportPipe[1];
        if (!launch.cwd.empty() && chdir(launch.cwd.c_str()) != 0) {
            ChildFail(out, 0);
        }
        if (!Redirect("/dev/null", O_RDONLY, STDIN_FILENO)) {
            ChildFail(out, 1);
        }
        if (!Redirect(launch.stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, STDOUT_FILENO)) {
            ChildFail(out, 2);
        }
        if (!Redirect(launch.stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, STDERR_FILENO)) {
            ChildFail(out, 3);
        }
        execv(argv[0], argv.data());
        ChildFail(out, 4);
    }
    pid_ = pid;
    close(reportPipe[1]);
    int report[2] = {0, 0};
    ssize_t got;
    do {
        got = read(reportPipe[0], report, sizeof report);
    } while (got < 0 && errno == EINTR);
    close(reportPipe[0]);
    if (got == static_cast<ssize_t>(sizeof report)) {
        Reap();
        const int step = report[0] >= 0 && report[0] <= 4 ? report[0] : 4;
        const std::string what = step == 0 ? launch.cwd + " for " + launch.argv[0] : launch.argv[0];
        throw ToolError(std::string("cannot ") + STEPS[step] + " " + what + ": " + std::strerror(report[1]));
    }
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
    }
}

void ChildProcess::WaitExited()
{
    siginfo_t info;
    while (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOWAIT) != 0) {
        if (errno != EINTR) {
            throw ToolError(std::string("cannot wait for the child: ") + std::strerror(errno));
        }
    }
}

ChildEnd ChildProcess::Reap()
{
    ChildEnd end;
    struct rusage usage {};
    pid_t got;
    do {
        got = wait4(pid_, &end.status, 0, &usage);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        throw ToolError(std::string("cannot wait for the child: ") + std::strerror(errno));
    }
    pid_ = -1;
    const auto seconds = [](const timeval& tv) { return static_cast<double>(tv.tv_sec) + tv.tv_usec / 1e6; };
    end.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    end.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB on Linux
    return end;
}

std::string DescribeStatus(int status)
{
    if (WIFEXITED(status)) {
        return "exit status " + std::to_string(WEXITSTATUS(status));
    }
    if (WIFSIGNALED(status)) {
        const int sig = WTERMSIG(status);
        const char* name = strsignal(sig);
        return "signal " + std::to_string(sig) + (name ? std::string(" (") + name + ")" : std::string());
    }
    return "status " + std::to_string(status);
}

#include "support/RunProgram.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <sstream>
#include <thread>

#include "support/TempDir.h"

namespace testutil {

namespace {

// Like `| head -c 1`: waits for the first byte, then closes the pipe.
void TakeOneByteAndLeave(int fd)
{
    fcntl(fd, F_SETPIPE_SZ, int(LEAVING_PIPE_SIZE));
    char c;
    while (read(fd, &c, 1) < 0 && errno == EINTR) {
    }
    close(fd);
}

} // namespace

RunResult RunProgram(const std::string& exe, const std::vector<std::string>& args, const RunOptions& o)
{
    TempDir cap;
    // A file named for standard output is read back too, a device is not.
    const bool readOut =
        o.stdoutFile.empty() ? !o.closeStdout && !o.stdoutReaderLeaves : o.stdoutFile.rfind("/dev/", 0) != 0;
    const std::string outPath = o.stdoutFile.empty() ? cap.File("out") : o.stdoutFile;
    const std::string errPath = cap.File("err");
    // Everything the child needs is made before the fork, so that the child
    // only makes system calls.
    std::vector<std::string> words = {o.argv0.empty() ? exe : o.argv0};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    const rlimit size{rlim_t(o.fileSize), rlim_t(o.fileSize)};

    RunResult r;
    int pipeFds[2] = {-1, -1};
    if (o.stdoutReaderLeaves && pipe2(pipeFds, O_CLOEXEC) != 0)
        return r;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        if (o.stdoutReaderLeaves) {
            close(pipeFds[0]);
            close(pipeFds[1]);
        }
        return r;
    }
    if (pid == 0) {
        // The descriptors opened here close at exec; their copies on 0, 1
        // and 2 stay.
        const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
        const int out =
            o.stdoutReaderLeaves ? pipeFds[1] : open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0)
            _exit(126);
        if (!o.cwd.empty() && chdir(o.cwd.c_str()) != 0)
            _exit(126);
        if (o.closeStdout)
            close(1);
        if (o.closeStderr)
            close(2);
        signal(SIGPIPE, SIG_DFL);
        if (o.fileSize >= 0) {
            // A write past the size fails with EFBIG instead of a signal.
            signal(SIGXFSZ, SIG_IGN);
            setrlimit(RLIMIT_FSIZE, &size);
        }
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
        // The sanitizers reserve far more address space than any cap allows.
        const rlimit mem{rlim_t(4) << 30, rlim_t(4) << 30};
        if (o.memoryCap)
            setrlimit(RLIMIT_AS, &mem);
#endif
        execv(exe.c_str(), argv.data());
        _exit(127);
    }
    const auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    if (o.stdoutReaderLeaves) {
        close(pipeFds[1]);
        TakeOneByteAndLeave(pipeFds[0]);
    }
    int rc = 0;
    for (;;) {
        const pid_t w = waitpid(pid, &rc, o.seconds > 0 ? WNOHANG : 0);
        if (w == pid)
            break;
        if (w < 0 && errno != EINTR)
            return r;
        if (o.seconds > 0 && elapsed() > o.seconds) {
            kill(pid, SIGKILL);
            waitpid(pid, &rc, 0);
            r.timedOut = true;
            break;
        }
        if (w == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    r.seconds = elapsed();
    if (!r.timedOut) {
        r.exited = WIFEXITED(rc);
        r.status = r.exited ? WEXITSTATUS(rc) : -1;
        r.signal = WIFSIGNALED(rc) ? WTERMSIG(rc) : 0;
    }
    if (readOut)
        r.out = ReadFile(outPath);
    if (!o.closeStderr)
        r.err = ReadFile(errPath);
    return r;
}

std::string Describe(const RunResult& r)
{
    std::ostringstream s;
    if (r.timedOut)
        s << "killed after " << r.seconds << " s";
    else if (r.exited)
        s << "status " << r.status;
    else
        s << "signal " << r.signal;
    std::string first = r.err.substr(0, r.err.find('\n'));
    if (first.size() > 300)
        first = first.substr(0, 300) + "...";
    s << ", stderr first line: \"" << first << "\"";
    return s.str();
}

std::string Quote(const std::string& w)
{
    std::string q = "'";
    for (char c : w) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

} // namespace testutil

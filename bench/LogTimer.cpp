#include "bench/LogTimer.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include <fcntl.h>
#include <unistd.h>

#include "bench/ProcessCpu.h"

LogTimer::LogTimer(std::string fifoPath, std::string copyPath, int perType, Clock::time_point start)
    : fifoPath_(std::move(fifoPath)), copyPath_(std::move(copyPath)), perType_(perType), start_(start)
{
}

LogTimer::~LogTimer()
{
    if (thread_.joinable()) {
        Finish();
    }
}

void LogTimer::Start(pid_t pid)
{
    thread_ = std::thread([this, pid] { Read(pid); });
}

void LogTimer::Finish()
{
    if (!thread_.joinable()) {
        return;
    }
    // While the reader is in (or about to enter) its open(), a writer
    // releases it, and closing that writer at once gives it the end of the
    // pipe. Non-blocking, so a reader that gave up cannot hang us.
    while (!opened_.load()) {
        const int fd = open(fifoPath_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            close(fd);
            break;
        }
        if (errno != ENXIO) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    thread_.join();
}

void LogTimer::Handle(std::string_view line, Clock::time_point when, pid_t pid)
{
    const LogLine kind = ClassifyLogLine(line, perType_);
    if (kind.event == LogEvent::None) {
        return;
    }
    const double wall = std::chrono::duration<double>(when - start_).count();
    marks_.push_back({kind.event, kind.rounds, wall, ProcessCpuSeconds(pid)});
}

void LogTimer::Read(pid_t pid)
{
    // Blocks until the program opens its log for writing.
    const int fd = open(fifoPath_.c_str(), O_RDONLY | O_CLOEXEC);
    opened_.store(true);
    if (fd < 0) {
        failure_ = "cannot open the named pipe " + fifoPath_ + ": " + std::strerror(errno);
        return;
    }
    std::ofstream copy(copyPath_, std::ios::binary);
    if (!copy) {
        failure_ = "cannot write " + copyPath_;
    }
    std::string pending;
    char buffer[1 << 16];
    Clock::time_point when = Clock::now();
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            failure_ = "cannot read the named pipe " + fifoPath_ + ": " + std::strerror(errno);
            break;
        }
        if (n == 0) {
            break;
        }
        // Every line of one read arrived at the same moment.
        when = Clock::now();
        const auto size = static_cast<std::size_t>(n);
        copy.write(buffer, static_cast<std::streamsize>(size));
        pending.append(buffer, size);
        std::size_t begin = 0;
        for (std::size_t end; (end = pending.find('\n', begin)) != std::string::npos; begin = end + 1) {
            Handle(std::string_view(pending).substr(begin, end - begin), when, pid);
        }
        pending.erase(0, begin);
    }
    if (!pending.empty()) {
        Handle(pending, when, pid);
    }
    close(fd);
    copy.close();
    if (!copy && failure_.empty()) {
        failure_ = "cannot write " + copyPath_;
    }
}

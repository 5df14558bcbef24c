#include "bench/DataScan.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include "tools/toolbox/ToolError.h"

namespace {

void WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        done += static_cast<std::size_t>(n);
    }
}

std::string ReadAll(int fd)
{
    std::string text;
    char buffer[1 << 14];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return text;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

} // namespace

std::string FormatScan(const DataScan& scan)
{
    std::ostringstream out;
    out << scan.observations << ' ' << scan.work.observedPairs << ' ' << scan.work.motifCombinations << ' '
        << scan.work.bindingVariables << ' ' << scan.work.activePairs << ' ' << scan.list.cycles << ' '
        << scan.list.entries.size() << '\n';
    for (const auto& [a, b] : scan.list.entries) {
        out << a << ' ' << b << '\n';
    }
    return out.str();
}

DataScan ParseScan(const std::string& text)
{
    std::istringstream in(text);
    DataScan scan;
    std::size_t entries = 0;
    in >> scan.observations >> scan.work.observedPairs >> scan.work.motifCombinations >> scan.work.bindingVariables >>
        scan.work.activePairs >> scan.list.cycles >> entries;
    for (std::size_t i = 0; in && i < entries; ++i) {
        int a = 0, b = 0;
        in >> a >> b;
        scan.list.entries.emplace_back(a, b);
    }
    if (!in) {
        throw ToolError("the scan of the data set came back incomplete");
    }
    return scan;
}

DataScan ScanDataSet(const std::string& observations, const std::string& proteinMotifs, const std::string& activePairs,
                     int perType, int pertPairs, int pertSize)
{
    int fds[2];
    if (pipe(fds) != 0) {
        throw ToolError(std::string("cannot create a pipe: ") + std::strerror(errno));
    }
    const pid_t pid = fork();
    if (pid < 0) {
        const int err = errno;
        close(fds[0]);
        close(fds[1]);
        throw ToolError(std::string("cannot fork: ") + std::strerror(err));
    }
    if (pid == 0) {
        // This process is single-threaded here, so the copy may do anything.
        close(fds[0]);
        int status = 0;
        std::string text;
        try {
            DataScan scan;
            const InputSet set = ReadInputFiles(observations, proteinMotifs, activePairs);
            scan.observations = set.observations;
            scan.work = CountWork(set);
            scan.list = ChoosePerturbList(set, perType, pertPairs, pertSize);
            text = FormatScan(scan);
        } catch (const std::exception& e) {
            text = e.what();
            status = 1;
        }
        WriteAll(fds[1], text);
        _exit(status);
    }
    close(fds[1]);
    const std::string text = ReadAll(fds[0]);
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw ToolError(text.empty() ? "the scan of the data set failed" : text);
    }
    return ParseScan(text);
}

#include "bench/BenchRun.h"

#include <filesystem>
#include <fstream>

#include "bench/ChildProcess.h"
#include "bench/Fifo.h"
#include "bench/LogTimer.h"

namespace {

// The start of a standard-error file (motifbind puts its "Error: " line
// first), at most `maxLines` lines.
std::string Head(const std::string& path, int maxLines)
{
    std::ifstream in(path);
    std::string text, line;
    int lines = 0, more = 0;
    while (std::getline(in, line)) {
        if (lines < maxLines) {
            text += (lines++ ? "\n" : "") + line;
        } else {
            ++more;
        }
    }
    if (more > 0) {
        text += "\n... (" + std::to_string(more) + " more lines in " + path + ")";
    }
    return text;
}

} // namespace

RunOutcome RunOnce(const RunRequest& request)
{
    const std::string base = request.scratch + "/" + request.name;
    RunOutcome outcome;
    outcome.logCopy = base + ".log";
    outcome.predictions = base + "-predictions.txt";
    const std::string errPath = base + ".stderr";

    const Fifo fifo(base + ".fifo");
    MotifbindCommand command = request.command;
    command.SetPositional(MotifbindCommand::LOG, fifo.Path());
    command.SetPositional(MotifbindCommand::PREDICTIONS, outcome.predictions);

    ChildLaunch launch;
    launch.argv = command.Argv(request.exe, request.leading);
    launch.cwd = request.dataFolder;
    launch.stderrPath = errPath;

    const auto start = LogTimer::Clock::now();
    LogTimer timer(fifo.Path(), outcome.logCopy, request.perType, start);
    ChildProcess child(launch);
    timer.Start(child.Pid());
    child.WaitExited();
    const auto exited = LogTimer::Clock::now();
    timer.Finish();
    const ChildEnd end = child.Reap();

    if (end.status != 0) {
        throw RunFailure(request.name + ": " + request.exe + " ended with " + DescribeStatus(end.status),
                         Head(errPath, 20));
    }
    if (!timer.Failure().empty()) {
        throw ToolError(request.name + ": " + timer.Failure());
    }
    const auto& marks = timer.Marks();
    if (marks.empty() || marks.back().event != LogEvent::EndOfFile) {
        throw RunFailure(request.name + ": the log of " + request.exe + " does not end with \"*** End of file.\"",
                         Head(errPath, 20));
    }
    outcome.measure.marks = marks;
    outcome.measure.wall = std::chrono::duration<double>(exited - start).count();
    outcome.measure.cpu = end.cpuSeconds;
    outcome.measure.peakMiB = end.peakMiB;
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(outcome.predictions, ec);
    outcome.measure.predictionBytes = ec ? -1.0 : static_cast<double>(bytes);
    return outcome;
}

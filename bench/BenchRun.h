#pragma once

#include <string>
#include <vector>

#include "bench/Figures.h"
#include "bench/MotifbindCommand.h"
#include "tools/toolbox/ToolError.h"

// One timed run of a motifbind executable on a data set.
struct RunRequest {
    std::string exe;
    std::vector<std::string> leading; // options put before the command's own
    MotifbindCommand command;         // the data set's command line, with -p, -s and the candidate list set
    int perType = 1;
    std::string dataFolder; // the run's working folder (the command names files relative to it)
    std::string scratch;    // folder under /tmp/ for the run's own files
    std::string name;       // e.g. "new-1": names the run's files
};

struct RunOutcome {
    RunMeasure measure;
    std::string logCopy;     // everything the program wrote to its log
    std::string predictions; // its prediction file
};

// A run that failed; `output` holds the end of the program's standard error.
class RunFailure : public ToolError {
public:
    RunFailure(const std::string& what, std::string output) : ToolError(what), output_(std::move(output)) {}
    const std::string& Output() const { return output_; }

private:
    std::string output_;
};

// Runs the program with a named pipe under `scratch` as its log (positional 7)
// and its prediction file there too, standard output to /dev/null and
// standard error to a file. Throws ToolError when the program cannot be
// started, RunFailure when it fails or its log does not reach "*** End of
// file.".
RunOutcome RunOnce(const RunRequest& request);

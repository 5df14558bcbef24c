#include "bench/DataSet.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include <unistd.h>

#include "bench/ChildProcess.h"
#include "tools/toolbox/ToolError.h"

namespace fs = std::filesystem;

namespace {

// Records how a folder was generated, so a changed setting is noticed.
constexpr const char* STAMP = "bench-setting.txt";

std::string SimOptions(const Setting& setting, unsigned seed)
{
    std::string line = "--seed " + std::to_string(seed);
    for (const std::string& a : setting.simArgs) {
        line += " " + a;
    }
    return line;
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Generate(const Setting& setting, unsigned seed, const fs::path& folder, const std::string& sim,
              std::ostream& progress)
{
    std::error_code ec;
    fs::create_directories(folder.parent_path(), ec);
    if (ec) {
        throw ToolError("cannot create " + folder.parent_path().string() + ": " + ec.message());
    }
    const fs::path partial = folder.string() + ".partial-" + std::to_string(getpid());
    fs::remove_all(partial, ec);
    const fs::path simOut = partial.string() + ".out";
    const fs::path simErr = partial.string() + ".err";

    ChildLaunch launch;
    launch.argv = {sim, "--out", partial.string(), "--seed", std::to_string(seed)};
    launch.argv.insert(launch.argv.end(), setting.simArgs.begin(), setting.simArgs.end());
    launch.stdoutPath = simOut.string();
    launch.stderrPath = simErr.string();
    progress << "Generating the " << setting.name << " data set (seed " << seed << ") in " << folder.string() << " ..."
             << std::endl;
    ChildEnd end;
    std::string output, errors;
    try {
        ChildProcess child(launch);
        child.WaitExited();
        end = child.Reap();
        output = ReadAll(simOut);
        errors = ReadAll(simErr);
    } catch (const ToolError&) {
        fs::remove(simOut, ec);
        fs::remove(simErr, ec);
        throw;
    }
    fs::remove(simOut, ec);
    fs::remove(simErr, ec);
    if (end.status != 0) {
        fs::remove_all(partial, ec);
        while (!errors.empty() && errors.back() == '\n') {
            errors.pop_back();
        }
        throw ToolError(sim + " ended with " + DescribeStatus(end.status) + (errors.empty() ? "" : ": " + errors));
    }
    std::ofstream(partial / STAMP) << SimOptions(setting, seed) << "\n";
    std::ofstream(partial / "simulator-output.txt") << output;
    fs::rename(partial, folder, ec);
    if (ec) {
        fs::remove_all(partial, ec);
        throw ToolError("cannot move the generated set to " + folder.string() + ": " + ec.message());
    }
}

} // namespace

std::string EnsureDataSet(const Setting& setting, unsigned seed, const std::string& root, const std::string& sim,
                          std::ostream& progress)
{
    const fs::path folder = fs::absolute(fs::path(root) / (setting.name + "-" + std::to_string(seed)));
    if (!fs::exists(folder)) {
        Generate(setting, seed, folder, sim, progress);
        return folder.string();
    }
    const fs::path stamp = folder / STAMP;
    if (!fs::exists(stamp)) {
        throw ToolError(folder.string() + " exists but holds no " + STAMP +
                        "; remove it so the benchmark can generate the set");
    }
    std::string recorded = ReadAll(stamp);
    while (!recorded.empty() && (recorded.back() == '\n' || recorded.back() == '\r')) {
        recorded.pop_back();
    }
    if (recorded != SimOptions(setting, seed)) {
        throw ToolError(folder.string() + " was generated with other simulator options (" + recorded +
                        "); remove it so the benchmark can generate the set again");
    }
    return folder.string();
}

std::string ReadCommandLine(const std::string& folder)
{
    const fs::path path = fs::path(folder) / "command.txt";
    std::ifstream in(path);
    std::string line;
    if (!in || !std::getline(in, line)) {
        throw ToolError("cannot read " + path.string());
    }
    return line;
}

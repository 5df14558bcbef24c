#include "tools/toolbox/RunCommand.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "format/InputSetFiles.h"
#include "tools/toolbox/ProgramPath.h"

namespace {

std::string Number(double x)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.15g", x);
    return buf;
}

} // namespace

std::string ShellWord(const std::string& word)
{
    const auto plain = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               std::string_view("_-+=:,./@%").find(c) != std::string_view::npos;
    };
    const auto control = [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7f;
    };
    bool quote = word.empty();
    bool escape = false;
    for (const char c : word) {
        quote = quote || !plain(c);
        escape = escape || control(c);
    }
    if (!quote) {
        return word;
    }
    if (escape) {
        // A line break inside plain quotes would end the line it is shown
        // on: $'...' spells every control byte out.
        std::string q = "$'";
        for (const char c : word) {
            if (control(c)) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\x%02x", static_cast<unsigned>(static_cast<unsigned char>(c)));
                q += buf;
            } else if (c == '\'' || c == '\\') {
                q += std::string("\\") + c;
            } else {
                q += c;
            }
        }
        return q + "'";
    }
    std::string q = "'";
    for (const char c : word) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

std::string RunCommand(const RunSettings& run)
{
    std::string cmd = "motifbind";
    const auto add = [&cmd](const std::string& word) { cmd += " " + word; };
    if (run.estimator != 0) {
        add("-e");
        add(std::to_string(run.estimator));
    }
    if (run.noisePrior != 0.0) {
        add("-b");
        add(Number(run.noisePrior));
    }
    add("-f");
    add(std::to_string(run.proteins));
    add(std::to_string(run.motifs));
    add("-l");
    add(std::to_string(run.leakType));
    add("-p");
    add(std::to_string(run.perType));
    add("-s");
    add(std::to_string(run.pertSize));
    if (run.priorRatio != 1.0) {
        add("-n");
        add(Number(run.priorRatio));
    }
    if (run.ddi) {
        add("-d");
        add(files::DDI_OBSERVATIONS);
        add(files::DDI_MODELS);
        add(files::DDI_OPTIONS);
    }
    add(files::PPI_OBSERVATIONS);
    add(files::PPI_MODELS);
    add(files::PROTEIN_MOTIFS);
    add(files::ACTIVE_PAIRS);
    add(files::INACTIVE_PAIRS);
    add(files::WAITING_PAIRS);
    add(files::LOG);
    add(files::PREDICTIONS);
    add(files::PREDICT_INTERACTION);
    add(files::PREDICT_BINDING);
    add(Number(run.priorPos));
    add(files::PROTEIN_LENGTHS);
    add(std::to_string(run.leakGroup));
    add(files::MOTIF_COVERAGE);
    return cmd + "\n";
}

std::string RunLine(const std::string& outDir, const std::string& motifbindDir)
{
    std::string line = "run: cd " + ShellWord(outDir) + " && ";
    if (!motifbindDir.empty()) {
        line += "PATH=" + ShellWord(motifbindDir) + ":$PATH ";
    }
    return line + "$(cat " + files::COMMAND + ")\n";
}

std::string RunLine(const std::string& outDir)
{
    namespace fs = std::filesystem;
    const fs::path own = MotifbindBeside(SelfExe());
    if (own.empty()) {
        return RunLine(outDir, "");
    }
    const char* path = std::getenv("PATH");
    const fs::path found = FindOnPath("motifbind", path ? path : "");
    std::error_code ec;
    if (!found.empty() && fs::equivalent(found, own, ec)) {
        return RunLine(outDir, "");
    }
    return RunLine(outDir, own.parent_path().string());
}

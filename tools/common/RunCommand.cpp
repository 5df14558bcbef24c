#include "tools/common/RunCommand.h"

#include <cstdio>

#include "tools/common/FileNames.h"

namespace {

std::string Number(double x)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.15g", x);
    return buf;
}

} // namespace

std::string RunCommand(const RunSettings& run)
{
    std::string cmd = "motifbind";
    const auto add = [&cmd](const std::string& word) { cmd += " " + word; };
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

#include "tools/sim/RunCommand.h"

#include <cstdio>

#include "tools/sim/FileNames.h"

namespace {

std::string Number(double x)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.15g", x);
    return buf;
}

} // namespace

std::string RunCommand(const SimConfig& config)
{
    std::string cmd = "motifbind";
    const auto add = [&cmd](const std::string& word) { cmd += " " + word; };
    add("-f");
    add(std::to_string(config.proteins));
    add(std::to_string(config.motifs));
    add("-l");
    add(std::to_string(config.leakType));
    add("-p");
    add(std::to_string(config.perType));
    add("-s");
    add(std::to_string(config.pertSize));
    if (config.priorRatio != 1.0) {
        add("-n");
        add(Number(config.priorRatio));
    }
    if (config.ddi == 1) {
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
    add(Number(config.priorPos));
    add(files::PROTEIN_LENGTHS);
    add(std::to_string(config.leakGroup));
    add(files::MOTIF_COVERAGE);
    return cmd + "\n";
}

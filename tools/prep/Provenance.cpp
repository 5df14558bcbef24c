#include "tools/prep/Provenance.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "motifbind/Version.h"
#include "tools/prep/Sha256.h"
#include "tools/toolbox/RunCommand.h"

namespace {

std::string InputLine(const std::string& option, const std::string& path)
{
    std::error_code ec;
    const bool regular = std::filesystem::is_regular_file(path, ec);
    const std::string digest = regular ? Sha256OfFile(path) : "not a regular file, not hashed";
    return "input " + option + ": " + digest + "  " + ShellWord(path) + "\n";
}

} // namespace

std::string ProvenanceText(const std::vector<std::string>& args, const PrepConfig& c)
{
    std::string s = std::string("made by: motifbind-prep ") + MOTIFBIND_VERSION + "\n";
    s += "command: motifbind-prep";
    for (const std::string& a : args) {
        s += ' ';
        s += ShellWord(a);
    }
    s += "\n";
    s += "seed: " + std::to_string(c.seed) + "\n";
    std::vector<std::pair<std::string, std::string>> inputs;
    for (const std::string& f : c.interactionFiles) {
        inputs.emplace_back("--interactions", f);
    }
    for (const std::string& f : c.domainFiles) {
        inputs.emplace_back("--domains", f);
    }
    const std::pair<const char*, const std::string*> single[] = {
        {"--fasta", &c.fastaFile}, {"--family-names", &c.familyNamesFile}, {"--negatives", &c.negativeFile},
        {"--ddi", &c.ddiFile},     {"--predict", &c.predictFile},
    };
    for (const auto& [option, path] : single) {
        if (!path->empty()) {
            inputs.emplace_back(option, *path);
        }
    }
    for (const auto& [option, path] : inputs) {
        s += InputLine(option, path);
    }
    return s;
}

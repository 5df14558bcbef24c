#include "bench/MotifbindCommand.h"

#include <sstream>

#include "tools/toolbox/ToolError.h"

namespace {

// Values each of motifbind's options takes; -1 for an unknown option.
int Arity(const std::string& flag)
{
    if (flag == "-f") {
        return 2;
    }
    if (flag == "-d") {
        return 3;
    }
    if (flag == "-j") {
        return 2;
    }
    if (flag == "-l" || flag == "-p" || flag == "-n" || flag == "-s" || flag == "-t" || flag == "-e" || flag == "-b") {
        return 1;
    }
    return -1;
}

} // namespace

MotifbindCommand MotifbindCommand::Parse(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) {
        words.push_back(w);
    }
    if (words.empty() || words[0] != "motifbind") {
        throw ToolError("the command line does not start with the word motifbind");
    }
    MotifbindCommand cmd;
    std::size_t i = 1;
    while (i < words.size() && words[i].size() > 1 && words[i][0] == '-') {
        const int n = Arity(words[i]);
        if (n < 0) {
            throw ToolError("the command line has an unknown option " + words[i]);
        }
        if (i + static_cast<std::size_t>(n) >= words.size()) {
            throw ToolError("the command line's option " + words[i] + " lacks its values");
        }
        Opt opt{words[i], {}};
        for (int k = 1; k <= n; ++k) {
            opt.values.push_back(words[i + static_cast<std::size_t>(k)]);
        }
        cmd.options_.push_back(opt);
        i += static_cast<std::size_t>(n) + 1;
    }
    cmd.positionals_.assign(words.begin() + static_cast<std::ptrdiff_t>(i), words.end());
    if (cmd.positionals_.size() != POSITIONALS) {
        throw ToolError("the command line has " + std::to_string(cmd.positionals_.size()) +
                        " positional arguments; expected " + std::to_string(POSITIONALS));
    }
    return cmd;
}

std::vector<std::string> MotifbindCommand::Option(const std::string& flag) const
{
    for (const Opt& opt : options_) {
        if (opt.flag == flag) {
            return opt.values;
        }
    }
    return {};
}

void MotifbindCommand::SetOption(const std::string& flag, const std::vector<std::string>& values)
{
    for (Opt& opt : options_) {
        if (opt.flag == flag) {
            opt.values = values;
            return;
        }
    }
    options_.push_back({flag, values});
}

std::vector<std::string> MotifbindCommand::Argv(const std::string& exe, const std::vector<std::string>& leading) const
{
    std::vector<std::string> argv{exe};
    argv.insert(argv.end(), leading.begin(), leading.end());
    for (const Opt& opt : options_) {
        argv.push_back(opt.flag);
        argv.insert(argv.end(), opt.values.begin(), opt.values.end());
    }
    argv.insert(argv.end(), positionals_.begin(), positionals_.end());
    return argv;
}

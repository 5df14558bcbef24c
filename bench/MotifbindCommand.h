#pragma once

#include <string>
#include <vector>

// A motifbind command line as a data set's command.txt holds it (the word
// motifbind, options, the fourteen positional arguments), taken apart so a
// run can change options and the files it writes.
class MotifbindCommand {
public:
    // Positional arguments the benchmark reads or replaces (0-based).
    static constexpr int OBSERVATIONS = 0;
    static constexpr int PROTEIN_MOTIFS = 2;
    static constexpr int ACTIVE_PAIRS = 3;
    static constexpr int LOG = 6;
    static constexpr int PREDICTIONS = 7;
    static constexpr int PREDICT_PAIRS = 8;
    static constexpr int BINDING_PAIRS = 9;
    static constexpr int POSITIONALS = 14;

    // Throws ToolError for a line that does not start with "motifbind", an
    // unknown option, an option cut short or a wrong number of positionals.
    static MotifbindCommand Parse(const std::string& line);

    // The values of option `flag` (e.g. "-f"); empty when it is not given.
    std::vector<std::string> Option(const std::string& flag) const;
    // Replaces the option's values, or appends the option.
    void SetOption(const std::string& flag, const std::vector<std::string>& values);

    const std::string& Positional(int index) const { return positionals_.at(static_cast<std::size_t>(index)); }
    void SetPositional(int index, std::string value)
    {
        positionals_.at(static_cast<std::size_t>(index)) = std::move(value);
    }

    // `exe`, then `leading` (options given first, e.g. -t 2), then the options
    // and positional arguments of this command.
    std::vector<std::string> Argv(const std::string& exe, const std::vector<std::string>& leading) const;

private:
    struct Opt {
        std::string flag;
        std::vector<std::string> values;
    };
    std::vector<Opt> options_;
    std::vector<std::string> positionals_;
};

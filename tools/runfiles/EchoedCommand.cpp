#include "tools/runfiles/EchoedCommand.h"

#include <algorithm>
#include <sstream>

namespace {

// How many words each leading option of motifbind takes. -e and -b change
// what a run learns and are echoed; -t and -j are left out of the echo but
// known here all the same.
const std::map<std::string, std::size_t> ARITY{{"-f", 2}, {"-l", 1}, {"-p", 1}, {"-d", 3}, {"-n", 1},
                                               {"-s", 1}, {"-e", 1}, {"-b", 1}, {"-t", 1}, {"-j", 2}};

} // namespace

EchoedCommand SplitCommandLine(const std::string& commandLine)
{
    std::istringstream in(commandLine);
    std::vector<std::string> words;
    for (std::string w; in >> w;) {
        words.push_back(w);
    }
    EchoedCommand c;
    std::size_t i = 1; // the program name
    while (i < words.size()) {
        const auto it = ARITY.find(words[i]);
        if (it == ARITY.end()) {
            break;
        }
        const std::size_t end = std::min(words.size(), i + 1 + it->second);
        c.options[words[i]] =
            std::vector<std::string>(words.begin() + static_cast<long>(i) + 1, words.begin() + static_cast<long>(end));
        i += 1 + it->second;
    }
    if (i < words.size()) {
        c.positionals.assign(words.begin() + static_cast<long>(i), words.end());
    }
    return c;
}

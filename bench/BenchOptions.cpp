#include "bench/BenchOptions.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <filesystem>
#include <sstream>

#include "bench/BenchError.h"
#include "bench/Settings.h"

namespace {

int ParseInt(const std::string& name, const std::string& text, int min)
{
    int value = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || res.ec != std::errc() || res.ptr != text.data() + text.size() || value < min) {
        throw BenchError("--" + name + " expects an integer of at least " + std::to_string(min) + ", got '" + text +
                         "'");
    }
    return value;
}

std::vector<std::string> Words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) {
        words.push_back(w);
    }
    return words;
}

std::string Absolute(const std::string& path)
{
    return path.empty() ? path : std::filesystem::absolute(path).lexically_normal().string();
}

} // namespace

BenchOptions ParseBenchOptions(const std::vector<std::string>& args, const BuildPaths& paths)
{
    BenchOptions o;
    o.dataRoot = paths.dataRoot;
    o.sim = paths.sim;
    o.exe = paths.motifbind;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        if (name == "--help" || name == "-h") {
            o.help = true;
            continue;
        }
        if (!name.starts_with("--")) {
            throw BenchError("unexpected argument '" + name + "'; options start with --, see --help");
        }
        name = name.substr(2);
        std::string value;
        bool hasValue = false;
        if (const std::size_t eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        static const char* const WITH_VALUE[] = {"setting", "seed",     "data",     "sim",        "exe",
                                                 "vs",      "runs",     "threads",  "new-args",   "old-args",
                                                 "pertype", "pert-pairs", "pertsize"};
        const bool known = std::find(std::begin(WITH_VALUE), std::end(WITH_VALUE), name) != std::end(WITH_VALUE);
        if (name != "keep" && !known) {
            throw BenchError("unknown option --" + name + "; see --help");
        }
        if (name == "keep") {
            if (hasValue) {
                throw BenchError("--keep takes no value");
            }
            o.keep = true;
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= args.size()) {
                throw BenchError("--" + name + " needs a value");
            }
            value = args[++i];
        }
        if (name == "setting") {
            FindSetting(value);
            o.setting = value;
        } else if (name == "seed") {
            o.seed = static_cast<unsigned>(ParseInt(name, value, 0));
        } else if (name == "data") {
            o.dataRoot = value;
        } else if (name == "sim") {
            o.sim = value;
        } else if (name == "exe") {
            o.exe = value;
        } else if (name == "vs") {
            o.vs = value;
        } else if (name == "runs") {
            o.runs = ParseInt(name, value, 1);
        } else if (name == "threads") {
            o.threads = ParseInt(name, value, 1);
        } else if (name == "new-args") {
            o.newArgs = Words(value);
        } else if (name == "old-args") {
            o.oldArgs = Words(value);
        } else if (name == "pertype") {
            o.perType = ParseInt(name, value, 0);
            if (o.perType > 3) {
                throw BenchError("--pertype expects 0, 1, 2 or 3, got '" + value + "'");
            }
        } else if (name == "pert-pairs") {
            o.pertPairs = ParseInt(name, value, 1);
        } else if (name == "pertsize") {
            o.pertSize = ParseInt(name, value, -1);
        }
    }
    if (!o.help && o.exe.empty()) {
        throw BenchError("no executable to time; give --exe");
    }
    if (o.vs.empty() && !o.oldArgs.empty()) {
        throw BenchError("--old-args needs --vs");
    }
    o.dataRoot = Absolute(o.dataRoot);
    o.sim = Absolute(o.sim);
    o.exe = Absolute(o.exe);
    o.vs = Absolute(o.vs);
    return o;
}

std::string BenchHelp(const BuildPaths& paths)
{
    std::ostringstream h;
    h << "motifbind-bench: times motifbind executables phase by phase on a simulated data set.\n"
         "\n"
         "Usage: motifbind-bench [--setting quick|proteome|all-pairs] [--exe NEW] [--vs OLD] [--runs N] [options]\n"
         "Every option also accepts --name=value. Errors print one line starting with \"Error: \" and exit 1.\n"
         "\n"
         "Data:\n"
         "  --setting NAME     data-set size (default: quick):\n";
    for (const Setting& s : AllSettings()) {
        h << "                     " << s.name << ": " << s.description << "\n";
    }
    h << "  --seed N           simulator seed (default: 1)\n"
         "  --data DIR         folder of generated sets, one <setting>-<seed> folder each; a set found there is\n"
         "                     reused (default: "
      << paths.dataRoot
      << ")\n"
         "  --sim PATH         motifbind-sim that generates the sets (default: "
      << paths.sim
      << ")\n"
         "\n"
         "Executables (each run gets the data set's command line with its own log, prediction file and\n"
         "perturbation list):\n"
         "  --exe NEW          the executable to time, called \"new\" (default: "
      << paths.motifbind
      << ")\n"
         "  --vs OLD           a second executable, \"old\", timed on the same data; the table then gives\n"
         "                     old/new for each time, and both sides' logs and prediction files are compared\n"
         "  --runs N           runs of each executable, alternating new, old, new, old, ...; the table\n"
         "                     shows medians (default: 1)\n"
         "  --threads T        put -t T before the new executable's options (the new executable only; give\n"
         "                     the old one -t with --old-args)\n"
         "  --new-args \"A B\"   more options put first on the new executable's command line\n"
         "  --old-args \"A B\"   the same for the old executable\n"
         "\n"
         "Perturbation phase (the benchmark writes the candidate list, positional argument 10, itself):\n"
         "  --pertype P        -p: 1 (default), 2 or 3; 0 runs no perturbation analysis\n"
         "  --pert-pairs K     candidates in the list: the first K observed protein pairs that give a cycle\n"
         "                     (with -p 2 the first K active motif pairs) (default: ";
    for (const Setting& s : AllSettings()) {
        h << s.name << " " << s.pertPairs << (&s == &AllSettings().back() ? ")\n" : ", ");
    }
    h << "  --pertsize S       -s: perturb only motifs with ids below S; -1 for no bound (default: ";
    for (const Setting& s : AllSettings()) {
        h << s.name << " " << s.pertSize << (&s == &AllSettings().back() ? ")\n" : ", ");
    }
    h << "\n"
         "Output:\n"
         "  --keep             keep the run folder under /tmp (log copies, prediction files, standard error)\n"
         "  --help             print this text and exit\n"
         "\n"
         "Progress lines come first, then a Markdown report: the data set's counts, one table of figures\n"
         "(see bench/README.md), and whether the logs and prediction files of all runs are identical.\n";
    return h.str();
}

#include "bench/BenchOptions.h"

#include <filesystem>
#include <limits>
#include <sstream>

#include "bench/Settings.h"
#include "tools/toolbox/Cli.h"
#include "tools/toolbox/ToolError.h"

namespace {

constexpr int MOST = std::numeric_limits<int>::max();

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

// One of the settings FindSetting knows.
CLI::Validator KnownSetting()
{
    std::string names;
    for (const Setting& s : AllSettings()) {
        names += (names.empty() ? "" : "|") + s.name;
    }
    return CLI::Validator(
        [](std::string& name) -> std::string {
            try {
                FindSetting(name);
            } catch (const ToolError& e) {
                return e.what();
            }
            return "";
        },
        names);
}

// "(default: quick 4, proteome 8)" for a per-setting default.
std::string SettingDefaults(int Setting::*field)
{
    std::string s;
    for (const Setting& setting : AllSettings()) {
        s += (s.empty() ? "" : ", ") + setting.name + " " + std::to_string(setting.*field);
    }
    return " (default: " + s + ")";
}

} // namespace

std::optional<BenchOptions> ParseBenchOptions(const std::vector<std::string>& args, const BuildPaths& paths,
                                              std::ostream& out)
{
    BenchOptions o;
    o.dataRoot = paths.dataRoot;
    o.sim = paths.sim;
    o.exe = paths.motifbind;
    std::string newArgs;
    std::string oldArgs;

    CLI::App app("Times motifbind executables phase by phase on a simulated data set.", "motifbind-bench");
    app.footer(
        "Progress lines come first, then a Markdown report: the data set's counts, one table of figures "
        "(see bench/README.md), and whether the logs and prediction files of all runs are identical.");

    const std::string data = "Data";
    std::string sizes = "data-set size; ";
    for (const Setting& s : AllSettings()) {
        sizes += s.name + ": " + s.description + (&s == &AllSettings().back() ? "" : "; ");
    }
    app.add_option("--setting", o.setting, sizes)->check(KnownSetting())->capture_default_str()->group(data);
    app.add_option("--seed", o.seed, "simulator seed")
        ->check(IntegerIn<unsigned>(0, MOST))
        ->capture_default_str()
        ->group(data);
    app.add_option("--data", o.dataRoot,
                   "folder of generated sets, one <setting>-<seed> folder each; a set found "
                   "there is reused")
        ->type_name("DIR")
        ->capture_default_str()
        ->group(data);
    app.add_option("--sim", o.sim, "motifbind-sim that generates the sets")
        ->type_name("PATH")
        ->capture_default_str()
        ->group(data);

    const std::string exes =
        "Executables (each run gets the data set's command line with its own log, prediction "
        "file and perturbation list)";
    app.add_option("--exe", o.exe, "the executable to time, called \"new\"")
        ->type_name("NEW")
        ->capture_default_str()
        ->group(exes);
    app.add_option("--vs", o.vs,
                   "a second executable, \"old\", timed on the same data; the table then gives "
                   "old/new for each time, and both sides' logs and prediction files are compared")
        ->type_name("OLD")
        ->group(exes);
    app.add_option("--runs", o.runs,
                   "runs of each executable, alternating new, old, new, old, ...; the table "
                   "shows medians")
        ->check(IntegerIn(1, MOST))
        ->capture_default_str()
        ->group(exes);
    app.add_option("--threads", o.threads,
                   "put -t T before the new executable's options (the new executable "
                   "only; give the old one -t with --old-args)")
        ->type_name("T")
        ->check(IntegerIn(1, MOST))
        ->group(exes);
    app.add_option("--new-args", newArgs, "more options put first on the new executable's command line")
        ->type_name("\"A B\"")
        ->group(exes);
    app.add_option("--old-args", oldArgs, "the same for the old executable")->type_name("\"A B\"")->group(exes);

    const std::string pert =
        "Perturbation phase (the benchmark writes the candidate list, positional argument 10, "
        "itself)";
    app.add_option("--pertype", o.perType, "-p: 1, 2 or 3; 0 runs no perturbation analysis")
        ->type_name("P")
        ->check(IntegerIn(0, 3))
        ->capture_default_str()
        ->group(pert);
    app.add_option("--pert-pairs", o.pertPairs,
                   "candidates in the list: the first K observed protein pairs that give a cycle (with -p 2 the "
                   "first K active motif pairs)" +
                       SettingDefaults(&Setting::pertPairs))
        ->type_name("K")
        ->check(IntegerIn(1, MOST))
        ->group(pert);
    app.add_option("--pertsize", o.pertSize,
                   "-s: perturb only motifs with ids below S; -1 for no bound" + SettingDefaults(&Setting::pertSize))
        ->type_name("S")
        ->check(IntegerIn(-1, MOST))
        ->group(pert);

    app.add_flag("--keep", o.keep, "keep the run folder under /tmp (log copies, prediction files, standard error)")
        ->group("Output");

    if (!ParseArgs(app, args, out)) {
        return std::nullopt;
    }
    o.newArgs = Words(newArgs);
    o.oldArgs = Words(oldArgs);
    if (o.exe.empty()) {
        throw ToolError("no executable to time; give --exe");
    }
    if (o.vs.empty() && !o.oldArgs.empty()) {
        throw ToolError("--old-args needs --vs");
    }
    o.dataRoot = Absolute(o.dataRoot);
    o.sim = Absolute(o.sim);
    o.exe = Absolute(o.exe);
    o.vs = Absolute(o.vs);
    return o;
}

#include "tools/sim/SimConfig.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>

#include "tools/sim/SimError.h"

namespace {

// Identifiers are keyed by L*(L+1)/2 + S in 32-bit signed arithmetic, which
// holds for ids up to 46339.
constexpr int MAX_IDS = 46340;
// Keeps the tested pairs (and their observations) within memory and time.
constexpr long long MAX_PAIRS = 20000000;

std::string FormatDefault(double x)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", x);
    return buf;
}

struct Param {
    std::string group;
    std::string name;
    std::string meta;
    std::string help;
    std::function<void(SimConfig&, const std::string&)> set;
    std::function<std::string(const SimConfig&)> show;
};

[[noreturn]] void BadValue(const std::string& name, const std::string& expected, const std::string& text)
{
    throw SimError("--" + name + " expects " + expected + ", got '" + text + "'");
}

template <typename T>
bool ParseInteger(const std::string& text, T& value)
{
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto res = std::from_chars(first, last, value);
    return !text.empty() && res.ec == std::errc() && res.ptr == last;
}

bool ParseDouble(const std::string& text, double& value)
{
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
}

template <typename T>
Param IntegerParam(std::string group, std::string name, T SimConfig::*member, T lo, T hi, std::string help)
{
    Param p;
    p.group = std::move(group);
    p.name = name;
    p.meta = "N";
    p.help = std::move(help);
    p.set = [name, member, lo, hi](SimConfig& c, const std::string& text) {
        T value{};
        if (!ParseInteger(text, value) || value < lo || value > hi) {
            BadValue(name, "an integer from " + std::to_string(lo) + " to " + std::to_string(hi), text);
        }
        c.*member = value;
    };
    p.show = [member](const SimConfig& c) { return std::to_string(c.*member); };
    return p;
}

// A real number in the interval from lo to hi; the flags say whether an end
// itself is allowed.
Param RealParam(std::string group, std::string name, std::string meta, double SimConfig::*member, double lo,
                bool loIncl, double hi, bool hiIncl, std::string help)
{
    Param p;
    p.group = std::move(group);
    p.name = name;
    p.meta = std::move(meta);
    p.help = std::move(help);
    p.set = [name, member, lo, loIncl, hi, hiIncl](SimConfig& c, const std::string& text) {
        double value = 0.0;
        if (!ParseDouble(text, value) || (loIncl ? value < lo : value <= lo) ||
            (hiIncl ? value > hi : value >= hi)) {
            std::string range;
            if (std::isinf(hi)) {
                range = loIncl ? "a number of at least " + FormatDefault(lo)
                               : "a number greater than " + FormatDefault(lo);
            } else {
                range = std::string("a number in ") + (loIncl ? "[" : "(") + FormatDefault(lo) + ", " +
                        FormatDefault(hi) + (hiIncl ? "]" : ")");
            }
            BadValue(name, range, text);
        }
        c.*member = value;
    };
    p.show = [member](const SimConfig& c) { return FormatDefault(c.*member); };
    return p;
}

Param Fraction(std::string group, std::string name, double SimConfig::*member, std::string help)
{
    return RealParam(std::move(group), std::move(name), "F", member, 0.0, true, 1.0, true, std::move(help));
}

const std::vector<Param>& Params()
{
    const double INF = std::numeric_limits<double>::infinity();
    static const std::vector<Param> params = [INF] {
        std::vector<Param> v;
        const std::string out = "Output";
        Param dir;
        dir.group = out;
        dir.name = "out";
        dir.meta = "DIR";
        dir.help = "folder for the generated files; created when missing, refused when it already holds files";
        dir.set = [](SimConfig& c, const std::string& text) {
            if (text.empty()) {
                BadValue("out", "a folder name", text);
            }
            c.outDir = text;
        };
        dir.show = [](const SimConfig&) { return std::string("none, the option is required"); };
        v.push_back(dir);
        v.push_back(IntegerParam<std::uint64_t>(out, "seed", &SimConfig::seed, 0,
                                                std::numeric_limits<std::uint64_t>::max(),
                                                "seed of the random generator; the same seed gives byte-identical files"));

        const std::string prot = "Proteins and motifs";
        v.push_back(IntegerParam(prot, "proteins", &SimConfig::proteins, 1, MAX_IDS, "number of proteins, ids 0 .. N-1"));
        v.push_back(IntegerParam(prot, "motifs", &SimConfig::motifs, 1, MAX_IDS,
                                 "number of motif families, ids 0 .. N-1; low ids are the common families"));
        v.push_back(Fraction(prot, "zero-motif-frac", &SimConfig::zeroMotifFrac, "fraction of proteins without any motif"));
        v.push_back(RealParam(prot, "motif-tail", "A", &SimConfig::motifTail, 0.0, false, 10.0, true,
                              "a protein with motifs carries k families with probability ~ k^-A"));
        v.push_back(IntegerParam(prot, "max-motifs", &SimConfig::maxMotifs, 1, 1000,
                                 "most motif families on one protein (never more than --motifs)"));
        v.push_back(RealParam(prot, "motif-skew", "S", &SimConfig::motifSkew, 0.0, true, 5.0, true,
                              "family m is chosen with weight (m+1)^-S; 0 makes all families equally common"));
        v.push_back(RealParam(prot, "repeat-prob", "P", &SimConfig::repeatProb, 0.0, true, 0.9, true,
                              "chance of one more copy of a motif on the same protein (up to 4 copies); copies add up their lengths"));

        const std::string act = "Active motif pairs";
        v.push_back(IntegerParam(act, "active-pairs", &SimConfig::activePairs, -1LL, std::numeric_limits<long long>::max(),
                                 "number of active motif pairs; -1 means as many as there are motifs"));
        v.push_back(Fraction(act, "self-motif-frac", &SimConfig::selfMotifFrac,
                             "fraction of active pairs that pair a motif with itself (adjusted when one kind runs out)"));
        v.push_back(Fraction(act, "strong-frac", &SimConfig::strongFrac,
                             "fraction of strong pairs, affinity uniform in [0.3, 0.9]; the others are weak, log-uniform in [0.005, 0.05]"));

        const std::string leak = "Leak";
        v.push_back(IntegerParam(leak, "leak-type", &SimConfig::leakType, 0, 2,
                                 "0: one leak variable per pair; 1: square-root rule on the non-motif residue pairs; 2: no leak variable"));
        v.push_back(IntegerParam(leak, "leak-group", &SimConfig::leakGroup, 1, std::numeric_limits<int>::max(),
                                 "non-motif amino-acid pairs grouped into one leak variable (leak type 1)"));
        Param lp = RealParam(leak, "leak", "P", &SimConfig::leak, 0.0, true, 1.0, false,
                             "probability that one leak variable fires");
        lp.show = [](const SimConfig& c) {
            return c.leak < 0 ? std::string("0.01 with leak type 0, 0.001 with type 1, 0 with type 2")
                              : FormatDefault(c.leak);
        };
        v.push_back(lp);

        const std::string test = "Tested protein pairs";
        v.push_back(IntegerParam(test, "pairs", &SimConfig::pairs, 1LL, MAX_PAIRS, "number of tested protein pairs"));
        v.push_back(Fraction(test, "self-frac", &SimConfig::selfFrac,
                             "fraction of tested pairs that pair a protein with itself (homodimers)"));
        v.push_back(Fraction(test, "enrich", &SimConfig::enrich,
                             "fraction of tested pairs drawn among pairs that carry an active motif pair; the rest are uniform"));

        const std::string obs = "Observations (a pair that draws none gets one binary assay)";
        v.push_back(Fraction(obs, "binary-frac", &SimConfig::binaryFrac, "fraction of tested pairs measured by the binary assay"));
        v.push_back(RealParam(obs, "fpr", "F", &SimConfig::fpr, 0.0, true, 1.0, false, "false-positive rate of the binary assay"));
        v.push_back(RealParam(obs, "fnr", "F", &SimConfig::fnr, 0.0, true, 1.0, false, "false-negative rate of the binary assay"));
        v.push_back(RealParam(obs, "replicate-prob", "P", &SimConfig::replicateProb, 0.0, true, 0.9, true,
                              "chance of one more replicate of the binary assay (up to 5 per pair)"));
        v.push_back(Fraction(obs, "score-frac", &SimConfig::scoreFrac, "fraction of tested pairs with a continuous score"));
        v.push_back(RealParam(obs, "score-mean0", "X", &SimConfig::scoreMean0, -1e6, true, 1e6, true,
                              "mean score of non-interacting pairs"));
        v.push_back(RealParam(obs, "score-mean1", "X", &SimConfig::scoreMean1, -1e6, true, 1e6, true,
                              "mean score of interacting pairs"));
        v.push_back(RealParam(obs, "score-var", "V", &SimConfig::scoreVar, 0.0, false, 1e6, true,
                              "variance of the score in both states"));
        v.push_back(Fraction(obs, "control-frac", &SimConfig::controlFrac,
                             "fraction of tested pairs with a noise-free control (model ID -1 for both states)"));

        const std::string ddi = "Domain-domain evidence";
        v.push_back(IntegerParam(ddi, "ddi", &SimConfig::ddi, 0, 1, "1 writes the three domain-domain files and passes -d; 0 leaves them out"));
        v.push_back(Fraction(ddi, "ddi-cover", &SimConfig::ddiCover,
                             "fraction of motif families, lowest ids first, that the domain-domain database covers (raised if it covers no active pair)"));
        v.push_back(RealParam(ddi, "ddi-sens", "F", &SimConfig::ddiSens, 0.0, false, 1.0, true,
                              "chance that a binding motif pair is reported"));
        v.push_back(RealParam(ddi, "ddi-fpr", "F", &SimConfig::ddiFpr, 0.0, true, 1.0, false,
                              "chance that a non-binding motif pair is reported"));

        const std::string run = "Prediction lists and command line";
        v.push_back(IntegerParam(run, "predict-extra", &SimConfig::predictExtra, 0LL, MAX_PAIRS,
                                 "untested protein pairs added to the interaction prediction list (fewer when not that many remain)"));
        v.push_back(IntegerParam(run, "bind-pairs", &SimConfig::bindPairs, 0LL, MAX_PAIRS,
                                 "most entries of the binding prediction list, which is also the perturbation work list"));
        v.push_back(IntegerParam(run, "pertype", &SimConfig::perType, 0, 3,
                                 "perturbation analysis (-p): 1, 2 or 3; 0 runs none. With 2 the binding list holds motif pairs"));
        v.push_back(IntegerParam(run, "pertsize", &SimConfig::pertSize, -1, MAX_IDS,
                                 "perturb only motifs with id below this bound (-s); -1 means no bound"));
        v.push_back(RealParam(run, "prior-pos", "A", &SimConfig::priorPos, 0.0, false, INF, false,
                              "Dirichlet prior count Pos"));
        v.push_back(RealParam(run, "prior-ratio", "R", &SimConfig::priorRatio, 0.0, false, INF, false,
                              "Dirichlet prior Neg / Pos (-n, written only when it is not 1)"));
        v.push_back(RealParam(run, "init-affinity", "X", &SimConfig::initAffinity, 0.0, false, 1.0, false,
                              "initial affinity written for every active motif pair"));
        return v;
    }();
    return params;
}

const Param* FindParam(const std::string& name)
{
    for (const Param& p : Params()) {
        if (p.name == name) {
            return &p;
        }
    }
    return nullptr;
}

long long SelfPairsWithin(long long n)
{
    return n;
}

long long DistinctPairsWithin(long long n)
{
    return n * (n - 1) / 2;
}

} // namespace

double SimConfig::LeakProbability() const
{
    if (leak >= 0.0) {
        return leak;
    }
    if (leakType == 0) {
        return 0.01;
    }
    if (leakType == 1) {
        return 0.001;
    }
    return 0.0;
}

long long SimConfig::ActivePairCount() const
{
    if (activePairs >= 0) {
        return activePairs;
    }
    const long long all = DistinctPairsWithin(motifs) + SelfPairsWithin(motifs);
    return std::min<long long>(motifs, all);
}

int SimConfig::MaxMotifsPerProtein() const
{
    return std::min(maxMotifs, motifs);
}

bool WantsHelp(const std::vector<std::string>& args)
{
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            return true;
        }
    }
    return false;
}

SimConfig ParseSimArgs(const std::vector<std::string>& args)
{
    SimConfig config;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.rfind("--", 0) != 0 || word.size() == 2) {
            throw SimError("unexpected argument '" + word + "'; expected options of the form --name value (see --help)");
        }
        std::string name = word.substr(2);
        std::string value;
        const auto eq = name.find('=');
        bool haveValue = false;
        if (eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            haveValue = true;
        }
        const Param* p = FindParam(name);
        if (p == nullptr) {
            throw SimError("unknown option '--" + name + "'; see --help for the options");
        }
        if (!haveValue) {
            if (i + 1 >= args.size()) {
                throw SimError("option '--" + name + "' needs a value (" + p->meta + ")");
            }
            value = args[++i];
        }
        p->set(config, value);
    }
    Validate(config);
    return config;
}

void Validate(const SimConfig& c)
{
    if (c.outDir.empty()) {
        throw SimError("no output folder given; expected --out DIR");
    }
    const long long n = c.proteins;
    const long long m = c.motifs;

    const long long selfTested = std::llround(c.selfFrac * static_cast<double>(c.pairs));
    if (selfTested > SelfPairsWithin(n)) {
        throw SimError("--self-frac asks for " + std::to_string(selfTested) + " self pairs but there are only " +
                       std::to_string(n) + " proteins; expected fewer --pairs or a smaller --self-frac");
    }
    const long long distinctTested = c.pairs - selfTested;
    if (distinctTested > DistinctPairsWithin(n)) {
        throw SimError("--pairs asks for " + std::to_string(distinctTested) + " pairs of different proteins but " +
                       std::to_string(n) + " proteins have only " + std::to_string(DistinctPairsWithin(n)) +
                       "; expected fewer --pairs, more --proteins or a larger --self-frac");
    }

    const long long active = c.ActivePairCount();
    if (active < 1 || active > DistinctPairsWithin(m) + SelfPairsWithin(m)) {
        throw SimError("--active-pairs must be from 1 to " + std::to_string(DistinctPairsWithin(m) + m) +
                       " for " + std::to_string(m) + " motifs, got " + std::to_string(active));
    }
    if (c.fpr + c.fnr >= 1.0) {
        throw SimError("--fpr plus --fnr must stay below 1 for the binary assay to carry information");
    }
    if (c.ddi == 1) {
        if (c.ddiFpr >= c.ddiSens) {
            throw SimError("--ddi-fpr must be below --ddi-sens for the domain-domain evidence to carry information");
        }
        // The domain-domain store is keyed like protein pairs and decodes motif
        // ids correctly only below ten times the number of proteins.
        if (m > 10 * n - 1) {
            throw SimError("with --ddi 1, --motifs must be at most 10 * --proteins - 1 = " +
                           std::to_string(10 * n - 1) + ", got " + std::to_string(m));
        }
    }
    if (c.leakType == 2 && c.leak > 0.0) {
        throw SimError("--leak has no effect with --leak-type 2 (no leak variable); expected no --leak or 0");
    }
}

namespace {

constexpr std::size_t HELP_WIDTH = 100;
constexpr std::size_t HELP_INDENT = 26;

// Fills words into lines of at most HELP_WIDTH columns, continuation lines
// indented to the help column. The last word may hold blanks (the default).
std::string Wrap(std::string head, const std::string& help, const std::string& tail)
{
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < help.size()) {
        const std::size_t end = std::min(help.find(' ', start), help.size());
        words.push_back(help.substr(start, end - start));
        start = end + 1;
    }
    words.push_back(tail);
    std::string text = head;
    std::size_t column = head.size();
    bool lineEmpty = true;
    for (const std::string& w : words) {
        if (!lineEmpty && column + 1 + w.size() > HELP_WIDTH) {
            text += "\n" + std::string(HELP_INDENT, ' ');
            column = HELP_INDENT;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            text += ' ';
            ++column;
        }
        text += w;
        column += w.size();
        lineEmpty = false;
    }
    return text + "\n";
}

} // namespace

std::string HelpText()
{
    std::string text =
        "motifbind-sim: samples a complete motifbind input set from the noisy-OR motif-pair model,\n"
        "with the ground truth and the command line to run on it.\n"
        "\n"
        "Usage: motifbind-sim --out DIR [--name value ...]\n"
        "Every option also accepts --name=value. Errors print one line starting with \"Error: \" and exit 1.\n";
    const SimConfig defaults;
    std::string group;
    for (const Param& p : Params()) {
        if (p.group != group) {
            group = p.group;
            text += "\n" + group + ":\n";
        }
        std::string head = "  --" + p.name + " " + p.meta;
        if (head.size() < HELP_INDENT) {
            head.append(HELP_INDENT - head.size(), ' ');
        } else {
            head += "\n" + std::string(HELP_INDENT, ' ');
        }
        text += Wrap(head, p.help, "(default: " + p.show(defaults) + ")");
    }
    text += "\n  --help                  print this text and exit\n";
    return text;
}

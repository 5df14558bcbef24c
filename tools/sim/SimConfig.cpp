#include "tools/sim/SimConfig.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <sstream>

#include "tools/toolbox/Cli.h"
#include "tools/toolbox/ToolError.h"

namespace {

// Identifiers are keyed by L*(L+1)/2 + S in 32-bit signed arithmetic, which
// holds for ids up to 46339.
constexpr int MAX_IDS = 46340;
// Keeps the tested pairs (and their observations) within memory and time.
constexpr long long MAX_PAIRS = 20000000;
// Keeps the planted motif pairs within memory and time: each is drawn,
// looked up and written, and more than a million is no model EM can learn.
constexpr long long MAX_ACTIVE_PAIRS = 1000000;

// Adds an integer option checked against [lo, hi].
template <typename T>
void Integer(CLI::App& app, const std::string& group, const std::string& name, T& field, T lo, T hi,
             const std::string& help)
{
    app.add_option("--" + name, field, help)->check(IntegerIn(lo, hi))->capture_default_str()->group(group);
}

void Real(CLI::App& app, const std::string& group, const std::string& name, double& field, CLI::Validator range,
          const std::string& help)
{
    app.add_option("--" + name, field, help)->check(range)->capture_default_str()->group(group);
}

long long SelfPairsWithin(long long n) { return n; }

long long DistinctPairsWithin(long long n) { return n * (n - 1) / 2; }

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

int SimConfig::MaxMotifsPerProtein() const { return std::min(maxMotifs, motifs); }

void DefineSimOptions(CLI::App& app, SimConfig& c)
{
    const double INF = std::numeric_limits<double>::infinity();
    app.description(
        "Samples a complete motifbind input set from the noisy-OR motif-pair model, with the ground "
        "truth and the command line to run on it.");

    const std::string out = "Output";
    app.add_option("--out", c.outDir,
                   "folder for the generated files; created when missing, refused when it "
                   "already holds files")
        ->required()
        ->group(out);
    Integer<std::uint64_t>(app, out, "seed", c.seed, 0, std::numeric_limits<std::uint64_t>::max(),
                           "seed of the random generator; the same seed gives byte-identical files");

    const std::string prot = "Proteins and motifs";
    Integer(app, prot, "proteins", c.proteins, 1, MAX_IDS, "number of proteins, ids 0 .. N-1");
    Integer(app, prot, "motifs", c.motifs, 1, MAX_IDS,
            "number of motif families, ids 0 .. N-1; low ids are the common families");
    Real(app, prot, "zero-motif-frac", c.zeroMotifFrac, Fraction(), "fraction of proteins without any motif");
    Real(app, prot, "motif-tail", c.motifTail, RealIn(0.0, false, 10.0, true),
         "a protein with motifs carries k families with probability ~ k^-A");
    Integer(app, prot, "max-motifs", c.maxMotifs, 1, 1000,
            "most motif families on one protein (never more than --motifs)");
    Real(app, prot, "motif-skew", c.motifSkew, RealIn(0.0, true, 5.0, true),
         "family m is chosen with weight (m+1)^-S; 0 makes all families equally common");
    Real(app, prot, "repeat-prob", c.repeatProb, RealIn(0.0, true, 0.9, true),
         "chance of one more copy of a motif on the same protein (up to 4 copies); copies add up their lengths");

    const std::string act = "Active motif pairs";
    Integer(app, act, "active-pairs", c.activePairs, -1LL, MAX_ACTIVE_PAIRS,
            "number of active motif pairs; -1 means as many as there are motifs");
    Real(app, act, "self-motif-frac", c.selfMotifFrac, Fraction(),
         "fraction of active pairs that pair a motif with itself (adjusted when one kind runs out)");
    Real(app, act, "strong-frac", c.strongFrac, Fraction(),
         "fraction of strong pairs, affinity uniform in [0.3, 0.9]; the others are weak, log-uniform in [0.005, 0.05]");

    const std::string leak = "Leak";
    Integer(app, leak, "leak-type", c.leakType, 0, 2,
            "0: one leak variable per pair; 1: square-root rule on the non-motif residue pairs; 2: no leak variable");
    Integer(app, leak, "leak-group", c.leakGroup, 1, std::numeric_limits<int>::max(),
            "non-motif amino-acid pairs grouped into one leak variable (leak type 1)");
    app.add_option("--leak", c.leak, "probability that one leak variable fires")
        ->check(RealIn(0.0, true, 1.0, false))
        ->default_str("0.01 with leak type 0, 0.001 with type 1, 0 with type 2")
        ->group(leak);

    const std::string test = "Tested protein pairs";
    Integer(app, test, "pairs", c.pairs, 1LL, MAX_PAIRS, "number of tested protein pairs");
    Real(app, test, "self-frac", c.selfFrac, Fraction(),
         "fraction of tested pairs that pair a protein with itself (homodimers)");
    Real(app, test, "enrich", c.enrich, Fraction(),
         "fraction of tested pairs drawn among pairs that carry an active motif pair; the rest are uniform");

    const std::string obs = "Observations (a pair that draws none gets one binary assay)";
    Real(app, obs, "binary-frac", c.binaryFrac, Fraction(), "fraction of tested pairs measured by the binary assay");
    Real(app, obs, "fpr", c.fpr, RealIn(0.0, true, 1.0, false), "false-positive rate of the binary assay");
    Real(app, obs, "fnr", c.fnr, RealIn(0.0, true, 1.0, false), "false-negative rate of the binary assay");
    Real(app, obs, "replicate-prob", c.replicateProb, RealIn(0.0, true, 0.9, true),
         "chance of one more replicate of the binary assay (up to 5 per pair)");
    Real(app, obs, "score-frac", c.scoreFrac, Fraction(), "fraction of tested pairs with a continuous score");
    Real(app, obs, "score-mean0", c.scoreMean0, RealIn(-1e6, true, 1e6, true), "mean score of non-interacting pairs");
    Real(app, obs, "score-mean1", c.scoreMean1, RealIn(-1e6, true, 1e6, true), "mean score of interacting pairs");
    Real(app, obs, "score-var", c.scoreVar, RealIn(0.0, false, 1e6, true), "variance of the score in both states");
    Real(app, obs, "control-frac", c.controlFrac, Fraction(),
         "fraction of tested pairs with a noise-free control (model ID -1 for both states)");

    const std::string ddi = "Domain-domain evidence";
    Integer(app, ddi, "ddi", c.ddi, 0, 1, "1 writes the three domain-domain files and passes -d; 0 leaves them out");
    Real(app, ddi, "ddi-cover", c.ddiCover, Fraction(),
         "fraction of motif families, lowest ids first, that the domain-domain database covers (raised if it "
         "covers no active pair)");
    Real(app, ddi, "ddi-sens", c.ddiSens, RealIn(0.0, false, 1.0, true),
         "chance that a binding motif pair is reported");
    Real(app, ddi, "ddi-fpr", c.ddiFpr, RealIn(0.0, true, 1.0, false),
         "chance that a non-binding motif pair is reported");

    const std::string run = "Prediction lists and command line";
    Integer(app, run, "predict-extra", c.predictExtra, 0LL, MAX_PAIRS,
            "untested protein pairs added to the interaction prediction list (fewer when not that many remain)");
    Integer(app, run, "bind-pairs", c.bindPairs, 0LL, MAX_PAIRS,
            "most entries of the binding prediction list, which is also the perturbation work list");
    Integer(app, run, "pertype", c.perType, 0, 3,
            "perturbation analysis (-p): 1, 2 or 3; 0 runs none. With 2 the binding list holds motif pairs");
    Integer(app, run, "pertsize", c.pertSize, -1, MAX_IDS,
            "perturb only motifs with id below this bound (-s); -1 means no bound");
    Real(app, run, "prior-pos", c.priorPos, RealIn(0.0, false, INF, false), "Dirichlet prior count Pos");
    Real(app, run, "prior-ratio", c.priorRatio, RealIn(0.0, false, INF, false),
         "Dirichlet prior Neg / Pos (-n, written only when it is not 1)");
    Integer(app, run, "estimator", c.estimator, 0, 1,
            "-e: 1 learns the domain-domain evidence through one shared state per motif pair, 0 is motifbind's "
            "default (written only when not 0)");
    Real(app, run, "noise-prior", c.noisePrior, RealIn(0.0, true, INF, false),
         "-b: pseudo-counts of the prior on every binary noise model (written only when not 0)");
    Real(app, run, "init-affinity", c.initAffinity, RealIn(0.0, false, 1.0, false),
         "initial affinity written for every active motif pair");
}

SimConfig ParseSimArgs(const std::vector<std::string>& args)
{
    SimConfig config;
    CLI::App app("motifbind-sim", "motifbind-sim");
    DefineSimOptions(app, config);
    std::ostringstream text;
    if (!ParseArgs(app, args, text)) {
        throw ToolError("--help and --version ask for a text, not a data set");
    }
    Validate(config);
    return config;
}

void Validate(const SimConfig& c)
{
    if (c.outDir.empty()) {
        throw ToolError("no output folder given; expected --out DIR");
    }
    const long long n = c.proteins;
    const long long m = c.motifs;

    const long long selfTested = std::llround(c.selfFrac * static_cast<double>(c.pairs));
    if (selfTested > SelfPairsWithin(n)) {
        throw ToolError("--self-frac asks for " + std::to_string(selfTested) + " self pairs but there are only " +
                        std::to_string(n) + " proteins; expected fewer --pairs or a smaller --self-frac");
    }
    const long long distinctTested = c.pairs - selfTested;
    if (distinctTested > DistinctPairsWithin(n)) {
        throw ToolError("--pairs asks for " + std::to_string(distinctTested) + " pairs of different proteins but " +
                        std::to_string(n) + " proteins have only " + std::to_string(DistinctPairsWithin(n)) +
                        "; expected fewer --pairs, more --proteins or a larger --self-frac");
    }

    const long long active = c.ActivePairCount();
    if (active < 1 || active > DistinctPairsWithin(m) + SelfPairsWithin(m)) {
        throw ToolError("--active-pairs must be from 1 to " + std::to_string(DistinctPairsWithin(m) + m) + " for " +
                        std::to_string(m) + " motifs, got " + std::to_string(active));
    }
    if (c.fpr + c.fnr >= 1.0) {
        throw ToolError("--fpr plus --fnr must stay below 1 for the binary assay to carry information");
    }
    if (c.ddi == 1) {
        if (c.ddiFpr >= c.ddiSens) {
            throw ToolError("--ddi-fpr must be below --ddi-sens for the domain-domain evidence to carry information");
        }
    }
    if (c.leakType == 2 && c.leak > 0.0) {
        throw ToolError("--leak has no effect with --leak-type 2 (no leak variable); expected no --leak or 0");
    }
}

#include "tools/prep/PrepConfig.h"

#include <limits>
#include <map>

#include "tools/prep/Fields.h"
#include "tools/toolbox/Cli.h"
#include "tools/toolbox/ToolError.h"

namespace {

// Protein and motif ids are keyed by L*(L+1)/2 + S in 32-bit signed
// arithmetic, which holds for ids up to 46339.
constexpr int MAX_IDS = 46340;

template <typename E>
CLI::Option* Choice(CLI::App& app, const std::string& name, E& field, const std::map<std::string, E>& words,
                    const std::string& help)
{
    return app.add_option(name, field, help)->transform(CLI::CheckedTransformer(words, CLI::ignore_case));
}

} // namespace

void DefinePrepOptions(CLI::App& app, PrepConfig& c)
{
    const double INF = std::numeric_limits<double>::infinity();
    app.description(
        "Turns reported interactions, domain annotations and protein sequences into a complete "
        "motifbind input set: numeric input files, id tables, prediction lists and the command line.");

    const std::string out = "Output";
    app.add_option("--out", c.outDir,
                   "folder for the input set; created when missing, refused when it already holds files")
        ->required()
        ->group(out);
    app.add_option("--seed", c.seed, "seed of negative sampling and hold-out; the same seed gives the same files")
        ->check(IntegerIn<std::uint64_t>(0, std::numeric_limits<std::uint64_t>::max()))
        ->capture_default_str()
        ->group(out);

    const std::string ppi = "Interactions";
    app.add_option("--interactions", c.interactionFiles,
                   "reported interactions: TSV \"A B [source]\" or PSI-MITAB 2.5/2.7; plain or gzip; repeatable")
        ->required()
        ->check(CLI::ExistingFile)
        ->group(ppi);
    Choice(app, "--interaction-format", c.interactionFormat,
           std::map<std::string, InteractionFormat>{
               {"auto", InteractionFormat::AUTO}, {"tsv", InteractionFormat::TSV}, {"mitab", InteractionFormat::MITAB}},
           "auto tells MITAB by its 15 or more tab-separated columns")
        ->default_str("auto")
        ->group(ppi);
    Choice(app, "--mitab-experiment", c.mitabExperiment,
           std::map<std::string, MitabExperiment>{{"none", MitabExperiment::NONE},
                                                  {"method", MitabExperiment::METHOD},
                                                  {"database", MitabExperiment::DATABASE}},
           "MITAB column that names the source of each interaction: none, method (detection method) or "
           "database (source database); each source gets its own observation models")
        ->default_str("none")
        ->group(ppi);
    app.add_option("--source", c.source, "source name of interactions that name none")
        ->capture_default_str()
        ->group(ppi);
    app.add_flag("--drop-self", c.dropSelf,
                 "drop self-interactions; by default they are kept as pairs of a protein with itself")
        ->group(ppi);
    app.add_flag("--keep-isoforms", c.accessions.keepIsoforms,
                 "keep isoform suffixes (P12345-2) instead of folding isoforms onto their accession")
        ->group(ppi);
    app.add_flag("--any-id", c.accessions.anyId, "accept any identifier without blanks, not only UniProtKB accessions")
        ->group(ppi);

    const std::string dom = "Domains and lengths";
    app.add_option("--domains", c.domainFiles, "domain annotations with positions; plain or gzip; repeatable")
        ->required()
        ->check(CLI::ExistingFile)
        ->group(dom);
    Choice(app, "--domain-format", c.domainFormat,
           std::map<std::string, DomainFormat>{{"domtblout", DomainFormat::DOMTBLOUT},
                                               {"pfamscan", DomainFormat::PFAMSCAN},
                                               {"interproscan", DomainFormat::INTERPROSCAN},
                                               {"tsv", DomainFormat::TSV}},
           "domtblout (HMMER), pfamscan (Pfam scan per-domain output), interproscan (TSV) or tsv "
           "(accession domain start end)")
        ->required()
        ->group(dom);
    app.add_flag("--hmmsearch", c.hmmsearch, "the domtblout file comes from hmmsearch: proteins are the targets")
        ->group(dom);
    app.add_option("--analysis", c.analysis, "InterProScan: keep only this analysis, such as Pfam; default all")
        ->group(dom);
    app.add_option("--evalue", c.maxEvalue, "skip domain hits with a larger (independent) E-value; default none")
        ->check(RealIn(0.0, true, INF, false))
        ->group(dom);
    app.add_flag("--require-domains", c.requireDomains,
                 "keep only proteins that carry at least one domain; pairs with a protein without any are dropped")
        ->group(dom);
    app.add_option("--fasta", c.fastaFile,
                   "protein sequences (plain or gzip) for the lengths; needed unless the domain format states them")
        ->check(CLI::ExistingFile)
        ->group(dom);
    app.add_option("--family-names", c.familyNamesFile,
                   "display names of domain families, \"family<TAB>name\" per line; over the descriptions the "
                   "annotations give")
        ->check(CLI::ExistingFile)
        ->group(dom);

    const std::string neg = "Non-interacting pairs";
    auto* list =
        app.add_option("--negatives", c.negativeFile, "non-interacting pairs \"A B [source]\" instead of sampling them")
            ->check(CLI::ExistingFile)
            ->group(neg);
    app.add_option("--negative-ratio", c.negativeRatio,
                   "sampled non-interacting pairs per reported interaction of a source")
        ->check(RealIn(0.0, true, 1000.0, true))
        ->capture_default_str()
        ->excludes(list)
        ->group(neg);
    Choice(app, "--sampling", c.sampling,
           std::map<std::string, Sampling>{{"degree", Sampling::DEGREE}, {"uniform", Sampling::UNIFORM}},
           "degree: each protein occurs in negatives about as often as in positives; uniform: any two proteins")
        ->default_str("degree")
        ->excludes(list)
        ->group(neg);

    const std::string obs = "Observation models (starting values; motifbind learns them)";
    app.add_option("--fpr", c.fpr, "false-positive rate of each source")
        ->check(RealIn(0.0, false, 1.0, false))
        ->capture_default_str()
        ->group(obs);
    app.add_option("--fnr", c.fnr, "false-negative rate of each source")
        ->check(RealIn(0.0, false, 1.0, false))
        ->capture_default_str()
        ->group(obs);

    const std::string cand = "Candidate motif pairs and domain-domain evidence";
    app.add_option("--min-support", c.minSupport,
                   "a motif pair becomes a candidate when it occurs on at least this many reported interactions")
        ->check(IntegerIn(1, std::numeric_limits<int>::max()))
        ->capture_default_str()
        ->group(cand);
    app.add_option("--ddi", c.ddiFile,
                   "known interacting domain pairs \"family family\"; written as domain-domain evidence")
        ->check(CLI::ExistingFile)
        ->group(cand);
    app.add_option("--ddi-sens", c.ddiSens, "chance that the list holds a binding domain pair")
        ->check(RealIn(0.0, false, 1.0, false))
        ->capture_default_str()
        ->group(cand);
    app.add_option("--ddi-fpr", c.ddiFpr, "chance that the list holds a non-binding domain pair")
        ->check(RealIn(0.0, false, 1.0, false))
        ->capture_default_str()
        ->group(cand);

    const std::string hold = "Hold-out and predictions";
    app.add_option(
           "--holdout", c.holdout,
           "fraction of reported and of non-interacting pairs left out of the observations and written as truth")
        ->check(RealIn(0.0, true, 1.0, false))
        ->capture_default_str()
        ->group(hold);
    app.add_flag("--holdout-guard,!--no-holdout-guard", c.holdoutGuard,
                 "hold out no pair that would leave a protein without a training observation or a source without a "
                 "reported training pair (on by default; --no-holdout-guard turns it off)")
        ->group(hold);
    app.add_option("--predict", c.predictFile, "accession pairs to predict; default the observed and held-out pairs")
        ->check(CLI::ExistingFile)
        ->group(hold);

    const std::string run = "motifbind command line";
    app.add_option("--leak-type", c.leakType, "-l: 0 one leak variable per pair, 1 square-root rule, 2 none")
        ->check(IntegerIn(0, 2))
        ->capture_default_str()
        ->group(run);
    app.add_option("--leak-group", c.leakGroup, "non-motif residue pairs grouped into one leak variable (leak type 1)")
        ->check(IntegerIn(1, std::numeric_limits<int>::max()))
        ->capture_default_str()
        ->group(run);
    app.add_option("--pertype", c.perType, "-p: perturbation analysis 1, 2 or 3; 0 runs none")
        ->check(IntegerIn(0, 3))
        ->capture_default_str()
        ->group(run);
    app.add_option("--pertsize", c.pertSize, "-s: perturb only motifs with id below this bound; -1 no bound")
        ->check(IntegerIn(-1, MAX_IDS))
        ->capture_default_str()
        ->group(run);
    app.add_option("--prior-pos", c.priorPos, "Dirichlet prior count Pos")
        ->check(RealIn(0.0, false, INF, false))
        ->capture_default_str()
        ->group(run);
    app.add_option("--prior-ratio", c.priorRatio, "-n: Dirichlet prior Neg / Pos")
        ->check(RealIn(0.0, false, INF, false))
        ->capture_default_str()
        ->group(run);
    app.add_option("--estimator", c.estimator,
                   "-e: 1 learns the domain-domain evidence through one shared state per motif pair, 0 is "
                   "motifbind's default (written only when not 0)")
        ->check(IntegerIn(0, 1))
        ->capture_default_str()
        ->group(run);
    app.add_option("--noise-prior", c.noisePrior,
                   "-b: pseudo-counts of the prior on every binary noise model (written only when not 0)")
        ->check(RealIn(0.0, true, INF, false))
        ->capture_default_str()
        ->group(run);
    app.add_option("--init-affinity", c.initAffinity, "initial affinity of every candidate motif pair")
        ->check(RealIn(0.0, false, 1.0, false))
        ->capture_default_str()
        ->group(run);
}

void Validate(const PrepConfig& c)
{
    if (c.source.empty() || HasControl(c.source)) {
        throw ToolError("--source " + Shown(c.source) + ": expected a name without tabs or line breaks");
    }
    if (c.fpr + c.fnr >= 1.0) {
        throw ToolError("--fpr plus --fnr must stay below 1 for the observations to carry information");
    }
    if (c.ddiFpr >= c.ddiSens) {
        throw ToolError("--ddi-fpr must be below --ddi-sens for the domain-domain evidence to carry information");
    }
    if (c.fastaFile.empty() && c.domainFormat != DomainFormat::DOMTBLOUT &&
        c.domainFormat != DomainFormat::INTERPROSCAN) {
        throw ToolError("this domain format states no protein lengths; expected --fasta with the sequences");
    }
    if (c.hmmsearch && c.domainFormat != DomainFormat::DOMTBLOUT) {
        throw ToolError("--hmmsearch applies to --domain-format domtblout only");
    }
    if (!c.analysis.empty() && c.domainFormat != DomainFormat::INTERPROSCAN) {
        throw ToolError("--analysis applies to --domain-format interproscan only");
    }
}

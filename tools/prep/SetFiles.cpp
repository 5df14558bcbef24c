#include "tools/prep/SetFiles.h"

#include <cmath>
#include <cstdio>

#include "format/InputSetFiles.h"
#include "motifbind/Version.h"
#include "tools/toolbox/RunCommand.h"
#include "tools/toolbox/TextFile.h"

namespace {

// Each source owns two binary models: one for pairs that do not interact,
// one for pairs that do. OM_BINARY holds the probability of observing 0.
int ModelIfNot(int source) { return 2 * source; }
int ModelIfInteracting(int source) { return 2 * source + 1; }

// Domain-domain models: the list reports a pair (1) or not (0).
constexpr int DDI_NEG_ID = 0;
constexpr int DDI_POS_ID = 1;
// Option record: a default observation "not reported" for every candidate
// pair, of a motif with itself or of two motifs, that the list does not hold.
constexpr int OPTION_ALL_PAIRS = 2;

std::string PairsText(const std::vector<PairKey>& pairs)
{
    TextFile f;
    for (const PairKey& p : pairs) {
        f.Int(p.first).Int(p.second).EndLine();
    }
    return f.Text();
}

RunSettings Run(const PreparedSet& set, const PrepConfig& c)
{
    RunSettings run;
    run.proteins = static_cast<int>(set.proteins.size());
    run.motifs = static_cast<int>(set.motifs.size());
    run.leakType = c.leakType;
    run.leakGroup = c.leakGroup;
    run.perType = c.perType;
    run.pertSize = c.pertSize;
    run.priorPos = c.priorPos;
    run.priorRatio = c.priorRatio;
    run.estimator = c.estimator;
    run.noisePrior = c.noisePrior;
    run.ddi = set.ddi;
    return run;
}

std::string Plural(std::size_t n, const std::string& one, const std::string& many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string Percent(std::size_t part, std::size_t whole)
{
    if (whole == 0) {
        return "n/a";
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f%%", 100.0 * static_cast<double>(part) / static_cast<double>(whole));
    return buf;
}

// Of per-protein counts; "n/a" when there was nothing to correlate.
std::string Correlation(double r)
{
    if (std::isnan(r)) {
        return "n/a";
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", r);
    return buf;
}

} // namespace

std::vector<std::pair<std::string, std::string>> SetFiles(const PreparedSet& set, const PrepConfig& c)
{
    std::vector<std::pair<std::string, std::string>> files;

    TextFile lengths;
    TextFile coverage;
    TextFile content;
    for (std::size_t i = 0; i < set.proteins.size(); ++i) {
        const SetProtein& p = set.proteins[i];
        const auto id = static_cast<long long>(i);
        lengths.Int(id).Int(p.length).EndLine();
        coverage.Int(id).Int(p.coverage).EndLine();
        for (const auto& [m, len] : p.motifs) {
            content.Int(id).Int(m).Int(len).EndLine();
        }
    }

    TextFile obs;
    for (const SetObservation& o : set.observations) {
        obs.Int(o.pair.first)
            .Int(o.pair.second)
            .Int(o.value)
            .Int(ModelIfNot(o.source))
            .Int(ModelIfInteracting(o.source))
            .EndLine();
    }
    TextFile models;
    // Every source starts from the same rates: formatted once.
    const std::string ifNot = FormatReal(1.0 - c.fpr);
    const std::string ifInteracting = FormatReal(c.fnr);
    for (std::size_t s = 0; s < set.sources.size(); ++s) {
        const int id = static_cast<int>(s);
        models.Int(ModelIfNot(id)).Word("OM_BINARY").Word(ifNot).EndLine();
        models.Int(ModelIfInteracting(id)).Word("OM_BINARY").Word(ifInteracting).EndLine();
    }

    TextFile active;
    std::vector<PairKey> candidates;
    for (const auto& [pair, support] : set.candidates) {
        active.Int(pair.first).Int(pair.second).Real(c.initAffinity).EndLine();
        candidates.push_back(pair);
    }

    files.emplace_back(files::PPI_OBSERVATIONS, obs.Text());
    files.emplace_back(files::PPI_MODELS, models.Text());
    files.emplace_back(files::PROTEIN_MOTIFS, content.Text());
    files.emplace_back(files::ACTIVE_PAIRS, active.Text());
    files.emplace_back(files::INACTIVE_PAIRS, "");
    files.emplace_back(files::WAITING_PAIRS, "");
    files.emplace_back(files::PREDICT_INTERACTION, PairsText(set.predict));
    // With perturbation type 2 the binding list names motif pairs.
    files.emplace_back(files::PREDICT_BINDING, PairsText(c.perType == 2 ? candidates : set.predict));
    files.emplace_back(files::PROTEIN_LENGTHS, lengths.Text());
    files.emplace_back(files::MOTIF_COVERAGE, coverage.Text());

    if (set.ddi) {
        TextFile ddiObs;
        for (const PairKey& p : set.ddiPairs) {
            ddiObs.Int(p.first).Int(p.second).Int(1).Int(DDI_NEG_ID).Int(DDI_POS_ID).EndLine();
        }
        TextFile ddiModels;
        ddiModels.Int(DDI_NEG_ID).Word("OM_BINARY").Real(1.0 - c.ddiFpr).EndLine();
        ddiModels.Int(DDI_POS_ID).Word("OM_BINARY").Real(1.0 - c.ddiSens).EndLine();
        TextFile options;
        options.Int(OPTION_ALL_PAIRS)
            .Int(0)
            .Int(DDI_NEG_ID)
            .Int(DDI_POS_ID)
            .Int(static_cast<long long>(set.motifs.size()))
            .EndLine();
        files.emplace_back(files::DDI_OBSERVATIONS, ddiObs.Text());
        files.emplace_back(files::DDI_MODELS, ddiModels.Text());
        files.emplace_back(files::DDI_OPTIONS, options.Text());
    }

    TextFile proteins;
    // The display names go last, so that readers of the earlier columns
    // read on as before.
    proteins.Word("id").Word("accession").Word("length").Word("covered").Word("motifs").Word("name").EndLine();
    for (std::size_t i = 0; i < set.proteins.size(); ++i) {
        const SetProtein& p = set.proteins[i];
        proteins.Int(static_cast<long long>(i)).Word(p.accession).Int(p.length).Int(p.coverage);
        proteins.Int(static_cast<long long>(p.motifs.size())).Word(p.name).EndLine();
    }
    TextFile motifs;
    motifs.Word("id").Word("family").Word("name").Word("proteins").Word("description").EndLine();
    for (std::size_t m = 0; m < set.motifs.size(); ++m) {
        motifs.Int(static_cast<long long>(m)).Word(set.motifs[m].family).Word(set.motifs[m].name);
        motifs.Int(set.motifs[m].carriers).Word(set.motifs[m].description).EndLine();
    }
    TextFile sources;
    sources.Word("source")
        .Word("model_not_interacting")
        .Word("model_interacting")
        .Word("reported")
        .Word("not_interacting")
        .EndLine();
    for (std::size_t s = 0; s < set.sources.size(); ++s) {
        const int id = static_cast<int>(s);
        sources.Word(set.sources[s]).Int(ModelIfNot(id)).Int(ModelIfInteracting(id));
        sources.Int(static_cast<long long>(set.counts.positives[s]))
            .Int(static_cast<long long>(set.counts.negatives[s]))
            .EndLine();
    }
    files.emplace_back(prepfiles::PROTEINS, proteins.Text());
    files.emplace_back(prepfiles::MOTIFS, motifs.Text());
    files.emplace_back(prepfiles::SOURCES, sources.Text());

    if (c.holdout > 0.0) {
        TextFile truth;
        TextFile named[2];
        for (TextFile& f : named) {
            f.Word("accession_a").Word("accession_b").EndLine();
        }
        for (const auto& [pair, state] : set.holdout) {
            truth.Int(pair.first).Int(pair.second).Int(state).EndLine();
            named[state].Word(set.proteins[pair.first].accession).Word(set.proteins[pair.second].accession).EndLine();
        }
        files.emplace_back(prepfiles::TRUTH_HOLDOUT, truth.Text());
        files.emplace_back(prepfiles::HOLDOUT_INTERACTING, named[1].Text());
        files.emplace_back(prepfiles::HOLDOUT_NOT_INTERACTING, named[0].Text());
    }
    files.emplace_back(files::COMMAND, RunCommand(Run(set, c)));
    return files;
}

std::string SummaryText(const PreparedSet& set, const PrepConfig& c)
{
    const PrepCounts& n = set.counts;
    std::string s = std::string("made by: motifbind-prep ") + MOTIFBIND_VERSION + "\n";
    std::size_t dropped = 0;
    std::string why;
    for (const auto& [reason, count] : n.dropped) {
        dropped += count;
        why += (why.empty() ? ": " : "; ") + std::to_string(count) + " " + reason;
    }
    s += "proteins: " + std::to_string(n.proteinsListed) + " listed, " + std::to_string(set.proteins.size()) +
         " kept (" + std::to_string(n.withoutDomains) + " without any domain), " + std::to_string(dropped) +
         " dropped" + why + "\n";
    if (n.pairsDropped > 0) {
        s += "pairs dropped with a dropped protein: " + std::to_string(n.pairsDropped) + "\n";
    }
    if (n.familiesDropped > 0) {
        s += "domain families dropped with the proteins that lost every pair: " + std::to_string(n.familiesDropped) +
             "\n";
    }
    // Only the leak can explain such a pair.
    s += "reported pairs with a protein without any domain: " + std::to_string(n.domainlessPairs) + " of " +
         std::to_string(n.reportedPairs) + " (" + Percent(n.domainlessPairs, n.reportedPairs) + ")" +
         (c.requireDomains ? ", dropped by --require-domains" : ", kept; --require-domains drops them") + "\n";
    s += "self-interactions: " +
         (c.dropSelf ? std::to_string(n.selfDropped) + " listed, dropped"
                     : std::to_string(n.selfKept) + " kept as pairs of a protein with itself") +
         "\n";
    if (n.repeated > 0) {
        s += "pairs listed again by the same source (counted once): " + std::to_string(n.repeated) + "\n";
    }
    s += "motifs: " + std::to_string(set.motifs.size()) + " domain families from " + std::to_string(n.hits) +
         " domain ranges (" + std::to_string(n.hitsElsewhere) + " ranges on proteins outside the set)\n";
    s += "protein names: " + Plural(n.geneNames, "gene name", "gene names") + " from the FASTA headers, " +
         Plural(n.aliasNames, "alias", "aliases") + " from the interaction files, " +
         Plural(set.proteins.size() - n.geneNames - n.aliasNames, "accession", "accessions") + " for want of both\n";
    if (!c.familyNamesFile.empty()) {
        s += "family names: " + std::to_string(n.familyNamesUsed) + " of " + std::to_string(set.motifs.size()) +
             " families named by " + c.familyNamesFile + " (" + std::to_string(n.familyNamesListed) + " listed)\n";
    }
    s += "observations: " + std::to_string(set.observations.size()) + "\n";
    const std::string negWord = !c.negativeFile.empty()          ? "listed"
                                : c.sampling == Sampling::DEGREE ? "sampled degree-matched"
                                                                 : "sampled uniformly";
    for (std::size_t i = 0; i < set.sources.size(); ++i) {
        s += "  source '" + set.sources[i] + "': " + std::to_string(n.positives[i]) + " reported, " +
             std::to_string(n.negatives[i]) + " non-interacting (" + negWord + "), models " +
             std::to_string(ModelIfNot(static_cast<int>(i))) + " and " +
             std::to_string(ModelIfInteracting(static_cast<int>(i))) + ", degree correlation " +
             Correlation(n.degreeCorrelation[i]) + "\n";
    }
    if (c.holdout > 0.0) {
        std::size_t pos = 0;
        for (const auto& [pair, state] : set.holdout) {
            pos += static_cast<std::size_t>(state);
        }
        s += "held out: " + std::to_string(pos) + " reported and " + std::to_string(set.holdout.size() - pos) +
             " non-interacting pairs, truth in " + prepfiles::TRUTH_HOLDOUT + ", " + prepfiles::HOLDOUT_INTERACTING +
             " and " + prepfiles::HOLDOUT_NOT_INTERACTING + "\n";
        if (c.holdoutGuard) {
            s += "hold-out guard: " + std::to_string(set.holdout.size()) + " of " + std::to_string(n.holdoutAsked) +
                 " pairs held out; " + Plural(n.guarded, "drawn pair", "drawn pairs") +
                 " kept in training instead, so that every protein keeps an observation and every source a "
                 "reported pair\n";
        } else {
            s += "cold-start pairs: " + std::to_string(n.coldStart) +
                 " held-out pairs with a protein without any training observation (--no-holdout-guard)\n";
        }
    }
    s += "candidate motif pairs: " + std::to_string(set.candidates.size()) + " of " + std::to_string(n.motifPairs) +
         " motif pairs on reported interactions (support at least " + std::to_string(c.minSupport) + ")\n";
    s += "binding variables: " + std::to_string(set.bindingVariables) + " on the observed protein pairs\n";
    if (set.ddi) {
        s += "domain-domain evidence: " + Plural(set.ddiPairs.size(), "candidate pair", "candidate pairs") +
             " reported, of " + std::to_string(n.ddiListed) + " listed (" + std::to_string(n.ddiUnknown) +
             " naming a family not in the set, " + std::to_string(n.ddiNotCandidate) + " no candidate pair)\n";
    }
    s += "pairs to predict: " + std::to_string(set.predict.size());
    if (!c.predictFile.empty()) {
        s += " of " + std::to_string(n.predictListed) + " listed (" + std::to_string(n.predictUnknown) +
             " naming a protein not in the set)";
    }
    s += "\n";
    return s;
}

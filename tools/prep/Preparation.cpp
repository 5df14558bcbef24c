#include "tools/prep/Preparation.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "tools/prep/Coverage.h"
#include "tools/prep/FamilyNames.h"
#include "tools/prep/FamilyPairs.h"
#include "tools/prep/Fasta.h"
#include "tools/stats/Rng.h"
#include "tools/toolbox/Numbers.h"
#include "tools/toolbox/ToolError.h"

namespace {

// Ids are keyed by L*(L+1)/2 + S in 32-bit signed arithmetic in motifbind.
constexpr std::size_t MAX_IDS = 46339;
// Random streams, so that changing one part leaves the draws of the others.
constexpr std::uint64_t HOLDOUT_STREAM = 1000;

// Two listed proteins (indexes of their accessions, the smaller first): the
// same pair whatever order a line names them in.
std::uint64_t Packed(int a, int b)
{
    const auto lo = static_cast<std::uint32_t>(std::min(a, b));
    const auto hi = static_cast<std::uint32_t>(std::max(a, b));
    return static_cast<std::uint64_t>(lo) << 32 | hi;
}
int Low(std::uint64_t p) { return static_cast<int>(p >> 32); }
int High(std::uint64_t p) { return static_cast<int>(p & 0xffffffffu); }

// A pair listed by one source.
struct Listing {
    int source = 0;
    std::uint64_t pair = 0;
    bool operator==(const Listing&) const = default;
};

struct ListingHash {
    std::size_t operator()(const Listing& l) const
    {
        return std::hash<std::uint64_t>()(l.pair * 0x9e3779b97f4a7c15ULL ^ static_cast<std::uint64_t>(l.source));
    }
};

std::map<std::string, int> ReadLengths(const PrepConfig& c, const std::vector<DomainTable>& tables, Warnings& w,
                                       std::map<std::string, std::string>& geneNames)
{
    std::map<std::string, int> lengths;
    if (!c.fastaFile.empty()) {
        FastaProteins fasta = ReadFasta(c.fastaFile, c.accessions, w);
        lengths = std::move(fasta.lengths);
        geneNames = std::move(fasta.geneNames);
    }
    for (const DomainTable& t : tables) {
        for (const auto& [acc, len] : t.lengths) {
            const auto [it, added] = lengths.emplace(acc, len);
            if (!added && it->second != len) {
                w.Add("proteins whose length in a domain file differs from the one read before (the first kept)",
                      t.path + ", " + acc);
            }
        }
    }
    return lengths;
}

// Draws round(fraction * size) entries of `keys` without replacement, in
// random order, passing over those `accept` turns down.
std::vector<std::int64_t> Draw(std::vector<std::int64_t> keys, double fraction, Rng& rng,
                               const std::function<bool(std::int64_t)>& accept, std::size_t& asked,
                               std::size_t& refused)
{
    const std::size_t n = static_cast<std::size_t>(std::llround(fraction * static_cast<double>(keys.size())));
    asked += n;
    std::vector<std::int64_t> drawn;
    for (std::size_t i = 0; drawn.size() < n && i < keys.size(); ++i) {
        const std::size_t j = i + static_cast<std::size_t>(rng.Below(keys.size() - i));
        std::swap(keys[i], keys[j]);
        if (accept(keys[i])) {
            drawn.push_back(keys[i]);
        } else {
            ++refused;
        }
    }
    return drawn;
}

// Pearson correlation of two equally long lists; NaN when either is constant.
double Correlation(const std::vector<double>& x, const std::vector<double>& y)
{
    const double n = static_cast<double>(x.size());
    double mx = 0.0;
    double my = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        mx += x[i];
        my += y[i];
    }
    mx /= n;
    my /= n;
    double sxy = 0.0;
    double sxx = 0.0;
    double syy = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sxy += (x[i] - mx) * (y[i] - my);
        sxx += (x[i] - mx) * (x[i] - mx);
        syy += (y[i] - my) * (y[i] - my);
    }
    return sxx > 0.0 && syy > 0.0 ? sxy / std::sqrt(sxx * syy) : std::nan("");
}

// Keys in ascending order, each once.
using Keys = std::vector<std::int64_t>;

void SortUnique(Keys& keys)
{
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
}

bool Contains(const Keys& keys, std::int64_t k) { return std::binary_search(keys.begin(), keys.end(), k); }

std::string FileList(const std::vector<std::string>& files)
{
    std::string s;
    for (const std::string& f : files) {
        s += (s.empty() ? "" : ", ") + f;
    }
    return s;
}

class Builder {
public:
    Builder(const PrepConfig& c, Warnings& w) : c_(c), w_(w) {}

    PreparedSet Build()
    {
        ReadInputs();
        KeepProteins();
        AddDomains();
        AddObservations();
        HoldOut();
        AddCandidates();
        AddDdi();
        AddPredictions();
        return std::move(set_);
    }

private:
    // The index of an accession of the pair lists, in order of first sight.
    int Accession(const std::string& acc)
    {
        const auto [it, added] = accIndex_.try_emplace(acc, static_cast<int>(accs_.size()));
        if (added) {
            accs_.push_back(acc);
        }
        return it->second;
    }

    int SourceId(const std::string& name)
    {
        const auto [it, added] = sourceIndex_.try_emplace(name, static_cast<int>(set_.sources.size()));
        if (added) {
            set_.sources.push_back(name);
        }
        return it->second;
    }

    // Every listing is merged into the sets as it is read, so that a file
    // that repeats itself costs no memory.
    void ReadInputs()
    {
        if (!c_.familyNamesFile.empty()) {
            familyNames_ = ReadFamilyNames(c_.familyNamesFile, w_);
            set_.counts.familyNamesListed = familyNames_.size();
        }
        for (const std::string& file : c_.domainFiles) {
            DomainInput in;
            in.path = file;
            in.format = c_.domainFormat;
            if (c_.maxEvalue >= 0.0) {
                in.maxEvalue = c_.maxEvalue;
            }
            in.analysis = c_.analysis;
            in.hmmsearch = c_.hmmsearch;
            tables_.push_back(ReadDomains(in, c_.accessions, w_));
        }
        lengths_ = ReadLengths(c_, tables_, w_, geneNames_);
        const std::size_t warned = w_.Total();
        for (const std::string& file : c_.interactionFiles) {
            InteractionInput in;
            in.path = file;
            in.format = c_.interactionFormat;
            in.experiment = c_.mitabExperiment;
            in.defaultSource = c_.source;
            ReadInteractions(in, c_.accessions, w_, [this](ListedPair&& p) {
                if (!p.nameA.empty()) {
                    aliasNames_.emplace(p.a, std::move(p.nameA));
                }
                if (!p.nameB.empty()) {
                    aliasNames_.emplace(p.b, std::move(p.nameB));
                }
                if (c_.dropSelf && p.a == p.b) {
                    ++set_.counts.selfDropped;
                    return;
                }
                const int s = SourceId(p.source);
                const std::uint64_t pair = Packed(Accession(p.a), Accession(p.b));
                if (!reported_.insert({s, pair}).second) {
                    ++set_.counts.repeated;
                }
                reportedAny_.insert(pair);
            });
        }
        if (reported_.empty()) {
            const std::size_t skipped = w_.Total() - warned;
            throw ToolError(
                "no interaction of two proteins in " + FileList(c_.interactionFiles) +
                (skipped > 0 ? " (" + std::to_string(skipped) + " lines skipped with a warning)" : std::string()) +
                (set_.counts.selfDropped > 0
                     ? " (" + std::to_string(set_.counts.selfDropped) + " self-interactions dropped by --drop-self)"
                     : std::string()) +
                "; expected lines of two protein accessions");
        }
        if (!c_.negativeFile.empty()) {
            ReadPairList(c_.negativeFile, true, c_.accessions, w_, [this](ListedPair&& p) { ListedNegative(p); });
        }
        if (!c_.predictFile.empty()) {
            ReadPairList(c_.predictFile, false, c_.accessions, w_, [this](ListedPair&& p) {
                predicted_.emplace(Packed(Accession(p.a), Accession(p.b)), p.line);
            });
        }
    }

    void ListedNegative(const ListedPair& p)
    {
        const std::string& file = c_.negativeFile;
        int s = 0;
        if (p.source.empty()) {
            if (set_.sources.size() != 1) {
                throw LineError(file, p.line,
                                "no source column, but the interactions name " + std::to_string(set_.sources.size()) +
                                    " sources; expected a third column naming one of them");
            }
        } else {
            const auto it = sourceIndex_.find(p.source);
            if (it == sourceIndex_.end()) {
                throw LineError(file, p.line,
                                "source " + Shown(p.source) + " reports no interaction in " +
                                    FileList(c_.interactionFiles) +
                                    "; expected a source of the interaction files, whose observation models the "
                                    "pair shares");
            }
            s = it->second;
        }
        const std::uint64_t pair = Packed(Accession(p.a), Accession(p.b));
        if (reportedAny_.count(pair) != 0) {
            w_.Add("non-interacting pairs that a source reports as interacting (both kept)", Where(file, p.line));
        }
        if (!negatives_.insert({s, pair}).second) {
            ++set_.counts.repeated;
        }
    }

    // The proteins of the pair lists with a known length (and a domain, when
    // asked) that keep at least one listed pair; ids in accession order.
    void KeepProteins()
    {
        const std::size_t n = accs_.size();
        set_.counts.proteinsListed = n;
        std::unordered_set<std::string> withDomain;
        for (const DomainTable& t : tables_) {
            for (const DomainHit& h : t.hits) {
                withDomain.insert(h.protein);
            }
        }
        std::vector<char> length(n);
        std::vector<char> domain(n);
        std::vector<char> candidate(n);
        bool anyLength = false;
        for (std::size_t t = 0; t < n; ++t) {
            length[t] = lengths_.count(accs_[t]) != 0;
            domain[t] = withDomain.count(accs_[t]) != 0;
            candidate[t] = length[t] && (domain[t] || !c_.requireDomains);
            anyLength = anyLength || length[t];
        }
        if (!anyLength) {
            throw ToolError("no protein of the pair lists (" + FileList(c_.interactionFiles) +
                            ") has a known length in " +
                            (c_.fastaFile.empty() ? FileList(c_.domainFiles) : c_.fastaFile) +
                            "; expected their sequences in --fasta (or a domain format that states lengths) under the "
                            "same accessions");
        }
        // The leak alone would have to explain a reported pair with a
        // protein without any domain.
        for (const std::uint64_t p : reportedAny_) {
            if (length[Low(p)] && length[High(p)]) {
                ++set_.counts.reportedPairs;
                set_.counts.domainlessPairs += domain[Low(p)] && domain[High(p)] ? 0 : 1;
            }
        }
        std::vector<char> paired(n);
        const auto mark = [&](std::uint64_t p) {
            if (candidate[Low(p)] && candidate[High(p)]) {
                paired[Low(p)] = paired[High(p)] = 1;
            }
        };
        for (const Listing& l : reported_) {
            mark(l.pair);
        }
        for (const Listing& l : negatives_) {
            mark(l.pair);
        }
        for (const auto& [p, line] : predicted_) {
            mark(p);
        }
        const std::string noLength =
            c_.fastaFile.empty() ? "no length: no domain annotation states one" : "no length: not in the FASTA file";
        std::vector<int> kept;
        for (std::size_t t = 0; t < n; ++t) {
            if (!length[t]) {
                ++set_.counts.dropped[noLength];
            } else if (!candidate[t]) {
                ++set_.counts.dropped["no domain (--require-domains)"];
            } else if (!paired[t]) {
                ++set_.counts.dropped["no pair left (every partner dropped)"];
                lostPairs_.insert(accs_[t]);
            } else {
                kept.push_back(static_cast<int>(t));
            }
        }
        if (kept.empty()) {
            throw ToolError("no protein of the pair lists (" + FileList(c_.interactionFiles) +
                            ") is left with a pair of two kept proteins" +
                            (c_.requireDomains ? " and a domain (--require-domains)" : std::string()) +
                            "; expected pairs of proteins with a known length");
        }
        std::sort(kept.begin(), kept.end(), [this](int a, int b) { return accs_[a] < accs_[b]; });
        if (kept.size() > MAX_IDS) {
            throw ToolError(std::to_string(kept.size()) + " proteins; motifbind takes at most " +
                            std::to_string(MAX_IDS));
        }
        final_.assign(n, -1);
        for (const int t : kept) {
            final_[t] = static_cast<int>(set_.proteins.size());
            SetProtein p;
            p.accession = accs_[t];
            p.length = lengths_.at(accs_[t]);
            // Biologists read gene names: the header's, else an alias of
            // the interaction files, else the accession.
            const auto gene = geneNames_.find(p.accession);
            const auto alias = aliasNames_.find(p.accession);
            if (gene != geneNames_.end()) {
                p.name = gene->second;
                ++set_.counts.geneNames;
            } else if (alias != aliasNames_.end()) {
                p.name = alias->second;
                ++set_.counts.aliasNames;
            } else {
                p.name = p.accession;
            }
            set_.proteins.push_back(std::move(p));
        }
    }

    // The id of an accession in the set, or -1.
    int IdOf(const std::string& acc) const
    {
        const auto it = accIndex_.find(acc);
        return it == accIndex_.end() ? -1 : final_[it->second];
    }

    void AddDomains()
    {
        // Per protein, the ranges of each family's copies.
        std::vector<std::map<std::string, std::vector<std::pair<int, int>>>> copies(set_.proteins.size());
        std::vector<std::vector<std::pair<int, int>>> ranges(set_.proteins.size());
        std::set<std::tuple<int, std::string, int, int>> seen;
        std::map<std::string, std::string> names;
        std::map<std::string, std::string> descriptions; // the first of each family
        std::set<std::string> lost;                      // families of proteins that lost every pair
        for (const DomainTable& t : tables_) {
            for (const DomainHit& h : t.hits) {
                const int id = IdOf(h.protein);
                if (id < 0) {
                    ++set_.counts.hitsElsewhere;
                    if (lostPairs_.count(h.protein) != 0) {
                        lost.insert(h.family);
                    }
                    continue;
                }
                const SetProtein& p = set_.proteins[static_cast<std::size_t>(id)];
                if (h.end > p.length) {
                    throw LineError(t.path, h.line,
                                    "domain " + Shown(h.family) + " at " + std::to_string(h.start) + "-" +
                                        std::to_string(h.end) + " ends past the end of " + h.protein + ", which has " +
                                        std::to_string(p.length) +
                                        " residues; expected the sequence the annotation was made on");
                }
                // Within a file the reader merged repeats already.
                if (!seen.emplace(id, h.family, h.start, h.end).second) {
                    w_.Add("domain ranges listed twice (counted once)", Where(t.path, h.line));
                    continue;
                }
                ++set_.counts.hits;
                copies[static_cast<std::size_t>(id)][h.family].emplace_back(h.start, h.end);
                ranges[static_cast<std::size_t>(id)].emplace_back(h.start, h.end);
                names.emplace(h.family, h.name);
                if (!h.description.empty()) {
                    descriptions.emplace(h.family, h.description);
                }
            }
        }
        // SetMotif ids: the most widely carried families first, so that -s N
        // perturbs the N most common ones.
        std::map<std::string, int> carriers;
        for (const auto& fams : copies) {
            for (const auto& [family, list] : fams) {
                ++carriers[family];
            }
        }
        for (const std::string& family : lost) {
            set_.counts.familiesDropped += carriers.count(family) == 0 ? 1 : 0;
        }
        std::vector<std::pair<int, std::string>> order;
        for (const auto& [family, n] : carriers) {
            order.emplace_back(-n, family);
        }
        std::sort(order.begin(), order.end());
        if (order.size() > MAX_IDS) {
            throw ToolError(std::to_string(order.size()) + " domain families; motifbind takes at most " +
                            std::to_string(MAX_IDS));
        }
        std::map<std::string, int> motifId;
        for (const auto& [negCarriers, family] : order) {
            motifId.emplace(family, static_cast<int>(set_.motifs.size()));
            set_.motifs.push_back({family, names.at(family), -negCarriers, DisplayName(family, names, descriptions)});
        }
        for (std::size_t i = 0; i < set_.proteins.size(); ++i) {
            SetProtein& p = set_.proteins[i];
            // A motif is as long as the residues its copies cover: residues
            // under two overlapping copies are one stretch of the motif.
            for (const auto& [family, list] : copies[i]) {
                p.motifs.emplace_back(motifId.at(family), static_cast<int>(CoveredResidues(list)));
            }
            std::sort(p.motifs.begin(), p.motifs.end());
            p.coverage = static_cast<int>(CoveredResidues(ranges[i]));
            set_.counts.withoutDomains += p.motifs.empty() ? 1 : 0;
        }
        for (const SetMotif& m : set_.motifs) {
            familyId_.emplace(m.family, &m - set_.motifs.data());
        }
        for (const SetMotif& m : set_.motifs) {
            familyId_.emplace(m.name, &m - set_.motifs.data());
        }
    }

    // A family's display name: the family names file's, by key or name,
    // else the annotation's description, else its name.
    std::string DisplayName(const std::string& family, const std::map<std::string, std::string>& names,
                            const std::map<std::string, std::string>& descriptions)
    {
        const std::string& name = names.at(family);
        for (const std::string* key : {&family, &name}) {
            const auto it = familyNames_.find(*key);
            if (it != familyNames_.end()) {
                ++set_.counts.familyNamesUsed;
                return it->second;
            }
        }
        const auto d = descriptions.find(family);
        return d != descriptions.end() ? d->second : name;
    }

    // The set's ids of a listed pair as a PairIndex key, or -1 when a protein
    // was dropped.
    std::int64_t Key(std::uint64_t pair) const
    {
        const int a = final_[static_cast<std::size_t>(Low(pair))];
        const int b = final_[static_cast<std::size_t>(High(pair))];
        return a < 0 || b < 0 ? -1 : PairIndex64(a, b);
    }

    void AddObservations()
    {
        positives_.assign(set_.sources.size(), {});
        negativesBySource_.assign(set_.sources.size(), {});
        std::set<std::int64_t> selfPairs;
        for (const Listing& l : reported_) {
            const std::int64_t k = Key(l.pair);
            if (k < 0) {
                ++set_.counts.pairsDropped;
                continue;
            }
            positives_[static_cast<std::size_t>(l.source)].push_back(k);
            const PairKey p = PairRevIndex64(k);
            reportedPairs_.Add(p.first, p.second);
            if (p.first == p.second) {
                selfPairs.insert(k);
            }
        }
        set_.counts.selfKept = selfPairs.size();
        for (Keys& keys : positives_) {
            SortUnique(keys);
        }
        if (c_.negativeFile.empty()) {
            SampleAll();
        } else {
            for (const Listing& l : negatives_) {
                const std::int64_t k = Key(l.pair);
                if (k < 0) {
                    ++set_.counts.pairsDropped;
                    continue;
                }
                negativesBySource_[static_cast<std::size_t>(l.source)].push_back(k);
            }
        }
        for (Keys& keys : negativesBySource_) {
            SortUnique(keys);
        }
        for (std::size_t s = 0; s < set_.sources.size(); ++s) {
            set_.counts.degreeCorrelation.push_back(DegreeCorrelation(positives_[s], negativesBySource_[s]));
        }
    }

    void SampleAll()
    {
        for (std::size_t s = 0; s < set_.sources.size(); ++s) {
            std::vector<PairKey> pos;
            for (const std::int64_t k : positives_[s]) {
                pos.push_back(PairRevIndex64(k));
            }
            const auto count =
                static_cast<std::size_t>(std::llround(c_.negativeRatio * static_cast<double>(pos.size())));
            Rng rng(c_.seed, 1 + s);
            const std::vector<PairKey> drawn = SampleNegativesUpTo(pos, reportedPairs_, count, c_.sampling, rng);
            // A source with one reported pair has no free pair among its
            // proteins: it gets what there is.
            if (drawn.size() < count) {
                w_.Add(
                    "sources with fewer free pairs among their proteins than the non-interacting pairs asked for "
                    "(as many drawn as there are)",
                    "source " + Shown(set_.sources[s]) + ", " + std::to_string(drawn.size()) + " of " +
                        std::to_string(count));
            }
            for (const PairKey& p : drawn) {
                negativesBySource_[s].push_back(PairIndex64(p.first, p.second));
            }
        }
    }

    // How alike the proteins' numbers of reported and of non-interacting
    // pairs are: near 1 when a protein's degree does not tell the two apart.
    static double DegreeCorrelation(const Keys& pos, const Keys& neg)
    {
        // Each end of each pair, tagged 0 for reported and 1 for not.
        std::vector<std::pair<int, int>> ends;
        for (const auto* keys : {&pos, &neg}) {
            for (const std::int64_t k : *keys) {
                const PairKey p = PairRevIndex64(k);
                ends.emplace_back(p.first, keys == &neg ? 1 : 0);
                ends.emplace_back(p.second, keys == &neg ? 1 : 0);
            }
        }
        std::sort(ends.begin(), ends.end());
        std::vector<double> x;
        std::vector<double> y;
        for (std::size_t i = 0; i < ends.size(); ++i) {
            if (i == 0 || ends[i].first != ends[i - 1].first) {
                x.push_back(0.0);
                y.push_back(0.0);
            }
            (ends[i].second == 0 ? x.back() : y.back()) += 1.0;
        }
        return x.size() < 2 ? std::nan("") : Correlation(x, y);
    }

    void HoldOut()
    {
        Keys observed;
        for (std::size_t s = 0; s < set_.sources.size(); ++s) {
            observed.insert(observed.end(), positives_[s].begin(), positives_[s].end());
            observed.insert(observed.end(), negativesBySource_[s].begin(), negativesBySource_[s].end());
        }
        SortUnique(observed);
        std::vector<std::int64_t> pos;
        std::vector<std::int64_t> neg;
        // Training observations left to each protein, reported training
        // pairs to each source.
        std::vector<std::size_t> proteinLeft(set_.proteins.size());
        for (const std::int64_t k : observed) {
            const PairKey p = PairRevIndex64(k);
            (reportedPairs_.Has(p.first, p.second) ? pos : neg).push_back(k);
            ++proteinLeft[static_cast<std::size_t>(p.first)];
            if (p.first != p.second) {
                ++proteinLeft[static_cast<std::size_t>(p.second)];
            }
        }
        std::vector<std::size_t> sourceLeft(set_.sources.size());
        std::unordered_map<std::int64_t, std::vector<int>> reporters;
        for (std::size_t s = 0; s < set_.sources.size(); ++s) {
            sourceLeft[s] = positives_[s].size();
            if (c_.holdout > 0.0) {
                for (const std::int64_t k : positives_[s]) {
                    reporters[k].push_back(static_cast<int>(s));
                }
            }
        }
        const auto accept = [&](std::int64_t k) {
            const PairKey p = PairRevIndex64(k);
            const auto a = static_cast<std::size_t>(p.first);
            const auto b = static_cast<std::size_t>(p.second);
            const auto r = reporters.find(k);
            if (c_.holdoutGuard) {
                if (proteinLeft[a] < 2 || proteinLeft[b] < 2) {
                    return false;
                }
                if (r != reporters.end()) {
                    for (const int s : r->second) {
                        if (sourceLeft[static_cast<std::size_t>(s)] < 2) {
                            return false;
                        }
                    }
                }
            }
            --proteinLeft[a];
            if (a != b) {
                --proteinLeft[b];
            }
            if (r != reporters.end()) {
                for (const int s : r->second) {
                    --sourceLeft[static_cast<std::size_t>(s)];
                }
            }
            return true;
        };
        Keys held;
        if (c_.holdout > 0.0) {
            Rng rng(c_.seed, HOLDOUT_STREAM);
            held = Draw(pos, c_.holdout, rng, accept, set_.counts.holdoutAsked, set_.counts.guarded);
            const Keys heldNeg = Draw(neg, c_.holdout, rng, accept, set_.counts.holdoutAsked, set_.counts.guarded);
            held.insert(held.end(), heldNeg.begin(), heldNeg.end());
            SortUnique(held);
        }
        for (std::size_t s = 0; s < set_.sources.size(); ++s) {
            if (!positives_[s].empty() && sourceLeft[s] == 0) {
                throw ToolError("--holdout " + RealText(c_.holdout) + " leaves source " + Shown(set_.sources[s]) +
                                " without a reported training pair (all " + std::to_string(positives_[s].size()) +
                                " held out); expected a smaller --holdout, or the hold-out guard");
            }
        }
        for (const std::int64_t k : held) {
            const PairKey p = PairRevIndex64(k);
            set_.holdout.emplace_back(p, reportedPairs_.Has(p.first, p.second) ? 1 : 0);
            const bool cold = proteinLeft[static_cast<std::size_t>(p.first)] == 0 ||
                              proteinLeft[static_cast<std::size_t>(p.second)] == 0;
            set_.counts.coldStart += cold ? 1 : 0;
        }
        set_.counts.positives.assign(set_.sources.size(), 0);
        set_.counts.negatives.assign(set_.sources.size(), 0);
        for (std::size_t s = 0; s < set_.sources.size(); ++s) {
            for (const std::int64_t k : positives_[s]) {
                if (!Contains(held, k)) {
                    set_.observations.push_back({PairRevIndex64(k), 1, static_cast<int>(s)});
                    ++set_.counts.positives[s];
                    trainingReported_.push_back(k);
                    trainingObserved_.push_back(k);
                }
            }
            for (const std::int64_t k : negativesBySource_[s]) {
                if (!Contains(held, k)) {
                    set_.observations.push_back({PairRevIndex64(k), 0, static_cast<int>(s)});
                    ++set_.counts.negatives[s];
                    trainingObserved_.push_back(k);
                }
            }
        }
        SortUnique(trainingReported_);
        SortUnique(trainingObserved_);
    }

    // Every motif pair formed by a motif of each protein of a reported
    // interaction (held-out ones excluded, so that they cannot shape the
    // model they are scored on), with the number of interactions carrying it.
    void AddCandidates()
    {
        std::map<std::int64_t, int> support;
        std::vector<std::int64_t> here;
        for (const std::int64_t k : trainingReported_) {
            const PairKey p = PairRevIndex64(k);
            here.clear();
            for (const auto& [m1, len1] : set_.proteins[p.first].motifs) {
                for (const auto& [m2, len2] : set_.proteins[p.second].motifs) {
                    here.push_back(PairIndex64(m1, m2));
                }
            }
            std::sort(here.begin(), here.end());
            here.erase(std::unique(here.begin(), here.end()), here.end());
            for (const std::int64_t m : here) {
                ++support[m];
            }
        }
        set_.counts.motifPairs = support.size();
        std::unordered_set<std::int64_t> active;
        for (const auto& [m, n] : support) {
            if (n >= c_.minSupport) {
                set_.candidates.emplace_back(PairRevIndex64(m), n);
                active.insert(m);
            }
        }
        // One binding variable per ordered motif combination of an observed
        // pair whose motif pair is a candidate.
        for (const std::int64_t k : trainingObserved_) {
            const PairKey p = PairRevIndex64(k);
            for (const auto& [m1, len1] : set_.proteins[p.first].motifs) {
                for (const auto& [m2, len2] : set_.proteins[p.second].motifs) {
                    set_.bindingVariables += active.count(PairIndex64(m1, m2));
                }
            }
        }
        active_ = std::move(active);
    }

    void AddDdi()
    {
        if (c_.ddiFile.empty()) {
            return;
        }
        set_.ddi = true;
        std::set<std::int64_t> pairs;
        ReadFamilyPairs(c_.ddiFile, [&](FamilyPair&& f) {
            ++set_.counts.ddiListed;
            const auto a = familyId_.find(f.a);
            const auto b = familyId_.find(f.b);
            if (a == familyId_.end() || b == familyId_.end()) {
                ++set_.counts.ddiUnknown;
                return;
            }
            const std::int64_t k = PairIndex64(static_cast<int>(a->second), static_cast<int>(b->second));
            if (active_.count(k) == 0) {
                ++set_.counts.ddiNotCandidate;
                return;
            }
            pairs.insert(k);
        });
        for (const std::int64_t k : pairs) {
            set_.ddiPairs.push_back(PairRevIndex64(k));
        }
    }

    void AddPredictions()
    {
        Keys pairs;
        if (c_.predictFile.empty()) {
            pairs = trainingObserved_;
            for (const auto& [key, state] : set_.holdout) {
                pairs.push_back(PairIndex64(key.first, key.second));
            }
        }
        std::vector<std::size_t> unknownLines;
        for (const auto& [pair, line] : predicted_) {
            ++set_.counts.predictListed;
            const std::int64_t k = Key(pair);
            if (k < 0) {
                ++set_.counts.predictUnknown;
                unknownLines.push_back(line);
                continue;
            }
            pairs.push_back(k);
        }
        SortUnique(pairs);
        // Named in file order, whatever the order of the hash table.
        std::sort(unknownLines.begin(), unknownLines.end());
        for (const std::size_t line : unknownLines) {
            w_.Add("pairs to predict naming a protein not in the set (not predicted)", Where(c_.predictFile, line));
        }
        for (const std::int64_t k : pairs) {
            set_.predict.push_back(PairRevIndex64(k));
        }
    }

    const PrepConfig& c_;
    Warnings& w_;
    PreparedSet set_;

    std::vector<DomainTable> tables_;
    std::map<std::string, int> lengths_;
    std::map<std::string, std::string> geneNames_;            // accession -> FASTA gene name
    std::unordered_map<std::string, std::string> aliasNames_; // accession -> first alias read
    std::map<std::string, std::string> familyNames_;          // family key or name -> display name

    // The pair lists as read, by accession index.
    std::unordered_map<std::string, int> accIndex_;
    std::vector<std::string> accs_;
    std::unordered_map<std::string, int> sourceIndex_;
    std::unordered_set<Listing, ListingHash> reported_;
    std::unordered_set<std::uint64_t> reportedAny_; // by any source
    std::unordered_set<Listing, ListingHash> negatives_;
    std::unordered_map<std::uint64_t, std::size_t> predicted_; // pair -> its first line
    std::set<std::string> lostPairs_;                          // proteins dropped because every partner was

    std::vector<int> final_;                                // accession index -> protein id, -1 when dropped
    std::unordered_map<std::string, std::size_t> familyId_; // family key or name -> motif id
    std::vector<Keys> positives_;                           // per source
    std::vector<Keys> negativesBySource_;
    ReportedPairs reportedPairs_;
    Keys trainingReported_;
    Keys trainingObserved_;
    std::unordered_set<std::int64_t> active_;
};

} // namespace

PreparedSet Prepare(const PrepConfig& config, Warnings& warnings) { return Builder(config, warnings).Build(); }

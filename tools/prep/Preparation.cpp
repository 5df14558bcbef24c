#include "tools/prep/Preparation.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "tools/common/Rng.h"
#include "tools/common/ToolError.h"
#include "tools/prep/Coverage.h"
#include "tools/prep/FamilyPairs.h"
#include "tools/prep/Fasta.h"

namespace {

// Ids are keyed by L*(L+1)/2 + S in 32-bit signed arithmetic in motifbind.
constexpr std::size_t MAX_IDS = 46339;
// Random streams, so that changing one part leaves the draws of the others.
constexpr std::uint64_t HOLDOUT_STREAM = 1000;

// A pair as listed, with where it was listed.
struct Listed {
    ListedPair pair;
    std::string file;
};

using PairSet = std::set<std::int64_t>;

PairKey KeyOf(std::int64_t index)
{
    // Inverse of PairIndex in exact integer arithmetic.
    std::int64_t l = static_cast<std::int64_t>(std::sqrt(2.0 * static_cast<double>(index)));
    while (l * (l + 1) / 2 > index) {
        --l;
    }
    while ((l + 1) * (l + 2) / 2 <= index) {
        ++l;
    }
    return {static_cast<int>(l), static_cast<int>(index - l * (l + 1) / 2)};
}

std::map<std::string, int> ReadLengths(const PrepConfig& c, const std::vector<DomainTable>& tables, Warnings& w)
{
    std::map<std::string, int> lengths;
    if (!c.fastaFile.empty()) {
        lengths = ReadFastaLengths(c.fastaFile, c.accessions, w);
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

// Draws round(fraction * size) entries of `keys` without replacement.
std::vector<std::int64_t> Draw(std::vector<std::int64_t> keys, double fraction, Rng& rng)
{
    const std::size_t n = static_cast<std::size_t>(std::llround(fraction * static_cast<double>(keys.size())));
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = i + static_cast<std::size_t>(rng.Below(keys.size() - i));
        std::swap(keys[i], keys[j]);
    }
    keys.resize(n);
    return keys;
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
    void ReadInputs()
    {
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
        lengths_ = ReadLengths(c_, tables_, w_);
        for (const std::string& file : c_.interactionFiles) {
            InteractionInput in;
            in.path = file;
            in.format = c_.interactionFormat;
            in.experiment = c_.mitabExperiment;
            in.defaultSource = c_.source;
            for (ListedPair& p : ReadInteractions(in, c_.accessions, w_)) {
                if (c_.dropSelf && p.a == p.b) {
                    ++set_.counts.selfDropped;
                    continue;
                }
                reported_.push_back({std::move(p), file});
            }
        }
        if (!c_.negativeFile.empty()) {
            for (ListedPair& p : ReadPairList(c_.negativeFile, true, c_.accessions, w_)) {
                negatives_.push_back({std::move(p), c_.negativeFile});
            }
        }
        if (!c_.predictFile.empty()) {
            for (ListedPair& p : ReadPairList(c_.predictFile, false, c_.accessions, w_)) {
                predicted_.push_back({std::move(p), c_.predictFile});
            }
        }
    }

    // Every protein of a pair list whose length is known; ids in accession order.
    void KeepProteins()
    {
        std::set<std::string> listed;
        for (const auto* list : {&reported_, &negatives_, &predicted_}) {
            for (const Listed& l : *list) {
                listed.insert(l.pair.a);
                listed.insert(l.pair.b);
            }
        }
        set_.counts.proteinsListed = listed.size();
        if (reported_.empty()) {
            throw ToolError("the interaction files list no interaction; expected lines of two protein accessions");
        }
        const std::string reason = c_.fastaFile.empty() ? "no length: no domain annotation states one"
                                                        : "no length: not in the FASTA file";
        for (const std::string& acc : listed) {
            const auto it = lengths_.find(acc);
            if (it == lengths_.end()) {
                ++set_.counts.dropped[reason];
                continue;
            }
            id_.emplace(acc, static_cast<int>(set_.proteins.size()));
            SetProtein p;
            p.accession = acc;
            p.length = it->second;
            set_.proteins.push_back(std::move(p));
        }
        if (set_.proteins.empty()) {
            throw ToolError("no protein of the pair lists has a known length; expected their sequences in --fasta "
                            "(or a domain format that states lengths) under the same accessions");
        }
        if (set_.proteins.size() > MAX_IDS) {
            throw ToolError(std::to_string(set_.proteins.size()) + " proteins; motifbind takes at most " +
                            std::to_string(MAX_IDS));
        }
    }

    void AddDomains()
    {
        std::vector<std::map<std::string, int>> summed(set_.proteins.size());
        std::vector<std::vector<std::pair<int, int>>> ranges(set_.proteins.size());
        std::set<std::tuple<int, std::string, int, int>> seen;
        std::map<std::string, std::string> names;
        for (const DomainTable& t : tables_) {
            for (const DomainHit& h : t.hits) {
                const auto it = id_.find(h.protein);
                if (it == id_.end()) {
                    ++set_.counts.hitsElsewhere;
                    continue;
                }
                const SetProtein& p = set_.proteins[it->second];
                if (h.end > p.length) {
                    throw LineError(t.path, h.line, "domain " + Shown(h.family) + " at " + std::to_string(h.start) +
                                                        "-" + std::to_string(h.end) + " ends past the end of " +
                                                        h.protein + ", which has " + std::to_string(p.length) +
                                                        " residues; expected the sequence the annotation was made on");
                }
                if (!seen.emplace(it->second, h.family, h.start, h.end).second) {
                    w_.Add("domain ranges listed twice (counted once)", Where(t.path, h.line));
                    continue;
                }
                ++set_.counts.hits;
                summed[it->second][h.family] += h.end - h.start + 1;
                ranges[it->second].emplace_back(h.start, h.end);
                names.emplace(h.family, h.name);
            }
        }
        // SetMotif ids: the most widely carried families first, so that -s N
        // perturbs the N most common ones.
        std::map<std::string, int> carriers;
        for (const auto& fams : summed) {
            for (const auto& [family, len] : fams) {
                ++carriers[family];
            }
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
            set_.motifs.push_back({family, names.at(family), -negCarriers});
        }
        for (std::size_t i = 0; i < set_.proteins.size(); ++i) {
            SetProtein& p = set_.proteins[i];
            for (const auto& [family, len] : summed[i]) {
                p.motifs.emplace_back(motifId.at(family), len);
            }
            std::sort(p.motifs.begin(), p.motifs.end());
            p.coverage = CoveredResidues(ranges[i]);
            set_.counts.withoutDomains += p.motifs.empty() ? 1 : 0;
        }
        for (const SetMotif& m : set_.motifs) {
            familyId_.emplace(m.family, &m - set_.motifs.data());
        }
        for (const SetMotif& m : set_.motifs) {
            familyId_.emplace(m.name, &m - set_.motifs.data());
        }
    }

    int SourceId(const std::string& name)
    {
        const auto it = std::find(set_.sources.begin(), set_.sources.end(), name);
        if (it != set_.sources.end()) {
            return static_cast<int>(it - set_.sources.begin());
        }
        set_.sources.push_back(name);
        positives_.emplace_back();
        negativesBySource_.emplace_back();
        return static_cast<int>(set_.sources.size() - 1);
    }

    // The ids of a listed pair, or false when one protein was dropped.
    bool Ids(const ListedPair& p, PairKey& key) const
    {
        const auto a = id_.find(p.a);
        const auto b = id_.find(p.b);
        if (a == id_.end() || b == id_.end()) {
            return false;
        }
        key = MakePairKey(a->second, b->second);
        return true;
    }

    void AddObservations()
    {
        std::set<std::int64_t> selfPairs;
        for (const Listed& l : reported_) {
            const int s = SourceId(l.pair.source);
            PairKey key;
            if (!Ids(l.pair, key)) {
                ++set_.counts.pairsDropped;
                continue;
            }
            const std::int64_t k = PairIndex(key.first, key.second);
            if (!positives_[s].insert(k).second) {
                ++set_.counts.repeated;
                continue;
            }
            allReported_.insert(k);
            if (key.first == key.second) {
                selfPairs.insert(k);
            }
        }
        set_.counts.selfKept = selfPairs.size();
        if (c_.negativeFile.empty()) {
            SampleAll();
        } else {
            ListedNegatives();
        }
    }

    void SampleAll()
    {
        for (std::size_t s = 0; s < set_.sources.size(); ++s) {
            std::vector<PairKey> pos;
            for (const std::int64_t k : positives_[s]) {
                pos.push_back(KeyOf(k));
            }
            const auto count = static_cast<std::size_t>(std::llround(c_.negativeRatio * static_cast<double>(pos.size())));
            Rng rng(c_.seed, 1 + s);
            for (const PairKey& p : SampleNegatives(pos, allReported_, count, c_.sampling, rng)) {
                negativesBySource_[s].insert(PairIndex(p.first, p.second));
            }
        }
    }

    void ListedNegatives()
    {
        for (const Listed& l : negatives_) {
            int s = 0;
            if (l.pair.source.empty()) {
                if (set_.sources.size() != 1) {
                    throw LineError(l.file, l.pair.line,
                                    "no source column, but the interactions name " +
                                        std::to_string(set_.sources.size()) +
                                        " sources; expected a third column naming one of them");
                }
            } else {
                const auto it = std::find(set_.sources.begin(), set_.sources.end(), l.pair.source);
                if (it == set_.sources.end()) {
                    throw LineError(l.file, l.pair.line,
                                    "source " + Shown(l.pair.source) +
                                        " reports no interaction; expected a source of the interaction files, "
                                        "whose observation models the pair shares");
                }
                s = static_cast<int>(it - set_.sources.begin());
            }
            PairKey key;
            if (!Ids(l.pair, key)) {
                ++set_.counts.pairsDropped;
                continue;
            }
            const std::int64_t k = PairIndex(key.first, key.second);
            if (allReported_.count(k) != 0) {
                w_.Add("non-interacting pairs that a source reports as interacting (both kept)",
                       Where(l.file, l.pair.line));
            }
            if (!negativesBySource_[s].insert(k).second) {
                ++set_.counts.repeated;
            }
        }
    }

    void HoldOut()
    {
        std::set<std::int64_t> observed;
        for (std::size_t s = 0; s < set_.sources.size(); ++s) {
            observed.insert(positives_[s].begin(), positives_[s].end());
            observed.insert(negativesBySource_[s].begin(), negativesBySource_[s].end());
        }
        std::vector<std::int64_t> pos;
        std::vector<std::int64_t> neg;
        for (const std::int64_t k : observed) {
            (allReported_.count(k) != 0 ? pos : neg).push_back(k);
        }
        std::set<std::int64_t> held;
        if (c_.holdout > 0.0) {
            Rng rng(c_.seed, HOLDOUT_STREAM);
            for (const std::int64_t k : Draw(pos, c_.holdout, rng)) {
                held.insert(k);
            }
            for (const std::int64_t k : Draw(neg, c_.holdout, rng)) {
                held.insert(k);
            }
        }
        for (const std::int64_t k : held) {
            set_.holdout.emplace_back(KeyOf(k), allReported_.count(k) != 0 ? 1 : 0);
        }
        set_.counts.positives.assign(set_.sources.size(), 0);
        set_.counts.negatives.assign(set_.sources.size(), 0);
        for (std::size_t s = 0; s < set_.sources.size(); ++s) {
            for (const std::int64_t k : positives_[s]) {
                if (held.count(k) == 0) {
                    set_.observations.push_back({KeyOf(k), 1, static_cast<int>(s)});
                    ++set_.counts.positives[s];
                    trainingReported_.insert(k);
                    trainingObserved_.insert(k);
                }
            }
            for (const std::int64_t k : negativesBySource_[s]) {
                if (held.count(k) == 0) {
                    set_.observations.push_back({KeyOf(k), 0, static_cast<int>(s)});
                    ++set_.counts.negatives[s];
                    trainingObserved_.insert(k);
                }
            }
        }
    }

    // Every motif pair formed by a motif of each protein of a reported
    // interaction (held-out ones excluded, so that they cannot shape the
    // model they are scored on), with the number of interactions carrying it.
    void AddCandidates()
    {
        std::map<std::int64_t, int> support;
        std::vector<std::int64_t> here;
        for (const std::int64_t k : trainingReported_) {
            const PairKey p = KeyOf(k);
            here.clear();
            for (const auto& [m1, len1] : set_.proteins[p.first].motifs) {
                for (const auto& [m2, len2] : set_.proteins[p.second].motifs) {
                    here.push_back(PairIndex(m1, m2));
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
                set_.candidates.emplace_back(KeyOf(m), n);
                active.insert(m);
            }
        }
        // One binding variable per ordered motif combination of an observed
        // pair whose motif pair is a candidate.
        for (const std::int64_t k : trainingObserved_) {
            const PairKey p = KeyOf(k);
            for (const auto& [m1, len1] : set_.proteins[p.first].motifs) {
                for (const auto& [m2, len2] : set_.proteins[p.second].motifs) {
                    set_.bindingVariables += active.count(PairIndex(m1, m2));
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
        for (const FamilyPair& f : ReadFamilyPairs(c_.ddiFile)) {
            ++set_.counts.ddiListed;
            const auto a = familyId_.find(f.a);
            const auto b = familyId_.find(f.b);
            if (a == familyId_.end() || b == familyId_.end()) {
                ++set_.counts.ddiUnknown;
                continue;
            }
            const std::int64_t k = PairIndex(static_cast<int>(a->second), static_cast<int>(b->second));
            if (active_.count(k) == 0) {
                ++set_.counts.ddiNotCandidate;
                continue;
            }
            pairs.insert(k);
        }
        for (const std::int64_t k : pairs) {
            set_.ddiPairs.push_back(KeyOf(k));
        }
    }

    void AddPredictions()
    {
        std::set<std::int64_t> pairs;
        if (c_.predictFile.empty()) {
            pairs = trainingObserved_;
            for (const auto& [key, state] : set_.holdout) {
                pairs.insert(PairIndex(key.first, key.second));
            }
        }
        for (const Listed& l : predicted_) {
            ++set_.counts.predictListed;
            PairKey key;
            if (!Ids(l.pair, key)) {
                ++set_.counts.predictUnknown;
                w_.Add("pairs to predict naming a protein not in the set (not predicted)", Where(l.file, l.pair.line));
                continue;
            }
            pairs.insert(PairIndex(key.first, key.second));
        }
        for (const std::int64_t k : pairs) {
            set_.predict.push_back(KeyOf(k));
        }
    }

    const PrepConfig& c_;
    Warnings& w_;
    PreparedSet set_;

    std::vector<DomainTable> tables_;
    std::map<std::string, int> lengths_;
    std::vector<Listed> reported_;
    std::vector<Listed> negatives_;
    std::vector<Listed> predicted_;

    std::unordered_map<std::string, int> id_;             // accession -> protein id
    std::unordered_map<std::string, std::size_t> familyId_;  // family key or name -> motif id
    std::vector<PairSet> positives_;                      // per source
    std::vector<PairSet> negativesBySource_;
    std::unordered_set<std::int64_t> allReported_;
    std::set<std::int64_t> trainingReported_;
    std::set<std::int64_t> trainingObserved_;
    std::unordered_set<std::int64_t> active_;
};

} // namespace

PreparedSet Prepare(const PrepConfig& config, Warnings& warnings) { return Builder(config, warnings).Build(); }

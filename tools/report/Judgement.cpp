#include "tools/report/Judgement.h"

#include <algorithm>
#include "tools/common/LineReader.h"
#include "tools/common/ToolError.h"
#include "tools/report/Curves.h"

namespace {

constexpr std::size_t TOPS[] = {10, 50, 100};

NamedPairs ReadPairs(const std::filesystem::path& path,
                     const std::function<std::optional<int>(const std::string&)>& id)
{
    LineReader in(path.string());
    NamedPairs r;
    std::string line;
    bool first = true;
    while (in.Next(line)) {
        const std::vector<std::string_view> f = Words(in, line);
        if (f.empty() || f[0][0] == '#') {
            continue;
        }
        if (f.size() != 2) {
            throw in.Error(std::to_string(f.size()) + " fields in " + Shown(line) + "; expected two names");
        }
        const std::optional<int> a = id(std::string(f[0]));
        const std::optional<int> b = id(std::string(f[1]));
        if (!a || !b) {
            if (!(first && !a && !b)) {  // a header names nothing
                ++r.unknown;
            }
        } else {
            r.pairs.insert(MakePairKey(*a, *b));
        }
        first = false;
    }
    return r;
}

} // namespace

NamedPairs ReadProteinPairs(const std::filesystem::path& path, const Names& names)
{
    return ReadPairs(path, [&names](const std::string& s) { return names.ProteinId(s); });
}

NamedPairs ReadMotifPairs(const std::filesystem::path& path, const Names& names)
{
    return ReadPairs(path, [&names](const std::string& s) { return names.MotifId(s); });
}

TruthView JudgeTruth(const std::set<PairKey>& interacting, const std::set<PairKey>& notInteracting,
                     const std::function<std::optional<double>(const PairKey&)>& score,
                     const std::map<int, int>* degree)
{
    TruthView t;
    std::vector<ScoredPair> model;
    std::vector<ScoredPair> baseline;
    const auto degreeOf = [degree](int p) {
        const auto it = degree->find(p);
        return it == degree->end() ? 0.0 : static_cast<double>(it->second);
    };
    for (const auto* set : {&interacting, &notInteracting}) {
        const bool state = set == &interacting;
        for (const PairKey& p : *set) {
            const std::optional<double> s = score(p);
            if (!s) {
                ++t.missing;
                continue;
            }
            (state ? t.interacting : t.notInteracting) += 1;
            model.push_back({*s, state});
            if (degree != nullptr) {
                baseline.push_back({degreeOf(p.first) * degreeOf(p.second), state});
            }
        }
    }
    t.roc.push_back(RocCurve(model, "motifbind"));
    t.pr.push_back(PrecisionRecallCurve(model, "motifbind"));
    if (degree != nullptr) {
        t.roc.push_back(RocCurve(baseline, "degree-only baseline"));
        t.pr.push_back(PrecisionRecallCurve(baseline, "degree-only baseline"));
    }
    return t;
}

KnownView JudgeKnown(const std::map<PairKey, double>& affinities, const std::set<PairKey>& known)
{
    KnownView k;
    std::vector<std::pair<double, PairKey>> ranked;
    for (const auto& [pair, affinity] : affinities) {
        ranked.emplace_back(affinity, pair);
        k.known += known.count(pair);
    }
    // Highest affinity first; equal affinities in pair order, so the table
    // does not depend on how the log happened to list them.
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    k.candidates = ranked.size();
    for (const std::size_t top : TOPS) {
        const std::size_t n = std::min(top, ranked.size());
        KnownView::Row row;
        row.top = n;
        for (std::size_t i = 0; i < n; ++i) {
            row.found += known.count(ranked[i].second);
        }
        row.chance = ranked.empty() ? 0.0
                                    : static_cast<double>(n) * static_cast<double>(k.known) /
                                          static_cast<double>(ranked.size());
        if (k.rows.empty() || k.rows.back().top != n) {
            k.rows.push_back(row);
        }
    }
    return k;
}

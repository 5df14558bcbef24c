#include "tools/report/Judgement.h"

#include <algorithm>

#include "tools/runfiles/DegreeBaseline.h"
#include "tools/stats/Curves.h"
#include "tools/toolbox/LineReader.h"
#include "tools/toolbox/ToolError.h"

namespace {

constexpr std::size_t TOPS[] = {10, 50, 100};

NamedPairs ReadPairs(const std::filesystem::path& path, bool moreColumns,
                     const std::function<std::optional<int>(const std::string&)>& id)
{
    LineReader in(path.string());
    NamedPairs r;
    std::set<std::string> unknown;
    const auto note = [&](std::string_view name, const std::optional<int>& found) {
        if (!found && unknown.emplace(name).second) {
            r.unknownNames.emplace_back(name);
            if (r.unknown.first.size() < UNKNOWN_SHOWN) {
                r.unknown.first.emplace_back(name);
            }
        }
    };
    std::string line;
    bool first = true;
    while (in.Next(line)) {
        const std::vector<std::string_view> f = Words(in, line);
        if (f.empty() || f[0][0] == '#') {
            continue;
        }
        if (f.size() < 2 || (f.size() > 2 && !moreColumns)) {
            throw in.Error(std::to_string(f.size()) + " fields in " + Shown(line) + "; expected two names" +
                           (moreColumns ? " (and maybe more columns)" : ""));
        }
        const std::optional<int> a = id(std::string(f[0]));
        const std::optional<int> b = id(std::string(f[1]));
        if (!a || !b) {
            if (!(first && !a && !b)) { // a header names nothing
                ++r.unknown.pairs;
                note(f[0], a);
                note(f[1], b);
            }
        } else {
            r.pairs.insert(MakePairKey(*a, *b));
        }
        first = false;
    }
    r.unknown.names = unknown.size();
    return r;
}

} // namespace

NamedPairs ReadProteinPairs(const std::filesystem::path& path, const Names& names)
{
    return ReadPairs(path, false, [&names](const std::string& s) { return names.ProteinId(s); });
}

NamedPairs ReadMotifPairs(const std::filesystem::path& path, const Names& names)
{
    return ReadPairs(path, true, [&names](const std::string& s) { return names.MotifId(s); });
}

UnknownNames UnknownOfBoth(const NamedPairs& a, const NamedPairs& b)
{
    UnknownNames u;
    u.pairs = a.unknown.pairs + b.unknown.pairs;
    std::set<std::string> seen;
    for (const NamedPairs* list : {&a, &b}) {
        for (const std::string& n : list->unknownNames) {
            if (seen.insert(n).second && u.first.size() < UNKNOWN_SHOWN) {
                u.first.push_back(n);
            }
        }
    }
    u.names = seen.size();
    return u;
}

TruthView JudgeTruth(const std::set<PairKey>& interacting, const std::set<PairKey>& notInteracting,
                     const std::function<std::optional<double>(const PairKey&)>& score,
                     const std::map<int, int>* degree, const std::function<bool(const PairKey&)>& observed)
{
    TruthView t;
    std::vector<ScoredPair> model;
    std::vector<ScoredPair> baseline;
    for (const auto* set : {&interacting, &notInteracting}) {
        const bool state = set == &interacting;
        for (const PairKey& p : *set) {
            // A pair in both lists is one pair, observed or not.
            if (state || interacting.count(p) == 0) {
                (observed(p) ? t.observed : t.heldOut) += 1;
            }
            const std::optional<double> s = score(p);
            if (!s) {
                ++t.missing;
                continue;
            }
            (state ? t.interacting : t.notInteracting) += 1;
            model.push_back({*s, state});
            if (degree != nullptr) {
                baseline.push_back({DegreeScore(*degree, p), state});
            }
        }
    }
    const auto view = [](const Curve& c, const char* label) { return CurveView{label, c.points, c.area}; };
    t.roc.push_back(view(RocCurve(model), "motifbind"));
    t.pr.push_back(view(PrecisionRecallCurve(model), "motifbind"));
    if (degree != nullptr) {
        t.roc.push_back(view(RocCurve(baseline), "degree-only baseline"));
        t.pr.push_back(view(PrecisionRecallCurve(baseline), "degree-only baseline"));
    }
    return t;
}

KnownView JudgeKnown(const std::map<PairKey, double>& affinities, const std::set<PairKey>& known,
                     const std::set<PairKey>& evidence)
{
    KnownView k;
    std::vector<std::pair<double, PairKey>> ranked;
    for (const auto& [pair, affinity] : affinities) {
        ranked.emplace_back(affinity, pair);
        if (known.count(pair) > 0) {
            ++k.known;
            k.knownOutside += evidence.count(pair) == 0 ? 1 : 0;
        }
    }
    for (const PairKey& p : known) {
        k.circular += evidence.count(p);
    }
    // Highest affinity first; equal affinities in pair order, so the table
    // does not depend on how the log happened to list them.
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    k.candidates = ranked.size();
    const auto chance = [&ranked](std::size_t n, std::size_t of) {
        return ranked.empty() ? 0.0
                              : static_cast<double>(n) * static_cast<double>(of) / static_cast<double>(ranked.size());
    };
    for (const std::size_t top : TOPS) {
        const std::size_t n = std::min(top, ranked.size());
        KnownView::Row row;
        row.top = n;
        for (std::size_t i = 0; i < n; ++i) {
            if (known.count(ranked[i].second) > 0) {
                ++row.found;
                row.foundOutside += evidence.count(ranked[i].second) == 0 ? 1 : 0;
            }
        }
        row.chance = chance(n, k.known);
        row.chanceOutside = chance(n, k.knownOutside);
        if (k.rows.empty() || k.rows.back().top != n) {
            k.rows.push_back(row);
        }
    }
    return k;
}

std::string CircularText(const KnownView& k)
{
    const std::string file = k.evidenceFile.empty() ? std::string() : " (" + k.evidenceFile + ")";
    return "--known lists " + std::to_string(k.circular) + " motif pair" + (k.circular == 1 ? "" : "s") +
           " that the run's domain-domain evidence" + file + " already lists: their enrichment is circular";
}

std::string UnknownText(const std::string& option, const std::string& what, const UnknownNames& u)
{
    const std::string many = what == "family" ? "families" : what + "s";
    std::string shown;
    for (const std::string& n : u.first) {
        shown += (shown.empty() ? "" : ", ") + Shown(n);
    }
    if (u.names > u.first.size()) {
        shown += ", ...";
    }
    return option + " names " + std::to_string(u.names) + " " + (u.names == 1 ? what : many) +
           " the run does not know (" + shown + "): " + std::to_string(u.pairs) + " pair" + (u.pairs == 1 ? "" : "s") +
           " left out";
}

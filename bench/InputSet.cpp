#include "bench/InputSet.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <unordered_set>

#include "format/PairIndex.h"
#include "tools/toolbox/ToolError.h"

namespace {

void CheckIds(const char* what, long record, int a, int b)
{
    if (a < 0 || b < 0) {
        throw ToolError(std::string(what) + " record " + std::to_string(record) + " has a negative id");
    }
}

// Reads records of two ids and `extra` more numbers; calls take(a, b) for each.
template <typename Take>
long ReadRecords(std::istream& in, const char* what, int extra, Take take)
{
    long records = 0;
    int a = 0, b = 0;
    while (in >> a >> b) {
        double skip = 0;
        int got = 0;
        while (got < extra && in >> skip) {
            ++got;
        }
        if (got < extra) {
            break;
        }
        ++records;
        CheckIds(what, records, a, b);
        take(a, b);
    }
    return records;
}

} // namespace

const std::vector<int>& InputSet::Motifs(int prot) const
{
    static const std::vector<int> none;
    return prot >= 0 && static_cast<std::size_t>(prot) < motifsOf.size() ? motifsOf[static_cast<std::size_t>(prot)]
                                                                         : none;
}

InputSet ReadInputSet(std::istream& observations, std::istream& proteinMotifs, std::istream& activePairs)
{
    InputSet set;
    std::unordered_set<std::int64_t> seen;
    set.observations = ReadRecords(observations, "observation", 3, [&](int a, int b) {
        if (seen.insert(PairIndex64(a, b)).second) {
            set.observedPairs.emplace_back(a, b);
        }
    });

    ReadRecords(proteinMotifs, "protein-motif", 1, [&](int prot, int mot) {
        if (static_cast<std::size_t>(prot) >= set.motifsOf.size()) {
            set.motifsOf.resize(static_cast<std::size_t>(prot) + 1);
        }
        set.motifsOf[static_cast<std::size_t>(prot)].push_back(mot);
    });
    for (std::vector<int>& mots : set.motifsOf) {
        std::sort(mots.begin(), mots.end());
        mots.erase(std::unique(mots.begin(), mots.end()), mots.end());
    }

    seen.clear();
    ReadRecords(activePairs, "active motif pair", 1, [&](int a, int b) {
        if (seen.insert(PairIndex64(a, b)).second) {
            set.activePairs.emplace_back(a, b);
        }
    });
    return set;
}

InputSet ReadInputFiles(const std::string& observations, const std::string& proteinMotifs,
                        const std::string& activePairs)
{
    const auto open = [](const std::string& path) {
        std::ifstream in(path);
        if (!in) {
            throw ToolError("cannot open " + path);
        }
        return in;
    };
    std::ifstream obs = open(observations), pm = open(proteinMotifs), act = open(activePairs);
    return ReadInputSet(obs, pm, act);
}

WorkCounts CountWork(const InputSet& set)
{
    std::unordered_set<std::int64_t> active;
    for (const auto& [a, b] : set.activePairs) {
        active.insert(PairIndex64(a, b));
    }
    WorkCounts counts;
    counts.observedPairs = static_cast<long>(set.observedPairs.size());
    counts.activePairs = static_cast<long>(set.activePairs.size());
    for (const auto& [p1, p2] : set.observedPairs) {
        const std::vector<int>& m1 = set.Motifs(p1);
        const std::vector<int>& m2 = set.Motifs(p2);
        counts.motifCombinations += static_cast<long long>(m1.size()) * static_cast<long long>(m2.size());
        for (const int a : m1) {
            for (const int b : m2) {
                counts.bindingVariables += active.count(PairIndex64(a, b)) ? 1 : 0;
            }
        }
    }
    return counts;
}

#include "tools/report/RunInputs.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <vector>

#include "tools/common/NumberRecords.h"

namespace {

// How many words each option of motifbind's command line takes.
const std::map<std::string, std::size_t> ARITY{{"-f", 2}, {"-l", 1}, {"-p", 1}, {"-d", 3},
                                                {"-n", 1}, {"-s", 1}, {"-t", 1}, {"-j", 2},
                                                {"-e", 1}, {"-b", 1}};
constexpr std::size_t OBSERVATIONS = 0;
constexpr std::size_t PROTEIN_MOTIFS = 2;
constexpr std::size_t ACTIVE_PAIRS = 3;
// An observed value this close to 1 is a report of interaction.
constexpr double EPS = 1e-5;

std::vector<std::string> Positionals(const std::string& commandLine)
{
    std::istringstream in(commandLine);
    std::vector<std::string> words;
    for (std::string w; in >> w;) {
        words.push_back(w);
    }
    std::size_t i = 1;  // the program name
    while (i < words.size()) {
        const auto it = ARITY.find(words[i]);
        if (it == ARITY.end()) {
            break;
        }
        i += 1 + it->second;
    }
    return i < words.size() ? std::vector<std::string>(words.begin() + static_cast<long>(i), words.end())
                            : std::vector<std::string>();
}

} // namespace

RunInputs ReadRunInputs(const std::filesystem::path& folder, const std::string& commandLine)
{
    RunInputs r;
    const std::vector<std::string> pos = Positionals(commandLine);
    if (pos.size() <= ACTIVE_PAIRS) {
        r.problem = "the command line in the log names no input files";
        return r;
    }
    for (const std::size_t k : {OBSERVATIONS, PROTEIN_MOTIFS, ACTIVE_PAIRS}) {
        if (!std::filesystem::exists(folder / pos[k])) {
            r.problem = "the run's input file " + pos[k] + " is not beside the log";
            return r;
        }
    }
    const auto motifFile = folder / pos[PROTEIN_MOTIFS];
    std::map<int, std::vector<int>> motifs;
    const auto content = ReadNumberRecords(motifFile, 3);
    for (std::size_t i = 0; i < content.size(); ++i) {
        motifs[IdField(motifFile, content[i], 0, i + 1)].push_back(IdField(motifFile, content[i], 1, i + 1));
    }
    for (auto& [p, list] : motifs) {
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
    }
    const auto activeFile = folder / pos[ACTIVE_PAIRS];
    std::map<PairKey, long long> carriers;
    const auto active = ReadNumberRecords(activeFile, 3);
    for (std::size_t i = 0; i < active.size(); ++i) {
        carriers[MakePairKey(IdField(activeFile, active[i], 0, i + 1), IdField(activeFile, active[i], 1, i + 1))] = 0;
    }
    const auto obsFile = folder / pos[OBSERVATIONS];
    std::set<PairKey> reported;
    std::size_t records = 0;
    ReadNumberRecords(obsFile, 5, [&](const NumberRecord& obs) {
        ++records;
        const PairKey p = MakePairKey(IdField(obsFile, obs, 0, records), IdField(obsFile, obs, 1, records));
        r.observedPairs.insert(p);
        if (std::fabs(obs[2] - 1.0) < EPS) {
            reported.insert(p);
        }
    });
    for (const PairKey& p : reported) {
        ++r.degree[p.first];
        if (p.second != p.first) {
            ++r.degree[p.second];
        }
    }
    // Each observed pair counts once for every active motif pair it carries.
    std::vector<PairKey> here;
    for (const PairKey& p : r.observedPairs) {
        here.clear();
        const auto a = motifs.find(p.first);
        const auto b = motifs.find(p.second);
        if (a == motifs.end() || b == motifs.end()) {
            continue;
        }
        for (const int m1 : a->second) {
            for (const int m2 : b->second) {
                here.push_back(MakePairKey(m1, m2));
            }
        }
        std::sort(here.begin(), here.end());
        here.erase(std::unique(here.begin(), here.end()), here.end());
        for (const PairKey& k : here) {
            const auto it = carriers.find(k);
            if (it != carriers.end()) {
                ++it->second;
            }
        }
    }
    r.carriers = std::move(carriers);
    r.present = true;
    return r;
}

#include "tools/runfiles/BindingSupport.h"

#include <set>
#include <vector>

#include "tools/runfiles/DegreeBaseline.h"
#include "tools/runfiles/ModelStates.h"
#include "tools/runfiles/NumberRecords.h"

std::map<PairKey, int> CountBindingVariables(const std::filesystem::path& folder, std::set<std::pair<int, int>>* models,
                                             std::set<PairKey>* reported)
{
    // Repeated (protein, motif) records name the same motif once: the
    // lengths of copies matter for leaks, not for binding variables.
    const std::filesystem::path motifFile = folder / "protein_motifs.txt";
    std::map<int, std::set<int>> motifsOf;
    const auto motifRecords = ReadNumberRecords(motifFile, 3);
    for (std::size_t r = 0; r < motifRecords.size(); ++r) {
        motifsOf[IdField(motifFile, motifRecords[r], 0, r + 1)].insert(IdField(motifFile, motifRecords[r], 1, r + 1));
    }

    const std::filesystem::path activeFile = folder / "active_motif_pairs.txt";
    std::map<PairKey, int> count;
    const auto activeRecords = ReadNumberRecords(activeFile, 3);
    for (std::size_t r = 0; r < activeRecords.size(); ++r) {
        count[MakePairKey(IdField(activeFile, activeRecords[r], 0, r + 1),
                          IdField(activeFile, activeRecords[r], 1, r + 1))] = 0;
    }

    // Several observations of one protein pair share its binding variables.
    const std::filesystem::path obsFile = folder / "ppi_observations.txt";
    std::set<PairKey> observed;
    const auto obsRecords = ReadNumberRecords(obsFile, 5);
    for (std::size_t r = 0; r < obsRecords.size(); ++r) {
        const PairKey pair =
            MakePairKey(IdField(obsFile, obsRecords[r], 0, r + 1), IdField(obsFile, obsRecords[r], 1, r + 1));
        observed.insert(pair);
        if (reported != nullptr && IsReported(obsRecords[r][2])) {
            reported->insert(pair);
        }
        if (models != nullptr) {
            models->insert(ObservationModels(obsFile, obsRecords[r], 3, r + 1));
        }
    }

    const std::set<int> none;
    const auto motifs = [&](int prot) -> const std::set<int>& {
        const auto it = motifsOf.find(prot);
        return it == motifsOf.end() ? none : it->second;
    };
    for (const auto& [i, j] : observed) {
        for (int m1 : motifs(i)) {
            for (int m2 : motifs(j)) {
                const auto it = count.find(MakePairKey(m1, m2));
                if (it != count.end()) {
                    ++it->second;
                }
            }
        }
    }
    return count;
}

#include "tools/eval/GroundTruth.h"

#include "tools/runfiles/NumberRecords.h"
#include "tools/toolbox/ToolError.h"

namespace {

// A set written by motifbind-prep with a hold-out: its truth is the state of
// each held-out pair, 1 when a source reported it.
GroundTruth ReadHoldout(const std::filesystem::path& file)
{
    GroundTruth truth;
    truth.holdout = true;
    const auto records = ReadNumberRecords(file, 3);
    for (std::size_t r = 0; r < records.size(); ++r) {
        const auto& rec = records[r];
        if (rec[2] != 0.0 && rec[2] != 1.0) {
            throw ToolError(file.string() + ": the state of record " + std::to_string(r + 1) + " is neither 0 nor 1");
        }
        truth.interacts[MakePairKey(IdField(file, rec, 0, r + 1), IdField(file, rec, 1, r + 1))] = rec[2] == 1.0;
    }
    return truth;
}

} // namespace

GroundTruth ReadGroundTruth(const std::filesystem::path& folder)
{
    const std::filesystem::path holdout = folder / "truth_holdout.txt";
    if (!std::filesystem::exists(folder / "truth_affinities.txt") && std::filesystem::exists(holdout)) {
        return ReadHoldout(holdout);
    }
    GroundTruth truth;
    const std::filesystem::path affinityFile = folder / "truth_affinities.txt";
    const auto affinities = ReadNumberRecords(affinityFile, 3);
    for (std::size_t r = 0; r < affinities.size(); ++r) {
        const auto& rec = affinities[r];
        truth.affinities[MakePairKey(IdField(affinityFile, rec, 0, r + 1), IdField(affinityFile, rec, 1, r + 1))] =
            rec[2];
    }
    const std::filesystem::path interactionFile = folder / "truth_interactions.txt";
    const auto interactions = ReadNumberRecords(interactionFile, 5);
    for (std::size_t r = 0; r < interactions.size(); ++r) {
        const auto& rec = interactions[r];
        if (rec[2] != 0.0 && rec[2] != 1.0) {
            throw ToolError(interactionFile.string() + ": the state of record " + std::to_string(r + 1) +
                            " is neither 0 nor 1");
        }
        const PairKey pair =
            MakePairKey(IdField(interactionFile, rec, 0, r + 1), IdField(interactionFile, rec, 1, r + 1));
        truth.interacts[pair] = rec[2] == 1.0;
    }
    return truth;
}

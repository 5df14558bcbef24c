#include "tools/report/RunInputs.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

#include "tools/runfiles/DegreeBaseline.h"
#include "tools/runfiles/EchoedCommand.h"
#include "tools/runfiles/NumberRecords.h"
#include "tools/toolbox/ToolError.h"

namespace {

// The closeness that makes a noise-free observation agree with a state, the
// same as that of a report of interaction.
constexpr double EPS = REPORTED_EPS;

std::optional<std::filesystem::path> IfThere(const std::filesystem::path& file)
{
    return std::filesystem::exists(file) ? std::optional<std::filesystem::path>(file) : std::nullopt;
}

// An observation that the state "does not interact" cannot give: id -1
// (the value is the state) with a value other than 0, or id -2 (uniform on
// [0, 1]) with a value outside.
bool RulesOutZero(double value, double model0)
{
    if (model0 == -1.0) {
        return !(std::fabs(value) < EPS);
    }
    return model0 == -2.0 && !(value >= 0.0 && value <= 1.0);
}

} // namespace

RunInputs ReadRunInputs(const std::filesystem::path& folder, const std::string& commandLine)
{
    RunInputs r;
    const EchoedCommand command = SplitCommandLine(commandLine);
    const std::vector<std::string>& pos = command.positionals;
    // The domain-domain evidence in one reading: its pairs and the models
    // its records name. The states only name the models: a model file the
    // report cannot follow leaves them unnamed rather than the report
    // unwritten. The protein-protein ones come with the observations, read
    // below.
    const auto ddi = command.options.find("-d");
    if (ddi != command.options.end() && ddi->second.size() == 3) {
        r.ddiFile = ddi->second[0];
        const auto obs = IfThere(folder / ddi->second[0]);
        if (!obs) {
            r.ddiProblem = "the run's domain-domain observation file " + r.ddiFile + " is not beside the log";
        }
        try {
            std::set<std::pair<int, int>> named;
            bool nameable = true;
            std::size_t records = 0;
            if (obs) {
                ReadNumberRecords(*obs, 5, [&](const NumberRecord& rec) {
                    ++records;
                    r.ddiPairs.insert(MakePairKey(IdField(*obs, rec, 0, records), IdField(*obs, rec, 1, records)));
                    try {
                        named.insert(ObservationModels(*obs, rec, 3, records));
                    } catch (const ToolError&) {
                        nameable = false;
                    }
                });
            }
            try {
                if (const auto options = IfThere(folder / ddi->second[2]); obs && options && nameable) {
                    records = 0;
                    ReadNumberRecords(*options, 5, [&](const NumberRecord& rec) {
                        named.insert(ObservationModels(*options, rec, 2, ++records));
                    });
                }
                if (obs && nameable) {
                    r.ddiStates = StatesOfModels(IfThere(folder / ddi->second[1]), named);
                }
            } catch (const ToolError&) {
                r.ddiStates.clear();
            }
        } catch (const ToolError& e) {
            r.ddiPairs.clear();
            r.ddiStates.clear();
            r.ddiProblem = e.what();
        }
    }
    if (pos.size() <= POS_ACTIVE_PAIRS) {
        r.problem = "the command line in the log names no input files";
        return r;
    }
    for (const std::size_t k : {POS_OBSERVATIONS, POS_PROTEIN_MOTIFS, POS_ACTIVE_PAIRS}) {
        if (!std::filesystem::exists(folder / pos[k])) {
            r.problem = "the run's input file " + pos[k] + " is not beside the log";
            return r;
        }
    }
    const auto motifFile = folder / pos[POS_PROTEIN_MOTIFS];
    std::map<int, std::vector<int>> motifs;
    const auto content = ReadNumberRecords(motifFile, 3);
    for (std::size_t i = 0; i < content.size(); ++i) {
        motifs[IdField(motifFile, content[i], 0, i + 1)].push_back(IdField(motifFile, content[i], 1, i + 1));
    }
    for (auto& [p, list] : motifs) {
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
    }
    const auto activeFile = folder / pos[POS_ACTIVE_PAIRS];
    std::map<PairKey, long long> carriers;
    const auto active = ReadNumberRecords(activeFile, 3);
    for (std::size_t i = 0; i < active.size(); ++i) {
        carriers[MakePairKey(IdField(activeFile, active[i], 0, i + 1), IdField(activeFile, active[i], 1, i + 1))] = 0;
    }
    const auto obsFile = folder / pos[POS_OBSERVATIONS];
    std::set<PairKey> reported;
    std::set<std::pair<int, int>> named; // model ids for state 0 and 1
    std::size_t records = 0;
    ReadNumberRecords(obsFile, 5, [&](const NumberRecord& obs) {
        ++records;
        const PairKey p = MakePairKey(IdField(obsFile, obs, 0, records), IdField(obsFile, obs, 1, records));
        r.observedPairs.insert(p);
        if (IsReported(obs[2])) {
            reported.insert(p);
        }
        if (RulesOutZero(obs[2], obs[3])) {
            r.certainPairs.insert(p);
        }
        try {
            named.insert(ObservationModels(obsFile, obs, 3, records));
        } catch (const ToolError&) {
            // Ids the model could not take only leave models unnamed here.
        }
    });
    r.degree = PartnerDegrees(reported);
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
    try {
        r.ppiStates = StatesOfModels(IfThere(folder / pos[POS_MODELS]), named);
    } catch (const ToolError&) {
        r.ppiStates.clear();
    }
    r.carriers = std::move(carriers);
    r.present = true;
    return r;
}

#include "tools/runfiles/ModelStates.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "tools/runfiles/NumberRecords.h"
#include "tools/toolbox/LineReader.h"
#include "tools/toolbox/Numbers.h"

namespace {

// Parameters each simple distribution takes in a model file.
std::size_t SimpleParams(std::string_view type)
{
    if (type == "OM_BINARY") {
        return 1;
    }
    if (type == "OM_GAUSSIAN") {
        return 2;
    }
    return type == "OM_EXPONENTIAL" || type == "OM_UNIFORM" ? 3 : 0;
}

class Tokens {
public:
    explicit Tokens(const std::filesystem::path& path) : in_(path.string()) {}
    bool Next(std::string& word)
    {
        while (at_ == words_.size()) {
            if (!in_.Next(line_)) {
                return false;
            }
            words_.clear();
            for (const std::string_view w : Words(in_, line_)) {
                words_.emplace_back(w);
            }
            at_ = 0;
        }
        word = words_[at_++];
        return true;
    }
    ToolError Error(const std::string& what) const { return in_.Error(what); }

private:
    LineReader in_;
    std::string line_;
    std::vector<std::string> words_;
    std::size_t at_ = 0;
};

// Skips one distribution after its type word; false at an unknown type or a
// file that ends inside it.
bool SkipDistribution(Tokens& in, const std::string& type)
{
    std::string w;
    if (type == "OM_MIXTURE") {
        long long components = 0;
        if (!in.Next(w) || !in.Next(w) || !ParseInteger(w, components)) {
            return false;
        }
        for (long long k = 0; k < components; ++k) {
            std::string inner;
            if (!in.Next(w) || !in.Next(inner) || !SkipDistribution(in, inner)) {
                return false;
            }
        }
        return true;
    }
    const std::size_t n = SimpleParams(type);
    for (std::size_t k = 0; k < n; ++k) {
        if (!in.Next(w)) {
            return false;
        }
    }
    return n > 0;
}

// Model file id -> position; a repeated id maps to its last record.
std::map<int, int> ModelPositions(const std::filesystem::path& path)
{
    Tokens in(path);
    std::map<int, int> positions;
    int position = 0;
    std::string id;
    std::string type;
    while (in.Next(id)) {
        int value = 0;
        if (!ParseInteger(id, value) || !in.Next(type) || !SkipDistribution(in, type)) {
            throw in.Error("expected a model id, a distribution type and its parameters, got " + Shown(id) +
                           (type.empty() ? "" : " " + Shown(type)));
        }
        positions[value] = position++;
        type.clear();
    }
    return positions;
}

void Name(std::map<int, ModelState>& states, const std::map<int, int>* positions, int id, ModelState state)
{
    if (id < 0) {
        return; // noise-free (-1) or uniform (-2): no model
    }
    int position = id;
    if (positions != nullptr) {
        const auto it = positions->find(id);
        if (it == positions->end()) {
            return;
        }
        position = it->second;
    }
    ModelState& s = states[position];
    s = static_cast<ModelState>(static_cast<int>(s) | static_cast<int>(state));
}

} // namespace

std::pair<int, int> ObservationModels(const std::filesystem::path& path, const NumberRecord& record, std::size_t first,
                                      std::size_t recordNo)
{
    int ids[2] = {0, 0};
    for (std::size_t k = 0; k < 2; ++k) {
        const double x = record[first + k];
        if (!(x >= -2.0) || x > std::numeric_limits<int>::max() || std::floor(x) != x) {
            throw LineError(path.string(), record.line,
                            "field " + std::to_string(first + k + 1) + " of record " + std::to_string(recordNo) +
                                " is not a model id (an id, -1 or -2)");
        }
        ids[k] = static_cast<int>(x);
    }
    return {ids[0], ids[1]};
}

std::map<int, ModelState> StatesOfModels(const std::optional<std::filesystem::path>& models,
                                         const std::set<std::pair<int, int>>& named)
{
    std::map<int, int> positions;
    if (models) {
        positions = ModelPositions(*models);
    }
    const std::map<int, int>* table = models ? &positions : nullptr;
    std::map<int, ModelState> states;
    for (const auto& [zero, one] : named) {
        Name(states, table, zero, ModelState::ZERO);
        Name(states, table, one, ModelState::ONE);
    }
    return states;
}

std::map<int, ModelState> ReadModelStates(const std::optional<std::filesystem::path>& models,
                                          const std::filesystem::path& observations,
                                          const std::optional<std::filesystem::path>& options)
{
    // Distinct pairs only: a large observation file names few.
    std::set<std::pair<int, int>> named;
    std::size_t records = 0;
    ReadNumberRecords(observations, 5,
                      [&](const NumberRecord& r) { named.insert(ObservationModels(observations, r, 3, ++records)); });
    if (options) {
        records = 0;
        ReadNumberRecords(*options, 5,
                          [&](const NumberRecord& r) { named.insert(ObservationModels(*options, r, 2, ++records)); });
    }
    return StatesOfModels(models, named);
}

int ServedState(const std::map<int, ModelState>& states, int position)
{
    const auto it = states.find(position);
    if (it == states.end()) {
        return -1;
    }
    return it->second == ModelState::ZERO ? 0 : it->second == ModelState::ONE ? 1 : -1;
}

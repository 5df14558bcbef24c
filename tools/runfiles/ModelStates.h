#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "tools/runfiles/NumberRecords.h"

// Which hidden state each model of an observation model set serves. Every
// observation names one model for the case that its pair's actual value is
// 0 (pairs that do not interact, motif pairs that do not bind) and one for
// 1; a binary model named only for 0 says 1 at its false-positive rate, one
// named only for 1 says 0 at its false-negative rate.
enum class ModelState { NONE = 0, ZERO = 1, ONE = 2, BOTH = 3 };

// Model position (as the log numbers models) -> the states observations name
// it for. The model file maps the ids the observation files use onto
// positions, in the order of its records; without one (an absent name) ids
// are taken as positions. `options` is a domain-domain option file, whose
// records name the two models in their third and fourth fields. Files that
// are given must exist; throws ToolError for a malformed one.
std::map<int, ModelState> ReadModelStates(const std::optional<std::filesystem::path>& models,
                                          const std::filesystem::path& observations,
                                          const std::optional<std::filesystem::path>& options);

// The two model ids of an observation record, for state 0 and state 1, from
// fields `first` and `first` + 1: a model file's id, or -1 or -2 (no model);
// throws ToolError naming the file and record otherwise.
std::pair<int, int> ObservationModels(const std::filesystem::path& path, const NumberRecord& record, std::size_t first,
                                      std::size_t recordNo);

// The same as ReadModelStates from the id pairs that observations name, for
// a reader that goes through the observation file once for other reasons
// too (it may be a pipe).
std::map<int, ModelState> StatesOfModels(const std::optional<std::filesystem::path>& models,
                                         const std::set<std::pair<int, int>>& named);

// The state a model serves, 0 or 1, or -1 when observations name it for
// both or for none.
int ServedState(const std::map<int, ModelState>& states, int position);

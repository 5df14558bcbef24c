#pragma once

#include <filesystem>
#include <string>

// Where the programs of one build or one installation find each other. An
// installation puts every program in one bin folder; a build tree has
// motifbind at its top and the helpers one folder down, in tools/.

// The running program's own file, symbolic links resolved, from
// /proc/self/exe; empty where that cannot be read.
std::filesystem::path SelfExe();

// The motifbind that belongs with the helper program `self`: the one beside
// it, or else the one in the folder above. Empty when neither is an
// executable file.
std::filesystem::path MotifbindBeside(const std::filesystem::path& self);

// The file that a shell runs for the bare command `name` under the search
// path `path` (colon-separated, as $PATH; an empty entry is the current
// folder): the first executable file. Empty when there is none.
std::filesystem::path FindOnPath(const std::string& name, const std::string& path);

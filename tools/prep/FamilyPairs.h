#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// One pair of a list of known interacting domain families (from a
// domain-domain interaction database), as written: family accessions or
// names, Pfam version suffixes removed.
struct FamilyPair {
    std::string a;
    std::string b;
    std::size_t line = 0;
};

// Reads "family family" lines (tabs or blanks; '#' comments and blank lines
// skipped). A line with another number of fields throws ToolError naming the
// file and line.
std::vector<FamilyPair> ReadFamilyPairs(const std::string& path);
// The same, each pair handed to `take` as it is read.
void ReadFamilyPairs(const std::string& path, const std::function<void(FamilyPair&&)>& take);

// "PF00069.25" -> "PF00069"; any other text as it is.
std::string WithoutPfamVersion(const std::string& family);

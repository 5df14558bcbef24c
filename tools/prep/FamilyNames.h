#pragma once

#include <map>
#include <string>

#include "tools/prep/Warnings.h"

// Display names of domain families, written by hand or exported from a
// family database: the family (accession or name; a Pfam version suffix is
// removed), then its name. The two are separated by a tab, or, on a line
// without tabs, by the first run of blanks, so that the name may hold
// blanks. '#' comments, blank lines and a first line "family<TAB>name" are
// skipped. A line without a name, with more than two tab-separated fields,
// or with a control character throws ToolError naming the file and line; a
// family named again keeps its first name with a counted warning. The file
// is read with the bounds of LineReader.
std::map<std::string, std::string> ReadFamilyNames(const std::string& path, Warnings& warnings);
class LineReader;
// The same from a reader.
std::map<std::string, std::string> ReadFamilyNames(LineReader& in, Warnings& warnings);

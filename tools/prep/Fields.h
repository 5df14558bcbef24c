#pragma once

#include <string_view>
#include <vector>

// The fields of one line: separated by single tabs (empty fields kept), as in
// the tab-separated formats.
std::vector<std::string_view> SplitTabs(std::string_view line);
// Separated by runs of blanks and tabs (no empty fields), as in the
// column-aligned formats.
std::vector<std::string_view> SplitBlanks(std::string_view line);
// Tabs when the line holds one, else runs of blanks: the plain lists people
// write by hand use either.
std::vector<std::string_view> SplitTabsOrBlanks(std::string_view line);
// A line that holds nothing but blanks, or whose first non-blank is '#'.
bool IsBlankOrComment(std::string_view line);
// Whether a name holds a control character (a tab, a line break, an escape):
// it would break the tab-separated tables and the lines it is written into.
bool HasControl(std::string_view name);

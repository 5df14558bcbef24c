#include "tools/prep/FamilyNames.h"

#include <string_view>

#include "tools/prep/FamilyPairs.h"
#include "tools/prep/Fields.h"
#include "tools/toolbox/LineReader.h"
#include "tools/toolbox/ToolError.h"

namespace {

std::string_view Trimmed(std::string_view s)
{
    const std::size_t start = s.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return {};
    }
    return s.substr(start, s.find_last_not_of(" \t") - start + 1);
}

} // namespace

std::map<std::string, std::string> ReadFamilyNames(LineReader& in, Warnings& warnings)
{
    std::map<std::string, std::string> names;
    std::string line;
    bool first = true;
    while (in.Next(line)) {
        if (IsBlankOrComment(line)) {
            continue;
        }
        const std::string_view text = Trimmed(line);
        std::string_view family;
        std::string_view name;
        if (line.find('\t') != std::string::npos) {
            const std::vector<std::string_view> f = SplitTabs(text);
            if (f.size() > 2) {
                throw in.Error(std::to_string(f.size()) + " tab-separated fields in " + Shown(line) +
                               "; expected two: a domain family and its name");
            }
            family = Trimmed(f[0]);
            name = f.size() == 2 ? Trimmed(f[1]) : std::string_view();
        } else {
            const std::size_t gap = text.find(' ');
            family = text.substr(0, gap);
            name = gap == std::string_view::npos ? std::string_view() : Trimmed(text.substr(gap));
        }
        const bool header = first && family == "family" && name == "name";
        first = false;
        if (header) {
            continue;
        }
        if (family.empty() || name.empty()) {
            throw in.Error("no name in " + Shown(line) + "; expected a domain family, then its name");
        }
        if (HasControl(family) || HasControl(name)) {
            throw in.Error("family name " + Shown(HasControl(family) ? family : name) +
                           " holds a control character; expected a name without line breaks or escapes");
        }
        const auto [it, added] = names.emplace(WithoutPfamVersion(std::string(family)), std::string(name));
        if (!added && it->second != name) {
            warnings.Add("families named again in the family names (the first name kept)",
                         Where(in.Path(), in.LineNo()));
        }
    }
    return names;
}

std::map<std::string, std::string> ReadFamilyNames(const std::string& path, Warnings& warnings)
{
    LineReader in(path);
    return ReadFamilyNames(in, warnings);
}

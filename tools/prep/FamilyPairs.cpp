#include "tools/prep/FamilyPairs.h"

#include <cctype>

#include "tools/prep/Fields.h"
#include "tools/toolbox/LineReader.h"
#include "tools/toolbox/ToolError.h"

std::string WithoutPfamVersion(const std::string& family)
{
    // PF + five digits, then ".N".
    if (family.size() > 8 && family.compare(0, 2, "PF") == 0 && family[7] == '.') {
        for (std::size_t i = 2; i < family.size(); ++i) {
            if (i != 7 && !std::isdigit(static_cast<unsigned char>(family[i]))) {
                return family;
            }
        }
        return family.substr(0, 7);
    }
    return family;
}

void ReadFamilyPairs(const std::string& path, const std::function<void(FamilyPair&&)>& take)
{
    LineReader in(path);
    std::string line;
    while (in.Next(line)) {
        if (IsBlankOrComment(line)) {
            continue;
        }
        const auto f = SplitTabsOrBlanks(line);
        if (f.size() != 2 || f[0].empty() || f[1].empty()) {
            throw LineError(path, in.LineNo(),
                            std::to_string(f.size()) + " fields in " + Shown(line) + "; expected two domain families");
        }
        take({WithoutPfamVersion(std::string(f[0])), WithoutPfamVersion(std::string(f[1])), in.LineNo()});
    }
}

std::vector<FamilyPair> ReadFamilyPairs(const std::string& path)
{
    std::vector<FamilyPair> pairs;
    ReadFamilyPairs(path, [&pairs](FamilyPair&& p) { pairs.push_back(std::move(p)); });
    return pairs;
}

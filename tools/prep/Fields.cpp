#include "tools/prep/Fields.h"

std::vector<std::string_view> SplitTabs(std::string_view line)
{
    std::vector<std::string_view> f;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            f.push_back(line.substr(start));
            return f;
        }
        f.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

std::vector<std::string_view> SplitBlanks(std::string_view line)
{
    std::vector<std::string_view> f;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
            ++i;
        }
        if (i > start) {
            f.push_back(line.substr(start, i - start));
        }
    }
    return f;
}

std::vector<std::string_view> SplitTabsOrBlanks(std::string_view line)
{
    if (line.find('\t') == std::string_view::npos) {
        return SplitBlanks(line);
    }
    std::vector<std::string_view> f = SplitTabs(line);
    // Blanks around a field are padding.
    for (std::string_view& s : f) {
        while (!s.empty() && s.front() == ' ') {
            s.remove_prefix(1);
        }
        while (!s.empty() && s.back() == ' ') {
            s.remove_suffix(1);
        }
    }
    return f;
}

bool IsBlankOrComment(std::string_view line)
{
    for (const char c : line) {
        if (c == '#') {
            return true;
        }
        if (c != ' ' && c != '\t') {
            return false;
        }
    }
    return true;
}

bool HasControl(std::string_view name)
{
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f) {
            return true;
        }
    }
    return false;
}

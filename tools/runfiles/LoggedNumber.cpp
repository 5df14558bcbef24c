#include "tools/runfiles/LoggedNumber.h"

#include <cctype>
#include <cstdlib>

#include "tools/toolbox/Numbers.h"

bool ParseLoggedNumber(std::string_view text, LoggedNumber& number)
{
    // strtod would skip leading blanks and read hexadecimal; the streams
    // write neither.
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front())) ||
        text.find_first_of("xX") != std::string_view::npos) {
        return false;
    }
    const std::string s(text);
    char* end = nullptr;
    const double x = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size()) {
        return false;
    }
    number.text = s;
    number.value = x;
    return true;
}

bool ParseLoggedInt(std::string_view text, int& value) { return ParseInteger(text, value); }

std::vector<std::string_view> TabFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

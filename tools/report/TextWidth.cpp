#include "tools/report/TextWidth.h"

#include <algorithm>
#include <array>

namespace {

// Advances of DejaVu Sans for ' ' (32) to '~' (126), in thousandths of an em.
constexpr std::array<int, 95> ADVANCE = {
    318, 401, 460, 838, 636, 950, 780,  275, 390, 390, 500, 838, 318, 361, 318, 337, // space to /
    636, 636, 636, 636, 636, 636, 636,  636, 636, 636,                               // 0 to 9
    337, 337, 838, 838, 838, 531, 1000,                                              // : to @
    684, 686, 698, 770, 632, 575, 775,  752, 295, 295, 656, 557, 863,                // A to M
    748, 787, 603, 787, 695, 635, 611,  732, 684, 989, 685, 611, 685,                // N to Z
    390, 337, 390, 838, 500, 500,                                                    // [ to `
    613, 635, 550, 635, 615, 352, 635,  634, 278, 278, 579, 278, 974,                // a to m
    634, 612, 635, 635, 411, 521, 392,  634, 592, 818, 592, 592, 525,                // n to z
    636, 337, 636, 838,                                                              // { to ~
};
constexpr int WIDE = 1000; // any other character
constexpr int CONTROL = 0; // tabs and the like take no room of their own
// The margin over the table: other faces, hinting, rounding.
constexpr double GENEROUS = 1.08;

// The advance of one code point starting at text[i]; i moves past it.
int Advance(std::string_view text, std::size_t& i)
{
    const auto c = static_cast<unsigned char>(text[i]);
    ++i;
    if (c < 0x80) {
        return c >= 32 && c < 127 ? ADVANCE[c - 32] : CONTROL;
    }
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) {
        ++i;
    }
    return WIDE;
}

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        if (end > start) {
            words.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return words;
}

// The longest prefix of a word (whole code points, at least one) that fits,
// preferring to end after a '-', '/', '_' or '.'.
std::size_t FittingPrefix(const std::string& word, double maxPx, double fontPx)
{
    std::size_t end = 0;
    std::size_t soft = 0;
    for (std::size_t i = 0; i < word.size();) {
        std::size_t next = i;
        Advance(word, next);
        if (end > 0 && TextWidth(std::string_view(word).substr(0, next), fontPx) > maxPx) {
            break;
        }
        end = next;
        const char c = word[i];
        if (c == '-' || c == '/' || c == '_' || c == '.') {
            soft = end;
        }
        i = next;
    }
    return soft > 0 && end < word.size() ? soft : end;
}

} // namespace

double TextWidth(std::string_view text, double fontPx)
{
    long long units = 0;
    for (std::size_t i = 0; i < text.size();) {
        units += Advance(text, i);
    }
    return static_cast<double>(units) / 1000.0 * fontPx * GENEROUS;
}

std::vector<std::string> WrapText(const std::string& text, double maxPx, double fontPx)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::string word : Words(text)) {
        const std::string joined = line.empty() ? word : line + " " + word;
        if (TextWidth(joined, fontPx) <= maxPx) {
            line = joined;
            continue;
        }
        if (!line.empty()) {
            lines.push_back(line);
            line.clear();
        }
        // A word wider than a line of its own is split.
        while (TextWidth(word, fontPx) > maxPx) {
            const std::size_t cut = FittingPrefix(word, maxPx, fontPx);
            lines.push_back(word.substr(0, cut));
            word.erase(0, cut);
        }
        line = word;
    }
    if (!line.empty() || lines.empty()) {
        lines.push_back(line);
    }
    return lines;
}

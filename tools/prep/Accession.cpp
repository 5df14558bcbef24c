#include "tools/prep/Accession.h"

#include <cstddef>

namespace {

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpperOrDigit(char c) { return IsUpper(c) || IsDigit(c); }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

char Lower(char c) { return IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view s, std::string_view prefix)
{
    if (s.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(s[i]) != Lower(prefix[i])) {
            return false;
        }
    }
    return true;
}

// UniProtKB accession without isoform suffix:
//   [OPQ][0-9][A-Z0-9]{3}[0-9]
//   [A-NR-Z][0-9]([A-Z][A-Z0-9]{2}[0-9]){1,2}
bool IsUniProtAccession(std::string_view s)
{
    if (s.size() == 6 && (s[0] == 'O' || s[0] == 'P' || s[0] == 'Q')) {
        return IsDigit(s[1]) && IsUpperOrDigit(s[2]) && IsUpperOrDigit(s[3]) && IsUpperOrDigit(s[4]) && IsDigit(s[5]);
    }
    if ((s.size() != 6 && s.size() != 10) || !IsUpper(s[0]) || s[0] == 'O' || s[0] == 'P' || s[0] == 'Q' ||
        !IsDigit(s[1])) {
        return false;
    }
    for (std::size_t i = 2; i < s.size(); i += 4) {
        if (!IsUpper(s[i]) || !IsUpperOrDigit(s[i + 1]) || !IsUpperOrDigit(s[i + 2]) || !IsDigit(s[i + 3])) {
            return false;
        }
    }
    return true;
}

// Where an isoform suffix "-<digits>" starts, or npos.
std::size_t IsoformSuffix(std::string_view s)
{
    const std::size_t dash = s.rfind('-');
    if (dash == std::string_view::npos || dash == 0 || dash + 1 == s.size()) {
        return std::string_view::npos;
    }
    for (std::size_t i = dash + 1; i < s.size(); ++i) {
        if (!IsDigit(s[i])) {
            return std::string_view::npos;
        }
    }
    return dash;
}

} // namespace

std::string NormalizeAccession(std::string_view raw, const AccessionRules& rules)
{
    std::string_view s = raw;
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    // MITAB names the database of an identifier.
    if (StartsWithNoCase(s, "uniprotkb:")) {
        s.remove_prefix(10);
    }
    // UniProt FASTA headers: "sp|P12345|KIN1_HUMAN", "tr|A0A024R161|...".
    if (StartsWithNoCase(s, "sp|") || StartsWithNoCase(s, "tr|")) {
        s.remove_prefix(3);
        s = s.substr(0, s.find('|'));
    }
    if (s.empty()) {
        return "";
    }
    for (const char c : s) {
        // Control characters would go into the id tables as they are.
        const auto u = static_cast<unsigned char>(c);
        if (IsBlank(c) || u < 0x20 || u == 0x7f) {
            return "";
        }
    }
    if (rules.anyId) {
        return std::string(s);
    }
    const std::size_t dash = IsoformSuffix(s);
    const std::string_view base = s.substr(0, dash);
    if (!IsUniProtAccession(base)) {
        return "";
    }
    return std::string(rules.keepIsoforms ? s : base);
}

bool NamesIsoform(std::string_view raw, const AccessionRules& rules)
{
    if (rules.keepIsoforms || rules.anyId) {
        return false;
    }
    AccessionRules keep = rules;
    keep.keepIsoforms = true;
    const std::string whole = NormalizeAccession(raw, keep);
    return !whole.empty() && whole != NormalizeAccession(raw, rules);
}

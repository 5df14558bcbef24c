#include "tools/prep/Interactions.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "tools/prep/Fields.h"
#include "tools/toolbox/LineReader.h"
#include "tools/toolbox/ToolError.h"

namespace {

// PSI-MITAB 2.5 has 15 columns; 2.6, 2.7 and 2.8 add columns after them.
constexpr std::size_t MITAB_COLUMNS = 15;
constexpr std::size_t MITAB_ID_A = 0;
constexpr std::size_t MITAB_ID_B = 1;
constexpr std::size_t MITAB_ALT_A = 2;
constexpr std::size_t MITAB_ALT_B = 3;
constexpr std::size_t MITAB_ALIAS_A = 4;
constexpr std::size_t MITAB_ALIAS_B = 5;
constexpr std::size_t MITAB_METHOD = 6;
constexpr std::size_t MITAB_DATABASE = 12;

const char* const NO_UNIPROT = "MITAB lines with an interactor without a UniProtKB accession";
const char* const BAD_UNIPROT = "MITAB lines with a UniProtKB identifier that is not an accession";

std::string ExpectedId(const AccessionRules& rules)
{
    return rules.anyId ? "expected an identifier without blanks"
                       : "expected a UniProtKB accession such as P12345 or A0A024R161";
}

// A protein of a TSV line: its canonical accession, or an error naming the value.
std::string TsvAccession(std::string_view raw, std::size_t column, const AccessionRules& rules, const LineReader& in)
{
    if (raw.empty()) {
        throw LineError(in.Path(), in.LineNo(), "column " + std::to_string(column) + " is empty; " + ExpectedId(rules));
    }
    std::string acc = NormalizeAccession(raw, rules);
    if (acc.empty()) {
        throw LineError(in.Path(), in.LineNo(), "unknown accession format " + Shown(raw) + "; " + ExpectedId(rules));
    }
    return acc;
}

// A source names observation models in sources.tsv and the summary.
void CheckSource(const std::string& source, const LineReader& in)
{
    if (HasControl(source)) {
        throw in.Error("source name " + Shown(source) +
                       " holds a control character; expected a name without tabs or line breaks");
    }
}

bool IsHeader(const std::vector<std::string_view>& f, const AccessionRules& rules)
{
    return f.size() >= 2 && NormalizeAccession(f[0], rules).empty() && NormalizeAccession(f[1], rules).empty();
}

// The pair of a TSV line (already split into `f`); `maxColumns` is 2 or 3.
void ReadTsvLine(const std::vector<std::string_view>& f, std::size_t maxColumns, const std::string& defaultSource,
                 const AccessionRules& rules, const LineReader& in, const PairSink& take)
{
    if (f.size() < 2 || f.size() > maxColumns) {
        throw LineError(in.Path(), in.LineNo(),
                        "found " + std::to_string(f.size()) + (f.size() == 1 ? " column" : " columns") +
                            (maxColumns == 2 ? "; expected 2 (accession A, accession B)"
                                             : "; expected 2 or 3 (accession A, accession B, optional source)"));
    }
    ListedPair p;
    p.a = TsvAccession(f[0], 1, rules, in);
    p.b = TsvAccession(f[1], 2, rules, in);
    p.source = f.size() == 3 && !f[2].empty() ? std::string(f[2]) : defaultSource;
    CheckSource(p.source, in);
    p.line = in.LineNo();
    take(std::move(p));
}

// The lines of a TSV file from its first record line, already read into
// `line` (`haveFirst` false when the file holds none).
void ReadTsvRest(LineReader& in, std::string& line, bool haveFirst, std::size_t maxColumns,
                 const std::string& defaultSource, const AccessionRules& rules, const PairSink& take)
{
    bool first = true;
    for (bool have = haveFirst; have; have = in.Next(line)) {
        if (IsBlankOrComment(line)) {
            continue;
        }
        const std::vector<std::string_view> f = SplitTabsOrBlanks(line);
        if (!(first && IsHeader(f, rules))) {
            ReadTsvLine(f, maxColumns, defaultSource, rules, in, take);
        }
        first = false;
    }
}

// Splits a MITAB column at the '|' that are not inside double quotes.
std::vector<std::string_view> SplitBars(std::string_view col)
{
    std::vector<std::string_view> parts;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < col.size(); ++i) {
        if (col[i] == '"') {
            quoted = !quoted;
        } else if (col[i] == '|' && !quoted) {
            parts.push_back(col.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(col.substr(start));
    return parts;
}

// One MITAB cross-reference, db:value(description); each part may be quoted.
struct Xref {
    std::string_view db;
    std::string_view value;
    std::string_view description; // empty when there are no parentheses
};

// Reads a part that may be in double quotes, up to (not including) the first
// unquoted character of `stops`. False when a quote is not closed.
bool TakePart(std::string_view s, std::size_t& pos, std::string_view stops, std::string_view& part)
{
    if (pos < s.size() && s[pos] == '"') {
        const std::size_t close = s.find('"', pos + 1);
        if (close == std::string_view::npos) {
            return false;
        }
        part = s.substr(pos + 1, close - pos - 1);
        pos = close + 1;
        return true;
    }
    const std::size_t end = std::min(s.find_first_of(stops, pos), s.size());
    part = s.substr(pos, end - pos);
    pos = end;
    return true;
}

// False when `s` is not of the form db:value.
bool ParseXref(std::string_view s, Xref& x)
{
    std::size_t pos = 0;
    if (!TakePart(s, pos, ":", x.db) || pos >= s.size() || s[pos] != ':' || x.db.empty()) {
        return false;
    }
    ++pos;
    if (!TakePart(s, pos, "(", x.value) || x.value.empty()) {
        return false;
    }
    x.description = {};
    if (pos < s.size()) {
        // The description runs to the last ')': names may hold parentheses.
        const std::size_t close = s.rfind(')');
        if (s[pos] != '(' || close == std::string_view::npos || close < pos) {
            return false;
        }
        x.description = s.substr(pos + 1, close - pos - 1);
    }
    return true;
}

bool IsUniprotDb(std::string_view db)
{
    constexpr std::string_view NAME = "uniprotkb";
    if (db.size() != NAME.size()) {
        return false;
    }
    for (std::size_t i = 0; i < db.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(db[i])) != NAME[i]) {
            return false;
        }
    }
    return true;
}

enum class Lookup { FOUND, NONE, NOT_ACCESSION };

// The first UniProtKB accession among the identifiers of one column.
Lookup FindUniprot(std::string_view col, std::size_t column, const AccessionRules& rules, const LineReader& in,
                   std::string& acc)
{
    if (col == "-") {
        return Lookup::NONE;
    }
    Lookup result = Lookup::NONE;
    for (const std::string_view id : SplitBars(col)) {
        Xref x;
        if (!ParseXref(id, x)) {
            throw LineError(in.Path(), in.LineNo(),
                            "identifier " + Shown(id) + " in column " + std::to_string(column) +
                                "; expected db:value identifiers separated by '|', such as uniprotkb:P12345");
        }
        if (!IsUniprotDb(x.db)) {
            continue;
        }
        // A protein chain ("P12345-PRO_0000012345") or a typo: look on.
        acc = NormalizeAccession(x.value, rules);
        if (!acc.empty()) {
            return Lookup::FOUND;
        }
        result = Lookup::NOT_ACCESSION;
    }
    return result;
}

// The experiment named by a MITAB column (psi-mi:"MI:0018"(two hybrid)): the
// name in parentheses of its first entry, else the value after the colon.
std::string MitabExperimentName(std::string_view col, const std::string& defaultSource)
{
    const std::string_view entry = SplitBars(col).front();
    if (entry.empty() || entry == "-") {
        return defaultSource;
    }
    std::string_view name;
    Xref x;
    if (ParseXref(entry, x)) {
        name = x.description.empty() ? x.value : x.description;
    } else {
        name = entry;
        while (!name.empty() && name.front() == '"') {
            name.remove_prefix(1);
        }
        while (!name.empty() && name.back() == '"') {
            name.remove_suffix(1);
        }
    }
    while (!name.empty() && name.front() == ' ') {
        name.remove_prefix(1);
    }
    while (!name.empty() && name.back() == ' ') {
        name.remove_suffix(1);
    }
    return name.empty() || name == "-" ? defaultSource : std::string(name);
}

// One interactor of a MITAB line; false (with a warning) when it has no
// usable UniProtKB accession.
bool MitabInteractor(const std::vector<std::string_view>& f, std::size_t idCol, std::size_t altCol,
                     const AccessionRules& rules, const LineReader& in, Warnings& warnings, std::string& acc)
{
    if (f[idCol] == "-") {
        warnings.Add(NO_UNIPROT, Where(in.Path(), in.LineNo()));
        return false;
    }
    if (f[idCol].empty()) {
        throw LineError(in.Path(), in.LineNo(),
                        "column " + std::to_string(idCol + 1) +
                            " is empty; expected db:value identifiers such as uniprotkb:P12345, or '-'");
    }
    Lookup found = FindUniprot(f[idCol], idCol + 1, rules, in, acc);
    if (found != Lookup::FOUND && !f[altCol].empty()) {
        const Lookup alt = FindUniprot(f[altCol], altCol + 1, rules, in, acc);
        if (alt != Lookup::NONE) {
            found = alt;
        }
    }
    if (found == Lookup::FOUND) {
        return true;
    }
    warnings.Add(found == Lookup::NONE ? NO_UNIPROT : BAD_UNIPROT, Where(in.Path(), in.LineNo()));
    return false;
}

// The display name among the aliases of an interactor
// (uniprotkb:ABC1(gene name)|psi-mi:abc1_human(display_short)): the first
// marked as the gene name, else the first alias; empty when none is usable.
std::string MitabAlias(std::string_view col, const LineReader& in, Warnings& warnings)
{
    if (col.empty() || col == "-") {
        return {};
    }
    std::string_view first;
    bool hostile = false;
    for (const std::string_view alias : SplitBars(col)) {
        Xref x;
        if (!ParseXref(alias, x) || x.value == "-") {
            continue;
        }
        if (HasControl(x.value)) {
            hostile = true;
            continue;
        }
        if (x.description == "gene name") {
            first = x.value;
            break;
        }
        if (first.empty()) {
            first = x.value;
        }
    }
    if (hostile) {
        warnings.Add("MITAB aliases with a control character (not used as names)", Where(in.Path(), in.LineNo()));
    }
    return std::string(first);
}

// Column 1 of a header line without '#' is a title, not identifiers.
bool IsMitabHeader(const std::vector<std::string_view>& f)
{
    return !f[MITAB_ID_A].empty() && f[MITAB_ID_A] != "-" && f[MITAB_ID_A].find(':') == std::string_view::npos;
}

// The lines of a MITAB file from its first record line, as for TSV.
void ReadMitabRest(LineReader& in, std::string& line, bool haveFirst, const InteractionInput& request,
                   const AccessionRules& rules, Warnings& warnings, const PairSink& take)
{
    bool first = true;
    for (bool have = haveFirst; have; have = in.Next(line)) {
        if (IsBlankOrComment(line)) {
            continue;
        }
        const std::vector<std::string_view> f = SplitTabs(line);
        if (f.size() < MITAB_COLUMNS) {
            throw LineError(in.Path(), in.LineNo(),
                            "found " + std::to_string(f.size()) +
                                " tab-separated columns; expected at least 15 (PSI-MITAB 2.5 or later)");
        }
        const bool header = first && IsMitabHeader(f);
        first = false;
        if (header) {
            continue;
        }
        ListedPair p;
        if (!MitabInteractor(f, MITAB_ID_A, MITAB_ALT_A, rules, in, warnings, p.a) ||
            !MitabInteractor(f, MITAB_ID_B, MITAB_ALT_B, rules, in, warnings, p.b)) {
            continue;
        }
        switch (request.experiment) {
        case MitabExperiment::NONE:
            p.source = request.defaultSource;
            break;
        case MitabExperiment::METHOD:
            p.source = MitabExperimentName(f[MITAB_METHOD], request.defaultSource);
            break;
        case MitabExperiment::DATABASE:
            p.source = MitabExperimentName(f[MITAB_DATABASE], request.defaultSource);
            break;
        }
        CheckSource(p.source, in);
        p.nameA = MitabAlias(f[MITAB_ALIAS_A], in, warnings);
        p.nameB = MitabAlias(f[MITAB_ALIAS_B], in, warnings);
        p.line = in.LineNo();
        take(std::move(p));
    }
}

// Reads up to the first record line; false when the file holds none.
bool FirstRecord(LineReader& in, std::string& line)
{
    while (in.Next(line)) {
        if (!IsBlankOrComment(line)) {
            return true;
        }
    }
    return false;
}

} // namespace

void ReadInteractions(LineReader& in, const InteractionInput& request, const AccessionRules& rules, Warnings& warnings,
                      const PairSink& take)
{
    std::string line;
    const bool have = FirstRecord(in, line);
    InteractionFormat format = request.format;
    if (format == InteractionFormat::AUTO) {
        format = have && SplitTabs(line).size() >= MITAB_COLUMNS ? InteractionFormat::MITAB : InteractionFormat::TSV;
    }
    if (format == InteractionFormat::MITAB) {
        ReadMitabRest(in, line, have, request, rules, warnings, take);
    } else {
        ReadTsvRest(in, line, have, 3, request.defaultSource, rules, take);
    }
}

void ReadInteractions(const InteractionInput& request, const AccessionRules& rules, Warnings& warnings,
                      const PairSink& take)
{
    LineReader in(request.path);
    ReadInteractions(in, request, rules, warnings, take);
}

std::vector<ListedPair> ReadInteractions(const InteractionInput& request, const AccessionRules& rules,
                                         Warnings& warnings)
{
    std::vector<ListedPair> pairs;
    ReadInteractions(request, rules, warnings, [&pairs](ListedPair&& p) { pairs.push_back(std::move(p)); });
    return pairs;
}

void ReadPairList(const std::string& path, bool withSource, const AccessionRules& rules, Warnings& /*warnings*/,
                  const PairSink& take)
{
    LineReader in(path);
    std::string line;
    const bool have = FirstRecord(in, line);
    ReadTsvRest(in, line, have, withSource ? 3 : 2, "", rules, take);
}

std::vector<ListedPair> ReadPairList(const std::string& path, bool withSource, const AccessionRules& rules,
                                     Warnings& warnings)
{
    std::vector<ListedPair> pairs;
    ReadPairList(path, withSource, rules, warnings, [&pairs](ListedPair&& p) { pairs.push_back(std::move(p)); });
    return pairs;
}

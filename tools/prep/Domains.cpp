#include "tools/prep/Domains.h"

#include <string_view>
#include <unordered_set>
#include <utility>

#include "tools/prep/Fields.h"
#include "tools/toolbox/LineReader.h"
#include "tools/toolbox/Numbers.h"
#include "tools/toolbox/ToolError.h"

namespace {

constexpr std::size_t DOMTBLOUT_COLUMNS = 22;
constexpr std::size_t PFAMSCAN_COLUMNS = 15;
constexpr std::size_t INTERPROSCAN_COLUMNS = 11;
constexpr std::size_t TSV_COLUMNS = 4;

// The fields of one annotation line that matter, with the names the format
// gives them (for messages).
struct Record {
    std::string_view protein;
    std::string_view accession; // family accession; empty or "-" when none
    std::string_view name;      // family name; empty when none
    std::string description;    // family description; empty when none
    std::string_view start;
    std::string_view end;
    std::string_view length;
    bool statesLength = false; // the format has a length column
    std::string_view evalue;   // empty when the format carries none
    const char* startName = "start";
    const char* endName = "end";
    const char* lengthName = "length";
    const char* evalueName = "E-value";
    bool evalueMayBeAbsent = false; // "-" means none
};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "PF00069.25" -> "PF00069": Pfam releases bump the version of a family
// without changing what it is. Other accessions are kept as written.
std::string_view WithoutPfamVersion(std::string_view acc)
{
    if (acc.size() < 9 || acc[0] != 'P' || acc[1] != 'F' || acc[7] != '.') {
        return acc;
    }
    for (std::size_t i = 2; i < acc.size(); ++i) {
        if (i != 7 && !IsDigit(acc[i])) {
            return acc;
        }
    }
    return acc.substr(0, 7);
}

class DomainReader {
public:
    DomainReader(LineReader& reader, const DomainInput& in, const AccessionRules& rules, Warnings& warnings)
        : in_(in), rules_(rules), reader_(reader), warnings_(warnings)
    {
        table_.path = reader.Path();
    }

    DomainTable Read()
    {
        std::string line;
        bool first = true;
        while (reader_.Next(line)) {
            if (IsBlankOrComment(line)) {
                continue;
            }
            switch (in_.format) {
            case DomainFormat::DOMTBLOUT:
                Domtblout(line);
                break;
            case DomainFormat::PFAMSCAN:
                PfamScan(line);
                break;
            case DomainFormat::INTERPROSCAN:
                InterProScan(line);
                break;
            case DomainFormat::TSV:
                Tsv(line, first);
                break;
            }
            first = false;
        }
        return std::move(table_);
    }

private:
    [[noreturn]] void Fail(const std::string& what) const { throw reader_.Error(what); }

    void NeedColumns(std::size_t found, std::size_t needed, const char* kind, const char* format) const
    {
        if (found < needed) {
            Fail("found " + std::to_string(found) + " " + kind + " columns; expected at least " +
                 std::to_string(needed) + " of " + format);
        }
    }

    // A residue position (counted from 1) or a protein length.
    int Positive(std::string_view text, const char* what, const char* expected) const
    {
        int v = 0;
        if (!ParseInteger(text, v) || v <= 0) {
            Fail(std::string(what) + " " + Shown(text) + " is not a positive integer; expected " + expected);
        }
        return v;
    }

    void Domtblout(const std::string& line)
    {
        const std::vector<std::string_view> f = SplitBlanks(line);
        NeedColumns(f.size(), DOMTBLOUT_COLUMNS, "blank-separated", "HMMER --domtblout");
        Record r;
        if (in_.hmmsearch) {
            r.protein = f[0];
            r.length = f[2];
            r.statesLength = true;
            r.lengthName = "tlen";
            r.name = f[3];
            r.accession = f[4];
        } else {
            r.name = f[0];
            r.accession = f[1];
            // The free text after the fixed columns describes the target,
            // here the family (with hmmsearch it describes the protein).
            for (std::size_t i = DOMTBLOUT_COLUMNS; i < f.size(); ++i) {
                if (!r.description.empty()) {
                    r.description += ' ';
                }
                r.description += f[i];
            }
            if (r.description == "-") {
                r.description.clear();
            }
            r.protein = f[3];
            r.length = f[5];
            r.statesLength = true;
            r.lengthName = "qlen";
        }
        r.evalue = f[12];
        r.evalueName = "i-Evalue";
        r.start = f[19];
        r.startName = "env from";
        r.end = f[20];
        r.endName = "env to";
        Take(r);
    }

    void PfamScan(const std::string& line)
    {
        const std::vector<std::string_view> f = SplitBlanks(line);
        NeedColumns(f.size(), PFAMSCAN_COLUMNS, "blank-separated", "Pfam scan output");
        Record r;
        r.protein = f[0];
        r.start = f[3];
        r.startName = "envelope start";
        r.end = f[4];
        r.endName = "envelope end";
        r.accession = f[5];
        r.name = f[6];
        r.evalue = f[12];
        Take(r);
    }

    void InterProScan(const std::string& line)
    {
        const std::vector<std::string_view> f = SplitTabs(line);
        NeedColumns(f.size(), INTERPROSCAN_COLUMNS, "tab-separated", "InterProScan TSV");
        Record r;
        r.protein = f[0];
        r.length = f[2];
        r.statesLength = true;
        r.lengthName = "sequence length";
        r.accession = f[4];
        r.name = f[5] == "-" ? std::string_view() : f[5];
        r.description = std::string(r.name);
        r.start = f[6];
        r.end = f[7];
        r.endName = "stop";
        r.evalue = f[8];
        r.evalueName = "score";
        r.evalueMayBeAbsent = true;
        if ((r.accession.empty() || r.accession == "-") && r.name.empty()) {
            Fail("no signature accession or description (columns 5 and 6); expected a signature such as PF00069");
        }
        // Lines of other analyses are checked like all others (the columns
        // mean the same) and give protein lengths, but no domains.
        const bool other = !in_.analysis.empty() && !EqualNoCase(f[3], in_.analysis);
        Take(r, other);
    }

    void Tsv(const std::string& line, bool first)
    {
        const std::vector<std::string_view> f = SplitTabsOrBlanks(line);
        NeedColumns(f.size(), TSV_COLUMNS, "tab- or blank-separated", "a domain list (accession domain start end)");
        long long a = 0;
        long long b = 0;
        if (first && !ParseInteger(f[2], a) && !ParseInteger(f[3], b)) {
            return; // header line
        }
        if (f[1].empty()) {
            Fail("empty domain column; expected a domain name or accession");
        }
        Record r;
        r.protein = f[0];
        r.name = f[1];
        r.start = f[2];
        r.end = f[3];
        Take(r);
    }

    void Take(const Record& r, bool otherAnalysis = false)
    {
        const std::string protein = NormalizeAccession(r.protein, rules_);
        if (protein.empty()) {
            Fail("unknown accession format " + Shown(r.protein) +
                 "; expected a UniProtKB accession such as P12345 or sp|P12345|NAME");
        }
        const int start = Positive(r.start, r.startName, "a residue position counted from 1");
        const int end = Positive(r.end, r.endName, "a residue position counted from 1");
        if (start > end) {
            Fail(std::string(r.startName) + " " + std::to_string(start) + " is after " + r.endName + " " +
                 std::to_string(end) + "; expected start <= end");
        }
        // An empty length column is an error like any other: the range
        // could not be checked against it.
        if (r.statesLength) {
            const int length = Positive(r.length, r.lengthName, "a protein length in residues");
            const auto [it, added] = table_.lengths.emplace(protein, length);
            if (added) {
                lengthLines_[protein] = reader_.LineNo();
            } else if (it->second != length) {
                Fail("protein " + protein + " has " + r.lengthName + " " + std::to_string(length) + " here but " +
                     std::to_string(it->second) + " at line " + std::to_string(lengthLines_[protein]) +
                     "; expected one length per protein (isoforms folded onto one accession?)");
            }
            if (end > length) {
                Fail(std::string(r.endName) + " " + std::to_string(end) + " is past the protein length " +
                     std::to_string(length) + " of " + protein + "; expected a domain within the protein");
            }
        }
        double evalue = 0.0;
        bool hasEvalue = false;
        if (!r.evalue.empty() && !(r.evalueMayBeAbsent && r.evalue == "-")) {
            if (!ParseReal(r.evalue, evalue)) {
                Fail(std::string(r.evalueName) + " " + Shown(r.evalue) +
                     " is not a number; expected an E-value such as 1.5e-20" + (r.evalueMayBeAbsent ? " or '-'" : ""));
            }
            hasEvalue = true;
        }
        if (otherAnalysis) {
            ++table_.otherAnalyses;
            return;
        }
        if (hasEvalue && evalue > in_.maxEvalue) {
            ++table_.aboveEvalue;
            return;
        }
        DomainHit hit;
        hit.protein = protein;
        if (!r.accession.empty() && r.accession != "-") {
            hit.family = std::string(WithoutPfamVersion(r.accession));
            hit.name = r.name.empty() ? hit.family : std::string(r.name);
        } else {
            hit.family = std::string(r.name);
            hit.name = hit.family;
        }
        hit.description = r.description;
        // Family keys, names and descriptions go into motifs.tsv and the
        // report.
        if (HasControl(hit.family) || HasControl(hit.name) || HasControl(hit.description)) {
            Fail("domain family " +
                 Shown(HasControl(hit.family) ? hit.family
                       : HasControl(hit.name) ? hit.name
                                              : hit.description) +
                 " holds a control character; expected a name without tabs or line breaks");
        }
        hit.start = start;
        hit.end = end;
        hit.line = reader_.LineNo();
        // A range listed again adds nothing: merged here, so that a
        // repetitive file costs no memory.
        std::string key = hit.protein;
        key += '\t';
        key += hit.family;
        key += '\t' + std::to_string(start) + '\t' + std::to_string(end);
        if (!seen_.insert(std::move(key)).second) {
            warnings_.Add("domain ranges listed twice (counted once)", Where(reader_.Path(), reader_.LineNo()));
            return;
        }
        table_.hits.push_back(std::move(hit));
    }

    const DomainInput& in_;
    const AccessionRules& rules_;
    LineReader& reader_;
    Warnings& warnings_;
    DomainTable table_;
    std::unordered_set<std::string> seen_;           // protein, family and range of each hit
    std::map<std::string, std::size_t> lengthLines_; // where each protein's length was first stated
};

} // namespace

DomainTable ReadDomains(LineReader& reader, const DomainInput& in, const AccessionRules& rules, Warnings& warnings)
{
    return DomainReader(reader, in, rules, warnings).Read();
}

DomainTable ReadDomains(const DomainInput& in, const AccessionRules& rules, Warnings& warnings)
{
    LineReader reader(in.path);
    return ReadDomains(reader, in, rules, warnings);
}

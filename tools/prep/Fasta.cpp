#include "tools/prep/Fasta.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <set>
#include <string_view>

#include "tools/prep/Fields.h"
#include "tools/toolbox/LineReader.h"
#include "tools/toolbox/ToolError.h"

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A character as an error message shows it: printable ones quoted, others by
// their byte value.
std::string CharText(char c)
{
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x21 && u < 0x7f) {
        return std::string("'") + c + "'";
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "byte 0x%02X", u);
    return buf;
}

// The value of the header's "GN=" word, or empty.
std::string_view GeneName(std::string_view header)
{
    std::size_t at = 0;
    while (at < header.size()) {
        const std::size_t start = header.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(header.find_first_of(" \t", start), header.size());
        const std::string_view word = header.substr(start, end - start);
        if (word.size() > 3 && word.substr(0, 3) == "GN=") {
            return word.substr(3);
        }
        at = end;
    }
    return {};
}

} // namespace

std::map<std::string, int> ReadFastaLengths(LineReader& in, const AccessionRules& rules, Warnings& warnings)
{
    return ReadFasta(in, rules, warnings).lengths;
}

FastaProteins ReadFasta(LineReader& in, const AccessionRules& rules, Warnings& warnings)
{
    const std::string& path = in.Path();
    FastaProteins proteins;
    std::map<std::string, int>& lengths = proteins.lengths;
    // Accessions whose length comes from a canonical record; the others
    // hold an isoform's length until their canonical record comes.
    std::set<std::string> canonical;

    // The record being read.
    bool inRecord = false;
    std::string id;  // first word of its header, as written
    std::string acc; // normalised
    std::size_t headerLine = 0;
    long long residues = 0;
    bool stopped = false; // a '*' was read: only blanks may follow
    bool keep = false;    // false for a record whose length is not taken
    bool isoform = false;

    const auto finish = [&]() {
        if (!inRecord) {
            return;
        }
        if (residues == 0) {
            throw LineError(path, headerLine,
                            "record " + Shown(id) + " has no residues; expected sequence lines after the header");
        }
        if (keep) {
            lengths[acc] = static_cast<int>(residues);
            if (!isoform) {
                canonical.insert(acc);
            }
        }
    };

    std::string line;
    while (in.Next(line)) {
        if (!line.empty() && line[0] == '>') {
            finish();
            const std::string_view rest = std::string_view(line).substr(1);
            const std::size_t first = rest.find_first_not_of(" \t");
            if (first == std::string_view::npos) {
                throw LineError(path, in.LineNo(),
                                "header without an identifier; expected '>' followed by an accession");
            }
            const std::string_view word = rest.substr(first, rest.find_first_of(" \t", first) - first);
            id = std::string(word);
            acc = NormalizeAccession(word, rules);
            if (acc.empty()) {
                throw LineError(path, in.LineNo(),
                                "unknown accession format " + Shown(id) +
                                    " in the header; expected a UniProtKB accession such as P12345 or sp|P12345|NAME");
            }
            inRecord = true;
            headerLine = in.LineNo();
            residues = 0;
            stopped = false;
            isoform = NamesIsoform(word, rules);
            const bool known = lengths.find(acc) != lengths.end();
            // The canonical record's length is the one the annotations
            // refer to, before or after its isoforms.
            if (isoform) {
                keep = !known;
                warnings.Add(
                    "FASTA isoform records folded onto their accession (the canonical record's length is "
                    "used where there is one)",
                    Where(path, in.LineNo()));
            } else {
                keep = canonical.count(acc) == 0;
                if (!keep) {
                    warnings.Add("FASTA records of an accession already read", Where(path, in.LineNo()));
                }
            }
            const std::string_view gene = GeneName(rest.substr(first + word.size()));
            if (HasControl(gene)) {
                warnings.Add("FASTA gene names with a control character (not used; the accession stands in)",
                             Where(path, in.LineNo()));
            } else if (!gene.empty()) {
                proteins.geneNames.emplace(acc, gene);
            }
            continue;
        }
        for (const char c : line) {
            if (c == ' ' || c == '\t') {
                continue;
            }
            if (!inRecord) {
                throw LineError(path, in.LineNo(),
                                "text before the first header; expected a FASTA file starting with '>'");
            }
            if (stopped) {
                throw LineError(path, in.LineNo(),
                                CharText(c) + " after the final '*' of record " + Shown(id) +
                                    "; expected '*' only at the end of a sequence");
            }
            if (c == '*') {
                stopped = true;
                continue;
            }
            if (!IsLetter(c)) {
                throw LineError(path, in.LineNo(),
                                CharText(c) + " in the sequence of record " + Shown(id) + "; expected residue letters");
            }
            if (++residues > INT_MAX) {
                throw LineError(path, in.LineNo(),
                                "record " + Shown(id) + " longer than " + std::to_string(INT_MAX) +
                                    " residues; expected a protein sequence");
            }
        }
    }
    finish();
    return proteins;
}

std::map<std::string, int> ReadFastaLengths(const std::string& path, const AccessionRules& rules, Warnings& warnings)
{
    return ReadFasta(path, rules, warnings).lengths;
}

FastaProteins ReadFasta(const std::string& path, const AccessionRules& rules, Warnings& warnings)
{
    LineReader in(path);
    return ReadFasta(in, rules, warnings);
}

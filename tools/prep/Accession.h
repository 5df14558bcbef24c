#pragma once

#include <string>
#include <string_view>

// How protein identifiers are read.
struct AccessionRules {
    // Keep isoform suffixes ("P12345-2") instead of folding isoforms onto
    // their canonical accession.
    bool keepIsoforms = false;
    // Accept any identifier without blanks (gene names, ORF names) instead of
    // UniProtKB accessions only; then isoform suffixes are never removed,
    // since "-2" may be part of such a name.
    bool anyId = false;
};

// The canonical accession of one protein identifier:
//   "uniprotkb:P12345-2" -> "P12345", "sp|P12345|KIN1_HUMAN" -> "P12345",
//   "tr|A0A024R161|..." -> "A0A024R161", "P12345" -> "P12345".
// Returns an empty string when the identifier is not in a known accession
// format (UniProtKB: [OPQ][0-9][A-Z0-9]{3}[0-9] or
// [A-NR-Z][0-9]([A-Z][A-Z0-9]{2}[0-9]){1,2}, optionally with "-N").
std::string NormalizeAccession(std::string_view raw, const AccessionRules& rules);

// Whether `raw` names an isoform ("P12345-2") that the rules fold onto its
// canonical accession.
bool NamesIsoform(std::string_view raw, const AccessionRules& rules);

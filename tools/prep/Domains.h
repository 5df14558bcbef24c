#pragma once

#include <cstddef>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "tools/prep/Accession.h"
#include "tools/prep/Warnings.h"

// The domain-annotation formats read.
enum class DomainFormat {
    DOMTBLOUT,    // HMMER's --domtblout (hmmscan: proteins are the queries)
    PFAMSCAN,     // per-domain output of the HMMER-based Pfam scan script
    INTERPROSCAN, // InterProScan's TSV
    TSV,          // plain "accession domain start end"
};

struct DomainInput {
    std::string path;
    DomainFormat format = DomainFormat::TSV;
    // Hits with an E-value above this are skipped (formats that carry one).
    double maxEvalue = std::numeric_limits<double>::infinity();
    // InterProScan: keep only this analysis ("Pfam"); empty keeps all.
    std::string analysis;
    // --domtblout written by hmmsearch: proteins are the targets.
    bool hmmsearch = false;
};

// One domain range on a protein, residues counted from 1, both ends included.
struct DomainHit {
    std::string protein; // canonical accession
    std::string family;  // the motif key: family accession without version, or the name when no accession
    std::string name;    // readable family name (equals family when the format has none)
    // What the family is, in words: InterProScan's signature description,
    // the target description of an hmmscan --domtblout; empty when the
    // format gives none.
    std::string description;
    int start = 0;
    int end = 0;
    std::size_t line = 0; // line of the domain file
};

struct DomainTable {
    std::string path;
    std::vector<DomainHit> hits;        // in file order
    std::map<std::string, int> lengths; // protein lengths the format states (domtblout, InterProScan)
    std::size_t aboveEvalue = 0;        // hits skipped by the E-value threshold
    std::size_t otherAnalyses = 0;      // InterProScan hits of other analyses
};

// Reads one domain file with the bounds of LineReader. A malformed line (too
// few columns, a position or length that is not a positive integer, start
// after end, an end past the stated protein length, an identifier in no
// known accession format, a family name with a control character) throws
// ToolError naming the file and line; comment lines and skipped hits are
// counted, and a range listed twice is kept once with a counted warning.
DomainTable ReadDomains(const DomainInput& in, const AccessionRules& rules, Warnings& warnings);
class LineReader;
// The same from a reader; `in.path` is not opened.
DomainTable ReadDomains(LineReader& reader, const DomainInput& in, const AccessionRules& rules, Warnings& warnings);

#pragma once

#include <map>
#include <string>

#include "tools/prep/Accession.h"
#include "tools/prep/Warnings.h"

// Protein lengths from a FASTA file, plain or gzip-compressed: the number of
// residue letters of each record (blanks and a final '*' not counted). The
// accession is the first word of the header, normalised ("sp|P12345|NAME"
// gives "P12345"). A header in no known accession format, a record without
// residues, or text before the first header throws ToolError naming the file
// and line. Isoform records ("sp|P12345-2|...") folded onto their accession
// count a warning and give the length only while the canonical record has
// not been read, whatever the order: the annotations refer to the canonical
// sequence. The same accession twice otherwise keeps the first record and
// counts a warning. The file is read with the bounds of LineReader.
std::map<std::string, int> ReadFastaLengths(const std::string& path, const AccessionRules& rules, Warnings& warnings);
class LineReader;
std::map<std::string, int> ReadFastaLengths(LineReader& in, const AccessionRules& rules, Warnings& warnings);

// The lengths as above, and the gene name a UniProt header gives
// (">sp|P12345|ABC1_HUMAN Desc OS=... GN=ABC1 PE=1"), by accession: the
// first record of an accession that names one wins. A gene name with a
// control character is not taken (a counted warning): it would break the
// tables it is written into, and the accession stands in.
struct FastaProteins {
    std::map<std::string, int> lengths;
    std::map<std::string, std::string> geneNames;
};
FastaProteins ReadFasta(const std::string& path, const AccessionRules& rules, Warnings& warnings);
FastaProteins ReadFasta(LineReader& in, const AccessionRules& rules, Warnings& warnings);

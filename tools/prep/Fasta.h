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
// and line. The same accession twice keeps the first record and counts a
// warning (isoforms folded onto one accession are the usual cause).
std::map<std::string, int> ReadFastaLengths(const std::string& path, const AccessionRules& rules,
                                            Warnings& warnings);

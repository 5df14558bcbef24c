#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "tools/prep/Accession.h"
#include "tools/prep/Warnings.h"

enum class InteractionFormat {
    AUTO,  // MITAB when the first record line has at least 15 tab-separated fields, else TSV
    TSV,   // "A B [source]"
    MITAB, // PSI-MITAB 2.5, 2.7 or 2.8
};

// Which MITAB column names the experiment (the source of an interaction).
enum class MitabExperiment {
    NONE,     // every line of the file belongs to one source
    METHOD,   // column 7, interaction detection method: the name in parentheses
    DATABASE, // column 13, source database: the name in parentheses
};

struct InteractionInput {
    std::string path;
    InteractionFormat format = InteractionFormat::AUTO;
    MitabExperiment experiment = MitabExperiment::NONE;
    // The source of lines that name none (two-column TSV, MITAB with NONE).
    std::string defaultSource = "reported";
};

// One listed protein pair, as read (canonical accessions, the line's order).
struct ListedPair {
    std::string a;
    std::string b;
    std::string source;
    std::size_t line = 0;
    // MITAB: a display name of each interactor from its aliases (columns 5
    // and 6), the one marked "(gene name)" or else the first; empty when
    // there is none, and in the other formats.
    std::string nameA;
    std::string nameB;
};

class LineReader;

// Takes each pair as it is read.
using PairSink = std::function<void(ListedPair&&)>;

// Reads an interaction file. TSV: two or three tab- or blank-separated
// columns, '#' comments; a first line whose two fields are both not
// accessions is a header. MITAB: the first UniProtKB accession of columns 1
// and 2 ("uniprotkb:P12345"; several identifiers are separated by '|');
// an interactor without one (a small molecule, an unreviewed entity) skips
// the line with a counted warning. The aliases give display names; an
// alias that is not db:value, or holds a control character, is passed over
// (the latter with a counted warning). A malformed line, and a source name with
// a control character, throws ToolError naming the file and line. The file
// is read with the bounds of LineReader, one pair at a time.
void ReadInteractions(const InteractionInput& in, const AccessionRules& rules, Warnings& warnings,
                      const PairSink& take);
// The same from a reader; `in.path` is not opened.
void ReadInteractions(LineReader& reader, const InteractionInput& in, const AccessionRules& rules, Warnings& warnings,
                      const PairSink& take);
// Every pair at once.
std::vector<ListedPair> ReadInteractions(const InteractionInput& in, const AccessionRules& rules, Warnings& warnings);

// A list of accession pairs (non-interacting pairs, pairs to predict): two
// columns, or three when `withSource` (the third optional, empty when
// absent), '#' comments, an optional header line as above.
void ReadPairList(const std::string& path, bool withSource, const AccessionRules& rules, Warnings& warnings,
                  const PairSink& take);
std::vector<ListedPair> ReadPairList(const std::string& path, bool withSource, const AccessionRules& rules,
                                     Warnings& warnings);

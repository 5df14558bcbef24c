#pragma once

// The fixture runs under data/, and plain line and field splitting for
// re-reading them in the tests independently of the readers.
//
// data/p1, data/p2 and data/p3 each hold motifbind.log and predictions.txt
// of a real run with -p 1, 2 and 3 on a small simulated set, made with
//   motifbind-sim --out pN --proteins 12 --motifs 5 --pairs 24 --predict-extra 4
//       --bind-pairs 3 --pertype N --pertsize -1 --seed 7 --enrich 0.8
//       --zero-motif-frac 0.1 --strong-frac 0.6 --self-frac 0.1
//   cd pN && motifbind ...   (the words of command.txt; the log's first line)
// For p1, ppi_models.txt was edited before the run so that model 3 is a
// mixture of two Gaussians ("3 OM_MIXTURE 20 2", "0.5 OM_GAUSSIAN 1.5 1",
// "0.5 OM_GAUSSIAN 2.5 1"), which the log dumps with component lines.
// Cut-short copies in data/p1, as a killed run leaves them:
//   cut_in_em.log            lines 1-179 of motifbind.log and the first 42
//                            bytes of line 180, a check of EM phase 2 cut in
//                            its number;
//   cut_in_perturbation.log  lines 1-241 and 90 bytes of line 242, the fifth
//                            line of the fourth cycle;
//   cut_predictions.txt      lines 1-33 of predictions.txt and 12 bytes of
//                            line 34, a binding row.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::filesystem::path DataPath(const std::string& name)
{
    return std::filesystem::path(__FILE__).parent_path() / "data" / name;
}

inline std::string FileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The lines that end with a line break.
inline std::vector<std::string> CompleteLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t nl = text.find('\n'); nl != std::string::npos; nl = text.find('\n', start)) {
        lines.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
    return lines;
}

inline std::vector<std::string> SplitAt(const std::string& s, char sep)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at = s.find(sep); at != std::string::npos; at = s.find(sep, start)) {
        parts.push_back(s.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(s.substr(start));
    return parts;
}

inline bool Begins(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

// Index of the first line at or after `from` that begins with `prefix`, or
// lines.size().
inline std::size_t FindLine(const std::vector<std::string>& lines, const std::string& prefix, std::size_t from = 0)
{
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (Begins(lines[i], prefix)) {
            return i;
        }
    }
    return lines.size();
}

// Index of the last line that begins with `prefix`, or lines.size().
inline std::size_t FindLastLine(const std::vector<std::string>& lines, const std::string& prefix)
{
    for (std::size_t i = lines.size(); i-- > 0;) {
        if (Begins(lines[i], prefix)) {
            return i;
        }
    }
    return lines.size();
}

#include "tools/report/Names.h"

#include <system_error>

#include "tools/runfiles/LoggedNumber.h"
#include "tools/toolbox/LineReader.h"
#include "tools/toolbox/Numbers.h"
#include "tools/toolbox/ToolError.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

// The columns prep appends to its tables for display names.
constexpr std::size_t PROTEIN_NAME = 5;      // proteins.tsv "name"
constexpr std::size_t MOTIF_DESCRIPTION = 4; // motifs.tsv "description"

// The rows of a tab-separated table after its header line; nothing when the
// file is absent. A name that is there but no readable file (a directory,
// /dev/zero) is an error, not a missing table. Every row must have at least
// `fields` fields.
Rows ReadTable(const std::filesystem::path& path, std::size_t fields)
{
    Rows rows;
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
        return rows;
    }
    LineReader in(path.string());
    std::string line;
    in.Next(line); // header
    while (in.Next(line)) {
        if (line.empty()) {
            continue;
        }
        std::vector<std::string> row;
        for (const std::string_view f : TabFields(line)) {
            row.emplace_back(f);
        }
        if (row.size() < fields) {
            throw in.Error(std::to_string(row.size()) + " fields in " + Shown(line) + "; expected at least " +
                           std::to_string(fields));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

int IdOf(const std::filesystem::path& path, std::size_t row, const std::string& text, std::size_t expected)
{
    int id = 0;
    if (!ParseInteger(text, id) || id != static_cast<int>(expected)) {
        throw LineError(path.string(), row + 2,
                        "id " + Shown(text) + "; expected " + std::to_string(expected) + ", the ids in order from 0");
    }
    return id;
}

std::string IdText(int id) { return std::to_string(id); }

} // namespace

Names Names::Read(const std::filesystem::path& folder)
{
    Names n;
    const auto proteins = folder / "proteins.tsv";
    const Rows p = ReadTable(proteins, 2);
    for (std::size_t i = 0; i < p.size(); ++i) {
        IdOf(proteins, i, p[i][0], i);
        n.proteins_.push_back(p[i][1]);
        // Tables from before display names stop at the motif count.
        n.proteinNames_.push_back(p[i].size() > PROTEIN_NAME && !p[i][PROTEIN_NAME].empty() ? p[i][PROTEIN_NAME]
                                                                                            : p[i][1]);
        n.proteinIds_.emplace(p[i][1], static_cast<int>(i));
    }
    const auto motifs = folder / "motifs.tsv";
    const Rows m = ReadTable(motifs, 3);
    for (std::size_t i = 0; i < m.size(); ++i) {
        IdOf(motifs, i, m[i][0], i);
        n.families_.push_back(m[i][1]);
        n.motifNames_.push_back(
            m[i].size() > MOTIF_DESCRIPTION && !m[i][MOTIF_DESCRIPTION].empty() ? m[i][MOTIF_DESCRIPTION] : m[i][2]);
        n.motifIds_.emplace(m[i][1], static_cast<int>(i));
    }
    for (std::size_t i = 0; i < m.size(); ++i) {
        n.motifIds_.emplace(m[i][2], static_cast<int>(i));
    }
    const auto sources = folder / "sources.tsv";
    const Rows s = ReadTable(sources, 3);
    for (std::size_t i = 0; i < s.size(); ++i) {
        for (std::size_t col = 1; col <= 2; ++col) {
            int id = 0;
            if (!ParseInteger(s[i][col], id)) {
                throw LineError(sources.string(), i + 2, "model id " + Shown(s[i][col]) + "; expected an integer");
            }
            n.sources_[id] = s[i][0];
            n.roles_[id] = static_cast<int>(col) - 1;
        }
    }
    return n;
}

std::string Names::Protein(int id) const
{
    return id >= 0 && static_cast<std::size_t>(id) < proteins_.size() ? proteins_[static_cast<std::size_t>(id)]
                                                                      : IdText(id);
}

std::string Names::ProteinName(int id) const
{
    return id >= 0 && static_cast<std::size_t>(id) < proteinNames_.size() ? proteinNames_[static_cast<std::size_t>(id)]
                                                                          : Protein(id);
}

std::string Names::ProteinLabel(int id) const
{
    const std::string acc = Protein(id);
    const std::string name = ProteinName(id);
    return name == acc ? acc : name + " (" + acc + ")";
}

bool Names::ProteinNamesDiffer(const std::vector<int>& ids) const
{
    for (const int id : ids) {
        if (ProteinName(id) != Protein(id)) {
            return true;
        }
    }
    return false;
}

std::string Names::Motif(int id) const
{
    return id >= 0 && static_cast<std::size_t>(id) < families_.size() ? families_[static_cast<std::size_t>(id)]
                                                                      : IdText(id);
}

std::string Names::MotifName(int id) const
{
    return id >= 0 && static_cast<std::size_t>(id) < motifNames_.size() ? motifNames_[static_cast<std::size_t>(id)]
                                                                        : Motif(id);
}

std::string Names::MotifLabel(int id) const
{
    const std::string key = Motif(id);
    const std::string name = MotifName(id);
    return name == key ? key : name + " (" + key + ")";
}

std::string Names::Source(int modelId) const
{
    const auto it = sources_.find(modelId);
    return it == sources_.end() ? std::string() : it->second;
}

int Names::ModelRole(int modelId) const
{
    const auto it = roles_.find(modelId);
    return it == roles_.end() ? -1 : it->second;
}

namespace {

std::optional<int> Lookup(const std::map<std::string, int>& ids, bool haveTable, const std::string& name)
{
    if (haveTable) {
        const auto it = ids.find(name);
        if (it != ids.end()) {
            return it->second;
        }
        return std::nullopt;
    }
    int id = 0;
    if (ParseInteger(name, id) && id >= 0) {
        return id;
    }
    return std::nullopt;
}

} // namespace

std::optional<int> Names::ProteinId(const std::string& name) const { return Lookup(proteinIds_, HasProteins(), name); }

std::optional<int> Names::MotifId(const std::string& name) const { return Lookup(motifIds_, HasMotifs(), name); }

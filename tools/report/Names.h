#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The names motifbind-prep wrote beside a run (proteins.tsv, motifs.tsv,
// sources.tsv). Each table is optional: without it, ids stand in for names.
class Names {
public:
    // Reads the tables present in the folder; throws ToolError for a table
    // that is there but malformed.
    static Names Read(const std::filesystem::path& folder);

    // Accession of a protein id, or the id as text.
    std::string Protein(int id) const;
    // Family key of a motif id ("PF00069"), or the id as text.
    std::string Motif(int id) const;
    // Display name of a protein (a gene name such as "ABC1"), or
    // Protein(id) when the table gives none.
    std::string ProteinName(int id) const;
    // "ABC1 (P12345)" where the display name says more than the accession,
    // else Protein(id).
    std::string ProteinLabel(int id) const;
    // Whether any of these proteins has a display name beside its accession.
    bool ProteinNamesDiffer(const std::vector<int>& ids) const;
    // Readable family name: the display name ("Protein kinase domain") when
    // the table gives one, else the short name ("Pkinase"), else Motif(id).
    std::string MotifName(int id) const;
    // "Pkinase (PF00069)" where the readable name says more than the family
    // key, else Motif(id).
    std::string MotifLabel(int id) const;
    // The source owning a protein-protein model id, or empty.
    std::string Source(int modelId) const;
    // Which state a protein-protein model id serves: 0 pairs that do not
    // interact, 1 pairs that do, -1 unknown.
    int ModelRole(int modelId) const;
    bool HasSources() const { return !sources_.empty(); }
    // The id of an accession, or of a protein id written as text when there
    // is no protein table.
    std::optional<int> ProteinId(const std::string& name) const;
    // The id of a family key or name, or of a motif id written as text.
    std::optional<int> MotifId(const std::string& name) const;

    bool HasProteins() const { return !proteins_.empty(); }
    bool HasMotifs() const { return !families_.empty(); }

private:
    std::vector<std::string> proteins_;
    std::vector<std::string> proteinNames_; // display names; empty when the table has none
    std::vector<std::string> families_;
    std::vector<std::string> motifNames_;
    std::map<int, std::string> sources_; // model id -> source
    std::map<int, int> roles_;           // model id -> state it serves
    std::map<std::string, int> proteinIds_;
    std::map<std::string, int> motifIds_;
};

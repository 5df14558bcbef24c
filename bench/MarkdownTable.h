#pragma once

#include <ostream>
#include <string>
#include <vector>

// A plain-text table whose columns line up and that is also a Markdown
// table: "| a | b |" rows under a header and an alignment row.
class MarkdownTable {
public:
    enum class Align { Left, Right };

    // One alignment per header cell.
    MarkdownTable(std::vector<std::string> header, std::vector<Align> align);

    // A row with fewer cells than the header is padded with empty cells.
    void AddRow(std::vector<std::string> cells);

    void Print(std::ostream& out) const;

private:
    std::vector<std::string> header_;
    std::vector<Align> align_;
    std::vector<std::vector<std::string>> rows_;
};

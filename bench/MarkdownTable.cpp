#include "bench/MarkdownTable.h"

#include <algorithm>

#include "tools/toolbox/ToolError.h"

namespace {

// Display width: counts UTF-8 code points, not bytes.
std::size_t Width(const std::string& s)
{
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string Pad(const std::string& s, std::size_t width, MarkdownTable::Align align)
{
    const std::string fill(width - std::min(width, Width(s)), ' ');
    return align == MarkdownTable::Align::Left ? s + fill : fill + s;
}

} // namespace

MarkdownTable::MarkdownTable(std::vector<std::string> header, std::vector<Align> align)
    : header_(std::move(header)), align_(std::move(align))
{
    if (header_.size() != align_.size()) {
        throw ToolError("a table needs one alignment per column");
    }
}

void MarkdownTable::AddRow(std::vector<std::string> cells)
{
    if (cells.size() > header_.size()) {
        throw ToolError("a table row has more cells than the header");
    }
    cells.resize(header_.size());
    rows_.push_back(std::move(cells));
}

void MarkdownTable::Print(std::ostream& out) const
{
    std::vector<std::size_t> width(header_.size(), 3);
    for (std::size_t c = 0; c < header_.size(); ++c) {
        width[c] = std::max(width[c], Width(header_[c]));
        for (const auto& row : rows_) {
            width[c] = std::max(width[c], Width(row[c]));
        }
    }
    const auto line = [&](const std::vector<std::string>& cells) {
        out << "|";
        for (std::size_t c = 0; c < cells.size(); ++c) {
            out << " " << Pad(cells[c], width[c], align_[c]) << " |";
        }
        out << "\n";
    };
    line(header_);
    out << "|";
    for (std::size_t c = 0; c < header_.size(); ++c) {
        const std::string dashes(width[c] - 1, '-');
        out << " " << (align_[c] == Align::Left ? ":" + dashes : dashes + ":") << " |";
    }
    out << "\n";
    for (const auto& row : rows_) {
        line(row);
    }
}

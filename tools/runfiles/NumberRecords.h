#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <vector>

// One record of a number file, and the line it starts on.
struct NumberRecord {
    std::vector<double> values;
    std::size_t line = 0;

    double operator[](std::size_t i) const { return values[i]; }
};

// Reads a plain-text input or truth file as motifbind reads its inputs:
// whitespace-separated numbers, line breaks meaningless, grouped into records
// of `fields` numbers, handed to `take` one at a time. Unlike motifbind,
// which stops quietly at the first token that is not a number, the evaluator
// refuses such a file, and one whose last record is cut short: judging a run
// on half its data would mislead. The file is read with the bounds of
// LineReader. Throws ToolError naming the file and line.
void ReadNumberRecords(const std::filesystem::path& path, std::size_t fields,
                       const std::function<void(const NumberRecord&)>& take);
// The same, every record kept.
std::vector<NumberRecord> ReadNumberRecords(const std::filesystem::path& path, std::size_t fields);

// A field that must hold an integer id; throws ToolError naming the file and
// the record (counted from 1) and its line when it does not.
int IdField(const std::filesystem::path& path, const NumberRecord& record, std::size_t field, std::size_t recordNo);

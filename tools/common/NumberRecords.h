#pragma once

#include <cstddef>
#include <filesystem>
#include <vector>

// Reads a plain-text input or truth file as motifbind reads its inputs:
// whitespace-separated numbers, line breaks meaningless, grouped into records
// of `fields` numbers. Unlike motifbind, which stops quietly at the first
// token that is not a number, the evaluator refuses such a file, and one whose
// last record is cut short: judging a run on half its data would mislead.
// Throws ToolError naming the file.
std::vector<std::vector<double>> ReadNumberRecords(const std::filesystem::path& path, std::size_t fields);

// A field that must hold an integer id; throws ToolError naming the file and
// the record (counted from 1) when it does not.
int IdField(const std::filesystem::path& path, const std::vector<double>& record, std::size_t field,
            std::size_t recordNo);

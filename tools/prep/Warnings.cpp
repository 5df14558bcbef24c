#include "tools/prep/Warnings.h"

void Warnings::Add(const std::string& kind, const std::string& where)
{
    Entry& e = kinds_[kind];
    if (e.count++ == 0) {
        e.first = where;
    }
}

std::size_t Warnings::Count(const std::string& kind) const
{
    const auto it = kinds_.find(kind);
    return it == kinds_.end() ? 0 : it->second.count;
}

std::size_t Warnings::Total() const
{
    std::size_t n = 0;
    for (const auto& [kind, e] : kinds_) {
        n += e.count;
    }
    return n;
}

std::string Warnings::Text() const
{
    std::string s;
    for (const auto& [kind, e] : kinds_) {
        s += "warning: " + std::to_string(e.count) + " " + kind + " (first: " + e.first + ")\n";
    }
    return s;
}

std::string Where(const std::string& file, std::size_t line) { return file + " line " + std::to_string(line); }

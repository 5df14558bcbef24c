#pragma once

#include <cstddef>
#include <map>
#include <string>

// Input lines that were skipped because skipping them is safe (a comment-like
// header, an interactor without a UniProtKB accession, an annotation above
// the E-value threshold), counted by kind. The first place of each kind is
// kept so that the summary can point at it.
class Warnings {
public:
    // `kind` is a short phrase ("lines without a UniProtKB accession");
    // `where` is "FILE line N".
    void Add(const std::string& kind, const std::string& where);

    std::size_t Count(const std::string& kind) const;
    std::size_t Total() const;
    // One line per kind: "warning: N KIND (first: WHERE)", in order of kind.
    std::string Text() const;

private:
    struct Entry {
        std::size_t count = 0;
        std::string first;
    };
    std::map<std::string, Entry> kinds_;
};

// "FILE line N", as warnings and errors name a place.
std::string Where(const std::string& file, std::size_t line);

#pragma once

#include <cstddef>
#include <istream>
#include <sstream>
#include <string>

// Reads a whitespace-separated input file record by record with formatted
// extraction, knowing the line each record starts on, so that a bad record
// can be named and an early stop reported.
class RecordReader {
public:
    // Takes the whole remaining content of `in`; `in` is left at its end.
    explicit RecordReader(std::istream& in);

    // Moves to the start of the next record. False at the end of the input.
    bool Start();
    // Formatted extraction of one field; false when it fails.
    template <typename T>
    bool Get(T& x)
    {
        return static_cast<bool>(in >> x);
    }
    // The stream itself, for readers that take their own fields.
    std::istream& Stream() { return in; }
    bool Failed() const { return in.fail(); }

    const std::string& Name() const { return name; }
    int RecordLine() const { return recLine; }
    // "name, line N" of the current record, for messages.
    std::string Where() const;

    // After a failed field: warns on standard error that reading stopped,
    // naming the line and the token, unless the input simply ended between
    // records.
    void WarnStop();
    // What the stream holds at the current position ("end of file" when
    // nothing), after a failed or incomplete read.
    std::string TokenHere();

private:
    std::string name;
    std::string text;
    std::istringstream in;
    std::size_t counted = 0; // text[0, counted) has been scanned for line ends
    int line = 1;
    int recLine = 1;

    int LineAt(std::size_t pos);
};

// What an id of a range [0, n) must be, for messages; with n = 0 (no -f)
// no id is valid at all.
inline std::string ExpectedIds(int n)
{
    return n > 0 ? "expected 0 to " + std::to_string(n - 1) : "expected none, the -f count is 0";
}

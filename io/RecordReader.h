#pragma once

#include <cstddef>
#include <istream>
#include <string>

#include "io/BoundedBuf.h"

// Reads a whitespace-separated input file record by record with formatted
// extraction, knowing the line each record starts on, so that a bad record
// can be named and an early stop reported. It reads the source as it goes,
// through a BoundedBuf: a token longer than MAXTOKEN or a source that cannot
// be read ends the input with an InputErr when the reader gets there.
class RecordReader {
public:
    // Reads from the stream buffer of `src`, which is left somewhere after
    // the last record read (up to a chunk further).
    explicit RecordReader(std::istream& src);

    // Moves to the start of the next record. False at the end of the input.
    bool Start();
    // Formatted extraction of one field; false when it fails, and then the
    // refused token is still there to be named.
    template <typename T>
    bool Get(T& x)
    {
        in >> std::ws;
        in.peek();
        const BoundedBuf::Pos mark = buf.Mark();
        if (in >> x)
            return true;
        buf.Rewind(mark);
        return false;
    }
    // Get for an int, quicker for the small non-negative numbers of long
    // lists of ids.
    bool GetInt(int& x)
    {
        if (in.good() && buf.TakeInt(x))
            return true;
        return Get(x);
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
    BoundedBuf buf;
    std::istream in;
    int line = 1;
    int recLine = 1;

    // At the end of the input: throws InputErr when it ended early.
    void CheckStop();
};

// What an id of a range [0, n) must be, for messages; with n = 0 (no -f)
// no id is valid at all.
inline std::string ExpectedIds(int n)
{
    return n > 0 ? "expected 0 to " + std::to_string(n - 1) : "expected none, the -f count is 0";
}

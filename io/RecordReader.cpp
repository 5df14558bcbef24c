#include "io/RecordReader.h"

#include <iostream>

#include "io/FileOpen.h"

RecordReader::RecordReader(std::istream& src) : name(StreamName(src)), buf(src.bad() ? nullptr : src.rdbuf()), in(&buf)
{
}

void RecordReader::CheckStop() { buf.ThrowIfStopped(name); }

bool RecordReader::Start()
{
    if (in.fail())
        return false;
    if (in.good() && buf.SkipWhite()) {
        recLine = line = buf.LineHere();
        return true;
    }
    in >> std::ws;
    if (in.peek() == std::char_traits<char>::eof()) {
        CheckStop();
        in.clear(std::ios::eofbit);
        return false;
    }
    recLine = line = buf.LineHere();
    return true;
}

std::string RecordReader::Where() const { return name + ", line " + std::to_string(recLine); }

std::string RecordReader::TokenHere()
{
    in.clear();
    in >> std::ws;
    if (in.peek() == std::char_traits<char>::eof()) {
        CheckStop();
        // A record cut short by the end of the file stops where its last
        // token was read, which may be lines after the record began.
        if (const int last = buf.LastTokenLine(); last > 0)
            line = last;
        return "end of file";
    }
    line = buf.LineHere();
    std::string tok;
    in >> tok;
    std::string quoted(1, '\'');
    quoted += QuoteToken(tok);
    quoted += '\'';
    return quoted;
}

void RecordReader::WarnStop()
{
    const std::string tok = TokenHere();
    std::cerr << "Warning: " << name << ", line " << line << ": reading stopped at " << tok
              << "; the rest of the file is ignored" << std::endl;
}

#include "io/RecordReader.h"

#include <iostream>
#include <iterator>

#include "io/FileOpen.h"

RecordReader::RecordReader(std::istream& src)
    : name(StreamName(src)), text(std::istreambuf_iterator<char>(src), std::istreambuf_iterator<char>()), in(text)
{
}

int RecordReader::LineAt(std::size_t pos)
{
    // Positions only move forward, so each character is scanned once.
    for (; counted < pos && counted < text.size(); ++counted)
        if (text[counted] == '\n')
            ++line;
    return line;
}

bool RecordReader::Start()
{
    if (in.fail())
        return false;
    in >> std::ws;
    if (in.peek() == std::char_traits<char>::eof()) {
        in.clear(std::ios::eofbit);
        return false;
    }
    recLine = LineAt(std::size_t(in.tellg()));
    return true;
}

std::string RecordReader::Where() const { return name + ", line " + std::to_string(recLine); }

std::string RecordReader::TokenHere()
{
    in.clear();
    in >> std::ws;
    if (in.peek() == std::char_traits<char>::eof()) {
        // A record cut short by the end of the file stops where its last
        // token was read, which may be lines after the record began.
        const std::size_t last = text.find_last_not_of(" \t\n\r\f\v");
        if (last != std::string::npos)
            LineAt(last);
        return "end of file";
    }
    LineAt(std::size_t(in.tellg()));
    std::string tok;
    in >> tok;
    return "'" + tok + "'";
}

void RecordReader::WarnStop()
{
    const std::string tok = TokenHere();
    std::cerr << "Warning: " << name << ", line " << line << ": reading stopped at " << tok
              << "; the rest of the file is ignored" << std::endl;
}

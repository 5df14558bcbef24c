#include "io/FileOpen.h"

#include <filesystem>
#include <system_error>

#include "io/InText.h"

std::string StreamName(const std::istream& in)
{
    if (const auto* f = dynamic_cast<const InFile*>(&in))
        return f->name;
    if (const auto* t = dynamic_cast<const InText*>(&in))
        return t->name;
    return "<input>";
}

void InFopen(InFile& infile, const char* fname)
{
    infile.close();
    infile.clear();
    infile.name = fname;
    // A directory opens for reading on some systems; it is no input file.
    std::error_code ec;
    if (std::filesystem::is_directory(fname, ec))
        throw FileOpenErr(std::string("can't open ") + fname + ": it is a directory");
    infile.open(fname);
    if (!infile.is_open())
        throw FileOpenErr(std::string("can't open ") + fname);
}

void InFopen(InFile& infile, const std::string& fname) { InFopen(infile, fname.c_str()); }

void OutFopen(std::ofstream& outfile, const char* fname)
{
    outfile.close();
    outfile.clear();
    const std::string head = std::string(fname).substr(0, 5);
    if (head != "/dev/" && head != "/tmp/") {
        std::ifstream probe(fname);
        if (probe.is_open())
            throw FilExistErr(std::string("file already exists: ") + fname);
    }
    outfile.open(fname);
    if (!outfile.is_open())
        throw FileOpenErr(std::string("can't open ") + fname);
}

void OutFopen(std::ofstream& outfile, const std::string& fname) { OutFopen(outfile, fname.c_str()); }

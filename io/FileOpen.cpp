#include "io/FileOpen.h"

#include <iostream>

std::string StreamName(const std::istream& in)
{
    if (const auto* f = dynamic_cast<const InFile*>(&in))
        return f->name;
    return "<input>";
}

void InFopen(InFile& infile, const char* fname)
{
    infile.close();
    infile.clear();
    infile.name = fname;
    infile.open(fname);
    if (!infile.is_open()) {
        std::cerr << "Error: can't open " << fname << std::endl;
        throw FileOpenErr();
    }
}

void InFopen(InFile& infile, const std::string& fname)
{
    InFopen(infile, fname.c_str());
}

void OutFopen(std::ofstream& outfile, const char* fname)
{
    outfile.close();
    outfile.clear();
    const std::string head = std::string(fname).substr(0, 5);
    if (head != "/dev/" && head != "/tmp/") {
        std::ifstream probe(fname);
        if (probe.is_open()) {
            std::cerr << "Error: file already exists: " << fname << std::endl;
            throw FilExistErr();
        }
    }
    outfile.open(fname);
    if (!outfile.is_open()) {
        std::cerr << "Error: can't open " << fname << std::endl;
        throw FileOpenErr();
    }
}

void OutFopen(std::ofstream& outfile, const std::string& fname)
{
    OutFopen(outfile, fname.c_str());
}

#pragma once

// A whole run of motifbind-prep inside the test process, with what it wrote
// on its two streams, and a file read back whole.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/prep/PrepMain.h"

struct PrepRun {
    int status = 0;
    std::string out;
    std::string err;
};

inline PrepRun RunPrep(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    PrepRun r;
    r.status = PrepMain(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

inline std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

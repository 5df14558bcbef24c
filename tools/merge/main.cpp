#include <iostream>
#include <string>
#include <vector>

#include "tools/merge/MergeMain.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return MergeMain(args, std::cout, std::cerr);
}

#include <iostream>
#include <string>
#include <vector>

#include "tools/sim/SimMain.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return SimMain(args, std::cout, std::cerr);
}

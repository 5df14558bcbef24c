#include <iostream>
#include <string>
#include <vector>

#include "tools/prep/PrepMain.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return PrepMain(args, std::cout, std::cerr);
}

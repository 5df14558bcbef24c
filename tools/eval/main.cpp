#include <iostream>
#include <string>
#include <vector>

#include "tools/eval/EvalMain.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return EvalMain(args, std::cout, std::cerr);
}

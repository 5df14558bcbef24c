#include <iostream>
#include <string>
#include <vector>

#include "tools/report/ReportMain.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return ReportMain(args, std::cout, std::cerr);
}

#include <csignal>

#include "app/Run.h"

int main(int argc, char** argv)
{
    // A closed pipe on standard output or error makes writes fail instead of
    // killing the process, so the run can end with a message and a status.
    std::signal(SIGPIPE, SIG_IGN);
    return RunMain(argc, argv);
}

#pragma once

// One whole run from the command line to the exit status: 0 after a complete
// run, 1 after the usage text, 2 after a file or input error.
int RunMain(int argc, char** argv);

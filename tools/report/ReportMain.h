#pragma once

#include <ostream>
#include <string>
#include <vector>

// The whole program: reads a finished (or cut-short) run and writes the
// tables and report.html into a new folder. Returns the exit status.
int ReportMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

#pragma once

#include <ostream>
#include <stdexcept>

#include "app/Settings.h"

// A command line the program cannot run with. `what()` is a one-line
// explanation, or empty when the usage text alone says enough.
class UsageErr : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Largest protein or motif count -f accepts: the triangular pair index of
// the largest ids still fits 32 bits.
constexpr int MAXCOUNT = 46340;

// Most threads -t accepts.
constexpr int MAXTHREADS = 256;

// Reads the whole command line, program name first, into the settings of a
// run: the leading options, then exactly fourteen positional arguments. Only
// the second character of an option word counts (-lx is -l); the first word
// that does not begin with "-" ends the options. A repeated option takes
// effect again, the last one given counts. "--help" or "--version" among the
// options ends the reading and sets the action.
//
// Every number is the whole word (see NumberWord.h). A word that is no
// number of its kind is refused where it stands; the range of -f, -l, -n and
// of the two numeric positional arguments is checked on the value that
// counts, once the command line is complete: -f counts from 0 to MAXCOUNT,
// leak type 0, 1 or 2, prior counts (-n and <Dirichlet prior: Pos>) finite
// and at least 0, the leak group at least 1 with leak type 1 and any int
// otherwise. -p and -s take any int. -t takes 1 to MAXTHREADS and -j two
// whole numbers with 0 <= index < count <= MAXSHARDS, checked at once.
//
// Throws UsageErr: with an empty reason for the program name alone, else
// with one line naming the option or argument, the word and what it needs.
// Opens no file.
Settings ParseCommandLine(int argc, const char* const* argv);

// Writes the usage text, line by line with a flush after each.
void PrintUsage(std::ostream& out);

// Writes the usage text and then the options it leaves out, in the same
// way.
void PrintHelp(std::ostream& out);

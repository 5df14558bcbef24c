#pragma once

#include <istream>
#include <sstream>
#include <string>

// An input read once into memory, under its file's name: for a list that is
// read more than once in a run (the binding pairs feed the predictions and
// the analysis), so that a pipe or FIFO can serve it too.
class InText : public std::istringstream {
public:
    std::string name;

    // Back to the start, for the next reader.
    void Rewind()
    {
        clear();
        seekg(0);
    }
};

// Reads the rest of `in` into `text`, named after `in`. A token longer than
// any number can be (a binary file, /dev/zero) or a failed read is an
// InputErr.
void KeepInput(std::istream& in, InText& text);

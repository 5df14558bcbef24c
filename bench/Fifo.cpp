#include "bench/Fifo.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

#include "tools/toolbox/ToolError.h"

Fifo::Fifo(std::string path) : path_(std::move(path))
{
    if (mkfifo(path_.c_str(), 0600) != 0) {
        throw ToolError("cannot create the named pipe " + path_ + ": " + std::strerror(errno));
    }
}

Fifo::~Fifo() { unlink(path_.c_str()); }

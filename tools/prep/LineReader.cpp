#include "tools/prep/LineReader.h"

#include <cerrno>
#include <cstring>

#include <zlib.h>

#include "tools/common/ToolError.h"

LineReader::LineReader(std::string path) : path_(std::move(path))
{
    // gzopen reads files that are not compressed as they are.
    gzFile f = gzopen(path_.c_str(), "rb");
    if (f == nullptr) {
        throw ToolError("cannot open " + path_ + ": " + std::strerror(errno) + "; expected a readable file");
    }
    file_ = f;
}

LineReader::~LineReader() { gzclose(static_cast<gzFile>(file_)); }

bool LineReader::Next(std::string& line)
{
    gzFile f = static_cast<gzFile>(file_);
    line.clear();
    char buf[8192];
    bool any = false;
    while (gzgets(f, buf, sizeof buf) != nullptr) {
        any = true;
        line += buf;
        if (!line.empty() && line.back() == '\n') {
            break;
        }
        if (line.size() > MAX_LINE) {
            throw LineError(path_, lineNo_ + 1, "line longer than " + std::to_string(MAX_LINE) +
                                                    " bytes; expected a text file of records");
        }
    }
    int code = Z_OK;
    const char* msg = gzerror(f, &code);
    if (code != Z_OK && code != Z_STREAM_END) {
        throw LineError(path_, lineNo_ + 1, std::string("cannot read: ") + (code == Z_ERRNO ? std::strerror(errno) : msg) +
                                                "; expected an intact plain or gzip-compressed file");
    }
    if (!any) {
        return false;
    }
    ++lineNo_;
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (line.size() > MAX_LINE) {
        throw LineError(path_, lineNo_, "line longer than " + std::to_string(MAX_LINE) +
                                            " bytes; expected a text file of records");
    }
    return true;
}

#include "tools/merge/NewFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include "tools/toolbox/ToolError.h"

namespace fs = std::filesystem;

namespace {

std::string Suffix()
{
    std::random_device rd;
    const char* const HEX = "0123456789abcdef";
    std::string s = ".partial-";
    for (int i = 0; i < 12; ++i) {
        s += HEX[rd() % 16];
    }
    return s;
}

bool Exists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec)) || (ec && ec != std::errc::no_such_file_or_directory);
}

} // namespace

NewFile::NewFile(std::string path, std::string what) : path_(std::move(path)), what_(std::move(what))
{
    if (Exists(path_)) {
        throw ToolError(what_ + " '" + path_ + "' already exists; it is never overwritten");
    }
    temp_ = path_ + Suffix();
    // "x": fail instead of truncating a file that happens to have this name.
    file_ = std::fopen(temp_.c_str(), "wbx");
    if (file_ == nullptr) {
        const int err = errno;
        throw ToolError("cannot create " + what_ + " '" + temp_ + "': " + std::strerror(err));
    }
}

NewFile::~NewFile()
{
    if (file_ != nullptr) {
        std::fclose(file_);
    }
    std::error_code ec;
    fs::remove(temp_, ec);
}

void NewFile::Fail(const std::string& why) const
{
    throw ToolError("cannot write " + what_ + " '" + path_ + "': " + why);
}

void NewFile::Write(const char* data, std::size_t n)
{
    if (std::fwrite(data, 1, n, file_) != n) {
        Fail(std::strerror(errno));
    }
}

void NewFile::Close()
{
    const bool flushed = std::fflush(file_) == 0;
    const int err = errno;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed) {
        Fail(std::strerror(err != 0 ? err : errno));
    }
}

void PlaceAll(const std::vector<NewFile*>& files)
{
    for (const NewFile* f : files) {
        if (f->file_ != nullptr) {
            throw ToolError("internal error: " + f->what_ + " '" + f->path_ + "' placed before it was closed");
        }
    }
    std::vector<const NewFile*> placed;
    for (const NewFile* f : files) {
        std::error_code ec;
        fs::create_hard_link(f->temp_, f->path_, ec);
        if (ec && ec != std::errc::file_exists) {
            // A file system without hard links: a copy that refuses an
            // existing target instead.
            ec.clear();
            fs::copy_file(f->temp_, f->path_, fs::copy_options::none, ec);
        }
        if (ec) {
            for (const NewFile* p : placed) {
                std::error_code ignored;
                fs::remove(p->path_, ignored);
            }
            if (ec == std::errc::file_exists) {
                throw ToolError(f->what_ + " '" + f->path_ + "' appeared while merging; it is never overwritten");
            }
            throw ToolError("cannot create " + f->what_ + " '" + f->path_ + "': " + ec.message());
        }
        placed.push_back(f);
    }
}

#include "tools/common/OutputFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "tools/common/ToolError.h"

namespace fs = std::filesystem;

OutputFolder::OutputFolder(std::string path) : path_(std::move(path)) {}

void OutputFolder::CheckUsable() const
{
    std::error_code ec;
    const fs::file_status st = fs::status(path_, ec);
    if (ec && ec != std::errc::no_such_file_or_directory) {
        throw ToolError("cannot read the state of output folder '" + path_ + "': " + ec.message());
    }
    if (!fs::exists(st)) {
        return;
    }
    if (!fs::is_directory(st)) {
        throw ToolError("output path '" + path_ + "' is not a folder; expected a new or empty folder");
    }
    if (!fs::is_empty(path_, ec) || ec) {
        throw ToolError("output folder '" + path_ + "' already holds files; expected a new or empty folder");
    }
}

void OutputFolder::Create() const
{
    std::error_code ec;
    fs::create_directories(path_, ec);
    if (ec) {
        throw ToolError("cannot create output folder '" + path_ + "': " + ec.message());
    }
    CheckUsable();
}

void OutputFolder::Write(const std::string& name, const std::string& text) const
{
    const std::string path = (fs::path(path_) / name).string();
    // "x": fail instead of truncating a file that appeared meanwhile.
    std::FILE* f = std::fopen(path.c_str(), "wx");
    if (f == nullptr) {
        const int err = errno;
        if (err == EEXIST) {
            throw ToolError("file '" + path + "' already exists; it is never overwritten");
        }
        throw ToolError("cannot create '" + path + "': " + std::strerror(err));
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        throw ToolError("cannot write '" + path + "'; expected a writable folder with free space");
    }
}

void OutputFolder::CreateWith(const std::vector<std::pair<std::string, std::string>>& files) const
{
    Create();
    for (const auto& [name, text] : files) {
        Write(name, text);
    }
}

#include "tools/toolbox/OutputFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "tools/toolbox/ToolError.h"

namespace fs = std::filesystem;

namespace {

// The folder a path names, also when written with a trailing '/'.
fs::path Folder(const std::string& path)
{
    fs::path p(path);
    while (!p.has_filename() && p.has_parent_path() && p != p.root_path()) {
        p = p.parent_path();
    }
    return p;
}

// Creates a new folder named after `base`, unique among its siblings.
std::string NewFolder(const fs::path& base)
{
    for (unsigned n = 0;; ++n) {
        const std::string name = base.string() + "-" + std::to_string(::getpid()) + "-" + std::to_string(n);
        if (::mkdir(name.c_str(), 0777) == 0) {
            return name;
        }
        if (errno != EEXIST || n > 1000) {
            throw ToolError("cannot create a staging folder " + name + ": " + std::strerror(errno) +
                            "; expected a writable place for the output folder");
        }
    }
}

} // namespace

OutputFolder::OutputFolder(std::string path) : path_(std::move(path)) {}

OutputFolder::~OutputFolder()
{
    if (!staging_.empty() && !committed_) {
        std::error_code ec;
        fs::remove_all(staging_, ec);
    }
}

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

void OutputFolder::Begin()
{
    CheckUsable();
    const fs::path folder = Folder(path_);
    std::error_code ec;
    if (fs::exists(folder, ec)) {
        inside_ = true;
        staging_ = NewFolder(folder / ".partial");
        return;
    }
    const fs::path parent = folder.has_parent_path() ? folder.parent_path() : fs::path(".");
    fs::create_directories(parent, ec);
    if (ec) {
        throw ToolError("cannot create output folder '" + path_ + "': " + ec.message());
    }
    // Hidden beside it, named after it.
    std::string hidden(1, '.');
    hidden += folder.filename().string();
    hidden += ".partial";
    staging_ = NewFolder(parent / hidden);
}

OutputFolder::File::~File()
{
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

OutputFolder::File::File(File&& other) noexcept : path_(std::move(other.path_)), file_(other.file_)
{
    other.file_ = nullptr;
}

void OutputFolder::File::Append(std::string_view text)
{
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) {
        const int err = errno;
        throw ToolError("cannot write '" + path_ + "': " + std::strerror(err) +
                        "; expected a writable folder with free space");
    }
}

void OutputFolder::File::Close()
{
    std::FILE* f = file_;
    file_ = nullptr;
    const bool flushed = std::fflush(f) == 0 && std::ferror(f) == 0;
    const int err = errno;
    if (std::fclose(f) != 0 || !flushed) {
        throw ToolError("cannot write '" + path_ + "': " + std::strerror(flushed ? errno : err) +
                        "; expected a writable folder with free space");
    }
}

OutputFolder::File OutputFolder::Open(const std::string& name)
{
    if (staging_.empty()) {
        Begin();
    }
    const std::string path = (fs::path(staging_) / name).string();
    // "x": a name written twice is a fault, not a replacement.
    std::FILE* f = std::fopen(path.c_str(), "wx");
    if (f == nullptr) {
        const int err = errno;
        const std::string shown = (fs::path(path_) / name).string();
        if (err == EEXIST) {
            throw ToolError("file '" + shown + "' already exists; it is never overwritten");
        }
        throw ToolError("cannot create '" + shown + "': " + std::strerror(err));
    }
    names_.push_back(name);
    return File((fs::path(path_) / name).string(), f);
}

void OutputFolder::Write(const std::string& name, const std::string& text)
{
    File f = Open(name);
    f.Append(text);
    f.Close();
}

void OutputFolder::Commit()
{
    if (staging_.empty()) {
        Begin();
    }
    const fs::path folder = Folder(path_);
    if (!inside_) {
        // Fails rather than replace a folder that was filled meanwhile.
        if (::rename(staging_.c_str(), folder.c_str()) != 0) {
            const int err = errno;
            throw ToolError("cannot put output folder '" + path_ + "' in place: " + std::strerror(err) +
                            "; expected it to stay missing or empty while it was written");
        }
        committed_ = true;
        return;
    }
    // A link fails rather than replace a file that appeared meanwhile; the
    // files linked before it are taken back.
    std::vector<std::string> placed;
    for (const std::string& name : names_) {
        const std::string from = (fs::path(staging_) / name).string();
        const std::string to = (folder / name).string();
        if (::link(from.c_str(), to.c_str()) != 0) {
            const int err = errno;
            for (const std::string& p : placed) {
                ::unlink(p.c_str());
            }
            throw ToolError("cannot put '" + to + "' in place: " + std::strerror(err) +
                            (err == EEXIST ? "; it is never overwritten" : ""));
        }
        placed.push_back(to);
    }
    std::error_code ec;
    fs::remove_all(staging_, ec);
    committed_ = true;
}

void OutputFolder::CreateWith(const std::vector<std::pair<std::string, std::string>>& files)
{
    Begin();
    for (const auto& [name, text] : files) {
        Write(name, text);
    }
    Commit();
}

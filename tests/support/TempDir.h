#pragma once

#include <filesystem>
#include <string>

namespace testutil {

// A fresh, empty folder, removed with everything in it when the object goes
// away. Under /tmp by default: motifbind lets its outputs replace files
// there, so runs in the folder need no clean-up between them.
class TempDir {
public:
    explicit TempDir(const std::filesystem::path& under = "/tmp");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path; }
    // Full path of `name` inside the folder.
    std::string File(const std::string& name) const { return (path / name).string(); }
    // Writes `text` to `name` inside the folder (creating the folders on the
    // way) and returns its path.
    std::string Write(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path path;
};

// The bytes of the file at `path`; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);
// Writes `text` to `path` as it is, creating the folders on the way.
void WriteFile(const std::filesystem::path& path, const std::string& text);
bool FileExists(const std::filesystem::path& path);

} // namespace testutil

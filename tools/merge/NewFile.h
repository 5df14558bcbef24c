#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// An output file that appears complete or not at all, and never in place of
// a file that exists. It is written under a temporary name beside its own,
// created exclusively, and put in place by a hard link, which fails rather
// than replace a file that appeared meanwhile. The temporary name is removed
// when the object goes away, whether the file was placed or not.
class NewFile {
public:
    // Throws ToolError when `path` exists or the temporary file cannot be
    // created; `what` names the file in messages.
    NewFile(std::string path, std::string what);
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    const std::string& Path() const { return path_; }
    void Write(const char* data, std::size_t n);
    // Closes the temporary file; throws ToolError if anything was lost.
    void Close();

private:
    std::string path_;
    std::string what_;
    std::string temp_;
    std::FILE* file_ = nullptr;

    void Fail(const std::string& why) const;
    friend void PlaceAll(const std::vector<NewFile*>& files);
};

// Puts closed files under their names, all or none: when one name is taken
// by now, those already placed are removed again and ToolError is thrown.
void PlaceAll(const std::vector<NewFile*>& files);

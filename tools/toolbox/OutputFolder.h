#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The folder that receives a generated input set or a report. It appears
// complete or not at all: the files are written into a staging folder and
// put in place by Commit(), so a failed write (a full disk, a killed input)
// leaves no half-written folder that a second try would refuse. A new folder
// is staged beside it and renamed into place; an existing empty one gets a
// staging folder inside, whose files are linked into it at the end. Files
// are only ever created, never overwritten: a folder that already holds
// files is refused, and a file that appeared meanwhile stops the commit.
class OutputFolder {
public:
    explicit OutputFolder(std::string path);
    // Removes the staging folder of a writing that was not committed.
    ~OutputFolder();
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;

    // Throws ToolError unless the path is missing or an empty folder.
    void CheckUsable() const;

    // A file of the folder written piece by piece.
    class File {
    public:
        File(std::string path, std::FILE* f) : path_(std::move(path)), file_(f) {}
        ~File();
        File(const File&) = delete;
        File& operator=(const File&) = delete;
        File(File&& other) noexcept;
        File& operator=(File&&) = delete;

        void Append(std::string_view text);
        // Throws ToolError when anything written was lost.
        void Close();

    private:
        std::string path_;
        std::FILE* file_ = nullptr;
    };

    // Checks the folder again and creates the staging folder (and missing
    // parents of the output folder).
    void Begin();
    // Writes a new file; throws ToolError when it was written already or
    // cannot be written.
    void Write(const std::string& name, const std::string& text);
    File Open(const std::string& name);
    // Puts every file in place.
    void Commit();

    // Begin, each (name, text) file in order, Commit.
    void CreateWith(const std::vector<std::pair<std::string, std::string>>& files);

private:
    std::string path_;
    std::string staging_; // empty until Begin
    bool inside_ = false; // staged inside an existing folder
    std::vector<std::string> names_;
    bool committed_ = false;
};

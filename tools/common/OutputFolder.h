#pragma once

#include <string>
#include <utility>
#include <vector>

// The folder that receives a generated input set. Files are only ever
// created, never overwritten: a folder that already holds files is refused,
// and each file is opened for exclusive creation.
class OutputFolder {
public:
    explicit OutputFolder(std::string path);

    // Throws ToolError unless the path is missing or an empty folder.
    void CheckUsable() const;
    // Creates the folder (and missing parents), then checks it again.
    void Create() const;
    // Writes a new file; throws ToolError if it exists or cannot be written.
    void Write(const std::string& name, const std::string& text) const;
    // Creates the folder and writes every (name, text) file into it, in order.
    void CreateWith(const std::vector<std::pair<std::string, std::string>>& files) const;

private:
    std::string path_;
};

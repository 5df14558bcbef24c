#include "support/TempDir.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testutil {

TempDir::TempDir(const fs::path& under)
{
    std::string tmpl = (under / "motifbind-test-XXXXXX").string();
    // No folder, no test: a shared fallback would be emptied afterwards.
    if (mkdtemp(tmpl.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder under " + under.string());
    path = tmpl;
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(path, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& text) const
{
    const std::string f = File(name);
    WriteFile(f, text);
    return f;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const fs::path& path, const std::string& text)
{
    if (path.has_parent_path())
        fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

bool FileExists(const fs::path& path) { return fs::exists(path); }

} // namespace testutil

#include "tools/toolbox/ProgramPath.h"

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool IsExecutableFile(const fs::path& p)
{
    std::error_code ec;
    return fs::is_regular_file(p, ec) && ::access(p.c_str(), X_OK) == 0;
}

} // namespace

fs::path SelfExe()
{
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : self;
}

fs::path MotifbindBeside(const fs::path& self)
{
    if (self.empty()) {
        return {};
    }
    const fs::path dir = self.parent_path();
    for (const fs::path& candidate : {dir / "motifbind", dir.parent_path() / "motifbind"}) {
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
    }
    return {};
}

fs::path FindOnPath(const std::string& name, const std::string& path)
{
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(':', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string dir = path.substr(start, end - start);
        const fs::path candidate = fs::path(dir.empty() ? "." : dir) / name;
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

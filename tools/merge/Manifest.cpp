#include "tools/merge/Manifest.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "tools/toolbox/ToolError.h"

namespace {

// Longer than any manifest: a larger file is something else.
constexpr std::uintmax_t MAXSIZE = 4096;

} // namespace

ShardManifest ParseManifest(const std::string& text, const std::string& path)
{
    if (text.empty()) {
        throw ToolError("manifest '" + path + "' is empty: its run did not finish");
    }
    try {
        return ParseManifest(std::string_view(text));
    } catch (const ManifestError& e) {
        throw LineError(path, e.Line(), e.what());
    }
}

ShardManifest ReadManifest(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        throw ToolError("no manifest '" + path + "'; expected the file a run with -j writes beside its log");
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > MAXSIZE) {
        throw ToolError("'" + path + "' is no manifest of a run with -j");
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        throw ToolError("cannot read manifest '" + path + "'");
    }
    return ParseManifest(text.str(), path);
}

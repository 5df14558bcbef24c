#include "tools/prep/Sha256.h"

#include <openssl/evp.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <vector>

#include "tools/toolbox/ToolError.h"

namespace {

constexpr std::size_t BLOCK = std::size_t(1) << 16;

struct ContextFree {
    void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
};
using Context = std::unique_ptr<EVP_MD_CTX, ContextFree>;

struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
};

std::string Hex(const unsigned char* d, unsigned n)
{
    static const char DIGITS[] = "0123456789abcdef";
    std::string s;
    for (unsigned i = 0; i < n; ++i) {
        s += DIGITS[d[i] >> 4];
        s += DIGITS[d[i] & 15];
    }
    return s;
}

Context Started(const std::string& what)
{
    Context c(EVP_MD_CTX_new());
    if (!c || EVP_DigestInit_ex(c.get(), EVP_sha256(), nullptr) != 1) {
        throw ToolError(what + ": SHA-256 is not available from the crypto library");
    }
    return c;
}

std::string Finished(EVP_MD_CTX* c, const std::string& what)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned n = 0;
    if (EVP_DigestFinal_ex(c, digest, &n) != 1) {
        throw ToolError(what + ": the SHA-256 digest failed");
    }
    return Hex(digest, n);
}

} // namespace

std::string Sha256Hex(std::string_view bytes)
{
    const Context c = Started("digest");
    if (EVP_DigestUpdate(c.get(), bytes.data(), bytes.size()) != 1) {
        throw ToolError("digest: the SHA-256 digest failed");
    }
    return Finished(c.get(), "digest");
}

std::string Sha256OfFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw ToolError(path + ": cannot be opened for its checksum (" + std::strerror(errno) + ")");
    }
    const Closer closer{fd};
    const Context c = Started(path);
    std::vector<unsigned char> block(BLOCK);
    for (;;) {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw ToolError(path + ": read failed for its checksum (" + std::strerror(errno) + ")");
        }
        if (got == 0) {
            break;
        }
        if (EVP_DigestUpdate(c.get(), block.data(), static_cast<std::size_t>(got)) != 1) {
            throw ToolError(path + ": the SHA-256 digest failed");
        }
    }
    return Finished(c.get(), path);
}

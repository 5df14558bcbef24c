#include "tools/toolbox/LineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include <zlib.h>

namespace {

constexpr std::size_t CHUNK = std::size_t(64) << 10;
constexpr unsigned char GZIP_MAGIC[2] = {0x1f, 0x8b};
// zlib: a gzip header, not zlib's own.
constexpr int GZIP_WINDOW = 15 + 16;

bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\n'; }

} // namespace

struct LineReader::Inflater {
    z_stream z{};
    bool memberDone = false;

    Inflater()
    {
        if (inflateInit2(&z, GZIP_WINDOW) != Z_OK) {
            throw std::bad_alloc();
        }
    }
    ~Inflater() { inflateEnd(&z); }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
};

LineReader::LineReader(std::string path) : path_(std::move(path)), raw_(CHUNK)
{
    do {
        fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) {
        throw ToolError("cannot open " + path_ + ": " + std::strerror(errno) + "; expected a readable file");
    }
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw ToolError(path_ + " is a directory; expected a file");
    }
}

LineReader::LineReader(std::string name, std::string_view bytes) : path_(std::move(name)), memory_(bytes), raw_(CHUNK)
{
}

LineReader::~LineReader()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void LineReader::Fail(const std::string& what) const
{
    // Past the last line returned: where reading stopped.
    throw LineError(path_, lineNo_ + 1, what);
}

std::size_t LineReader::ReadSome(unsigned char* to, std::size_t n)
{
    if (fd_ < 0) {
        const std::size_t k = std::min(n, memory_.size() - memoryAt_);
        // An empty view may have no data pointer at all.
        if (k > 0) {
            std::memcpy(to, memory_.data() + memoryAt_, k);
        }
        memoryAt_ += k;
        return k;
    }
    for (;;) {
        const ssize_t got = ::read(fd_, to, n);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            Fail(std::string("cannot read: ") + std::strerror(errno) + "; expected a readable file");
        }
    }
}

// At least `least` unread raw bytes, unless the input ends first; false when
// there are fewer.
bool LineReader::Raw(std::size_t least)
{
    while (rawEnd_ - rawAt_ < least && !rawDone_) {
        if (rawAt_ > 0) {
            std::memmove(raw_.data(), raw_.data() + rawAt_, rawEnd_ - rawAt_);
            rawEnd_ -= rawAt_;
            rawAt_ = 0;
        }
        const std::size_t got = ReadSome(raw_.data() + rawEnd_, raw_.size() - rawEnd_);
        rawDone_ = got == 0;
        rawEnd_ += got;
    }
    return rawEnd_ - rawAt_ >= least;
}

void LineReader::Start()
{
    started_ = true;
    Raw(sizeof GZIP_MAGIC);
    gzip_ = rawEnd_ - rawAt_ >= sizeof GZIP_MAGIC && std::memcmp(raw_.data() + rawAt_, GZIP_MAGIC, 2) == 0;
    if (gzip_) {
        inflater_ = std::make_unique<Inflater>();
        out_.resize(CHUNK);
    }
}

// Decompresses the next piece into out_; false at the clean end of the
// last member.
bool LineReader::Inflate()
{
    z_stream& z = inflater_->z;
    for (;;) {
        if (inflater_->memberDone) {
            // What follows a member is another member or nothing.
            if (!Raw(1)) {
                return false;
            }
            if (!Raw(sizeof GZIP_MAGIC) || std::memcmp(raw_.data() + rawAt_, GZIP_MAGIC, 2) != 0) {
                Fail("data after the end of the gzip data that is not another gzip member (" +
                     std::to_string(compressed_) +
                     " compressed bytes read); expected a gzip file, or members joined by cat, but not gzip and "
                     "plain text joined");
            }
            inflateReset(&z);
            inflater_->memberDone = false;
        }
        if (!Raw(1)) {
            Fail("the gzip data ends early; expected a complete gzip file (a cut download or copy?)");
        }
        const std::size_t in = rawEnd_ - rawAt_;
        z.next_in = raw_.data() + rawAt_;
        z.avail_in = static_cast<uInt>(in);
        z.next_out = reinterpret_cast<Bytef*>(out_.data());
        z.avail_out = static_cast<uInt>(out_.size());
        const int rc = inflate(&z, Z_NO_FLUSH);
        const std::size_t used = in - z.avail_in;
        const std::size_t made = out_.size() - z.avail_out;
        rawAt_ += used;
        compressed_ += used;
        expanded_ += made;
        if (rc == Z_STREAM_END) {
            inflater_->memberDone = true;
        } else if (rc == Z_BUF_ERROR && used == 0 && made == 0) {
            // Needs more input than there is unread: read on.
            if (rawDone_) {
                Fail("the gzip data ends early; expected a complete gzip file (a cut download or copy?)");
            }
            Raw(in + 1);
        } else if (rc != Z_OK && rc != Z_BUF_ERROR) {
            Fail(std::string("damaged gzip data (") + (z.msg != nullptr ? z.msg : "zlib error " + std::to_string(rc)) +
                 "); expected an intact gzip file");
        }
        if (expanded_ > EXPANSION_FLOOR && expanded_ / MAX_EXPANSION > compressed_) {
            Fail("the gzip data expands to more than " + std::to_string(MAX_EXPANSION) + " times its size (" +
                 std::to_string(expanded_) + " bytes from " + std::to_string(compressed_) +
                 "); expected a compressed text file, not a decompression bomb");
        }
        if (made > 0) {
            text_ = out_.data();
            textAt_ = 0;
            textEnd_ = made;
            return true;
        }
    }
}

// The next piece of text; false at the end of the input.
bool LineReader::Fill()
{
    if (!started_) {
        Start();
    }
    if (gzip_) {
        return Inflate();
    }
    if (rawAt_ == rawEnd_) {
        rawAt_ = rawEnd_ = 0;
        if (!Raw(1)) {
            return false;
        }
    }
    text_ = reinterpret_cast<const char*>(raw_.data());
    textAt_ = rawAt_;
    textEnd_ = rawEnd_;
    rawAt_ = rawEnd_;
    return true;
}

bool LineReader::Next(std::string& line)
{
    line.clear();
    bool any = false;
    bool ended = false;
    while (!ended) {
        if (textAt_ == textEnd_ && !Fill()) {
            break;
        }
        const char* from = text_ + textAt_;
        const std::size_t avail = textEnd_ - textAt_;
        const void* nl = std::memchr(from, '\n', avail);
        const std::size_t take = nl != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nl) - from) : avail;
        if (line.size() + take > MAX_LINE) {
            Fail("a line longer than " + std::to_string(MAX_LINE) +
                 " bytes; expected a text file of records, one per line");
        }
        if (const void* nul = std::memchr(from, '\0', take); nul != nullptr) {
            const std::size_t column = line.size() + static_cast<std::size_t>(static_cast<const char*>(nul) - from) + 1;
            Fail("a NUL byte at column " + std::to_string(column) + "; expected a text file");
        }
        line.append(from, take);
        textAt_ += take;
        any = any || take > 0;
        if (nl != nullptr) {
            ++textAt_;
            ended = true;
        }
    }
    if (!any && !ended) {
        return false;
    }
    ++lineNo_;
    lineEnded_ = ended;
    if (lineNo_ == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        line.erase(0, 3);
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

std::vector<std::string_view> Words(const LineReader& in, std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsWhite(line[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && !IsWhite(line[i])) {
            ++i;
        }
        if (i > start) {
            if (i - start > LineReader::MAX_TOKEN) {
                throw in.Error("a word of " + std::to_string(i - start) + " characters, " +
                               Shown(line.substr(start, i - start)) + "; expected words of at most " +
                               std::to_string(LineReader::MAX_TOKEN));
            }
            words.push_back(line.substr(start, i - start));
        }
    }
    return words;
}

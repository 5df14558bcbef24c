#pragma once

#include <cstddef>
#include <ostream>
#include <string_view>
#include <vector>

// Writes `v` as a stream with default settings writes a double (general
// format, 6 significant digits: printf's "%g") and returns the end. Needs
// room for 32 characters.
char* FormatDouble(char* out, double v);

// Text for an output stream, built in memory and handed over in large
// chunks, so that writing many short lines costs no system call per line.
// Numbers look exactly as the stream would write them with its default
// settings. Failures of the stream show when a chunk is handed over (it
// throws when its exceptions are set), at the latest in Flush.
class OutText {
public:
    explicit OutText(std::ostream& to);
    ~OutText();
    OutText(const OutText&) = delete;
    OutText& operator=(const OutText&) = delete;

    OutText& operator<<(std::string_view s);
    OutText& operator<<(char c);
    OutText& operator<<(int v);
    OutText& operator<<(double v);
    // Hands what is held to the stream and flushes it.
    void Flush();

private:
    static constexpr std::size_t CHUNK = 64 * 1024;
    // Room that one item can take at most, but for long strings.
    static constexpr std::size_t ITEM = 64;

    std::ostream& to;
    std::vector<char> buf;
    char* at;

    void Pass();
    char* Room()
    {
        if (std::size_t(buf.data() + buf.size() - at) < ITEM)
            Pass();
        return at;
    }
};

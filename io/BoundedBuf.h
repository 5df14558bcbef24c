#pragma once

#include <cstddef>
#include <streambuf>
#include <string>
#include <vector>

// Bytes taken from the source per read.
constexpr std::size_t READCHUNK = 64 * 1024;
// The longest run of non-white characters an input may hold. Real tokens
// are numbers and type words of a few dozen characters; anything longer is
// not a text file of numbers (/dev/zero, a binary file) and ends the input.
constexpr std::size_t MAXTOKEN = 4096;
// How many characters of a token a message quotes.
constexpr std::size_t TOKENQUOTE = 40;

// The first TOKENQUOTE characters of `tok` for a message, "..." after a cut;
// control characters are shown as \xNN.
std::string QuoteToken(const std::string& tok);

// A read buffer over a source stream buffer for formatted extraction of
// whitespace-separated tokens. It reads the source in chunks and hands out
// only whole tokens: a get area always ends after a white character or at
// the end of the source, so a token never spans two areas. It counts the
// lines of what has been read, and it stops the input in two cases, seen by
// the reader as an ordinary end of input that Stopped() then explains:
//   - a token longer than MAXTOKEN: the input ends just before it;
//   - the source failed (it threw from its own read): the input ends there.
class BoundedBuf : public std::streambuf {
public:
    enum class Stop { NONE, LONGTOKEN, READERROR };

    // A null source reads as a failed one.
    explicit BoundedBuf(std::streambuf* src);
    BoundedBuf(const BoundedBuf&) = delete;
    BoundedBuf& operator=(const BoundedBuf&) = delete;

    // The line (from 1) of the next character to be read.
    int LineHere();
    // The line of the last non-white character read so far, 0 when none.
    int LastTokenLine();

    // Why the input ended early, when it did; meaningful once the reader
    // has met the end of the input.
    Stop Stopped() const { return stop; }
    // Throws the InputErr that explains an early end, naming the input
    // `name`; returns when the input ended normally.
    void ThrowIfStopped(const std::string& name) const;
    // The line where the long token starts, or where reading failed.
    int StopLine() const { return stopLine; }
    // The first characters of the long token (MAXTOKEN + 1 at most).
    const std::string& StopToken() const { return stopToken; }

    // The position of the next character, and a return to it: a token lies
    // inside one get area, so a failed extraction can be undone to quote the
    // token it refused. A mark from an earlier area is ignored.
    struct Pos {
        std::size_t fill;
        const char* at;
    };
    Pos Mark() const { return {fills, gptr()}; }
    void Rewind(const Pos& mark);

    // The common cases of formatted extraction, straight from the get area,
    // for long lists of small numbers. SkipWhite skips white space and says
    // whether a character follows in the area. TakeInt takes an int of one to
    // nine digits without a sign that white space ends inside the area, after
    // white space; it says false, having taken only white space, when the
    // text is anything else, which formatted extraction then reads as usual.
    bool SkipWhite();
    bool TakeInt(int& x);

protected:
    int_type underflow() override;

private:
    std::streambuf* src;
    std::vector<char> data; // the get area, then the bytes held back
    std::size_t held = 0;   // bytes read after egptr(), not handed out yet
    std::size_t fills = 0;  // get areas handed out so far
    bool srcEnd = false;
    Stop stop = Stop::NONE;
    int stopLine = 0;
    std::string stopToken;
    const char* counted; // lines are counted up to here
    int line = 1;        // the line of *counted
    int lastTokLine = 0;

    void CountTo(const char* to);
    std::size_t ReadSource(char* to, std::size_t n);
};

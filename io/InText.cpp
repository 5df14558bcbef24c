#include "io/InText.h"

#include <vector>

#include "io/BoundedBuf.h"
#include "io/FileOpen.h"

void KeepInput(std::istream& in, InText& text)
{
    text.name = StreamName(in);
    BoundedBuf buf(in.rdbuf());
    std::string all;
    std::vector<char> chunk(READCHUNK);
    for (;;) {
        const std::streamsize n = buf.sgetn(chunk.data(), std::streamsize(chunk.size()));
        if (n <= 0)
            break;
        all.append(chunk.data(), std::size_t(n));
    }
    switch (buf.Stopped()) {
    case BoundedBuf::Stop::LONGTOKEN:
        throw InputErr(text.name + ", line " + std::to_string(buf.StopLine()) + ": token " +
                       QuoteToken(buf.StopToken()) + " is longer than " + std::to_string(MAXTOKEN) +
                       " characters; expected whitespace-separated numbers");
    case BoundedBuf::Stop::READERROR:
        throw FileOpenErr("can't read " + text.name + " (line " + std::to_string(buf.StopLine()) + ")");
    case BoundedBuf::Stop::NONE:
        break;
    }
    text.str(std::move(all));
    text.clear();
}

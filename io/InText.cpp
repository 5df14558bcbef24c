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
    buf.ThrowIfStopped(text.name);
    text.str(std::move(all));
    text.clear();
}

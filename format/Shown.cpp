#include "format/Shown.h"

std::string Shown(std::string_view value)
{
    constexpr std::size_t MAX_SHOWN = 40;
    constexpr char HEX[] = "0123456789abcdef";
    std::string s = "'";
    for (std::size_t i = 0; i < value.size() && i < MAX_SHOWN; ++i) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        if (c < 0x20 || c == 0x7f) {
            s += "\\x";
            s += HEX[c >> 4];
            s += HEX[c & 0xf];
        } else {
            s += value[i];
        }
    }
    s += value.size() > MAX_SHOWN ? "...'" : "'";
    return s;
}

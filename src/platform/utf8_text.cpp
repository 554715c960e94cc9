#include "platform/utf8_text.h"

#include <allegro.h>

#include <algorithm>
#include <vector>

namespace {

bool continuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

}  // namespace

size_t utf8_sequence_at(const std::string &s, size_t at)
{
    const unsigned char c = static_cast<unsigned char>(s[at]);
    if (c < 0x80)
        return 1;
    size_t n;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (c >= 0xC2 && c <= 0xDF)
        n = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0)
            low = 0xA0;
        else if (c == 0xED)
            high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0)
            low = 0x90;
        else if (c == 0xF4)
            high = 0x8F;
    } else
        return 0;
    if (at + n > s.size())
        return 0;
    const unsigned char second = static_cast<unsigned char>(s[at + 1]);
    if (second < low || second > high)
        return 0;
    for (size_t i = 2; i < n; i++)
        if (!continuation(static_cast<unsigned char>(s[at + i])))
            return 0;
    return n;
}

std::string well_formed_utf8(const std::string &bytes)
{
    std::string out;
    out.reserve(bytes.size());
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t n = utf8_sequence_at(bytes, at);
        if (n > 0) {
            out.append(bytes, at, n);
            at += n;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(bytes[at++]);
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

std::string utf8_prefix(const std::string &utf8, size_t max_bytes)
{
    size_t n = std::min(utf8.size(), max_bytes);
    while (n > 0 && n < utf8.size() && continuation(static_cast<unsigned char>(utf8[n])))
        n--;
    return utf8.substr(0, n);
}

std::string latin1_name(const std::string &bytes)
{
    const std::string utf8 = well_formed_utf8(bytes);
    std::vector<char> latin1(utf8.size() + 1);
    do_uconvert(utf8.c_str(), U_UTF8, latin1.data(), U_ASCII, static_cast<int>(latin1.size()));
    return latin1.data();
}

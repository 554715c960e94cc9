#include "platform/text_encoding.h"

#include <algorithm>

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

bool valid_utf8(const std::string &s)
{
    for (size_t at = 0; at < s.size();) {
        const size_t n = utf8_sequence_at(s, at);
        if (n == 0)
            return false;
        at += n;
    }
    return true;
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

std::string utf8_from_latin1(const std::string &latin1)
{
    std::string out;
    out.reserve(latin1.size());
    for (char ch : latin1) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string latin1_from_utf8(const std::string &bytes, const std::string &lacking)
{
    std::string out;
    out.reserve(bytes.size());
    for (size_t at = 0; at < bytes.size();) {
        const size_t n = utf8_sequence_at(bytes, at);
        const unsigned char c = static_cast<unsigned char>(bytes[at]);
        if (n == 0 || n == 1)
            out += bytes[at];
        else if (n == 2 && c <= 0xC3)
            out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(bytes[at + 1]) & 0x3F));
        else
            out += lacking;
        at += n == 0 ? 1 : n;
    }
    return out;
}

bool utf8_within_latin1(const std::string &bytes)
{
    for (size_t at = 0; at < bytes.size();) {
        const size_t n = utf8_sequence_at(bytes, at);
        if (n == 0 || (n > 1 && (n > 2 || static_cast<unsigned char>(bytes[at]) > 0xC3)))
            return false;
        at += n;
    }
    return true;
}

std::string latin1_name(const std::string &bytes)
{
    return latin1_from_utf8(bytes, "^");
}

namespace {

// Latin Extended-A, U+0100 to U+017F, by its base letters; the two ligatures are written out.
const char extended_a[] = "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlL"
                          "lLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";

}  // namespace

std::string latin1_nearest(int c)
{
    if ((c >= 0x20 && c < 0x7f) || (c >= 0xa0 && c <= 0xff))
        return std::string(1, static_cast<char>(c));
    if (c == 0x132 || c == 0x133)
        return c == 0x132 ? "IJ" : "ij";
    if (c == 0x152 || c == 0x153)
        return c == 0x152 ? "OE" : "oe";
    if (c >= 0x100 && c <= 0x17f)
        return std::string(1, extended_a[c - 0x100]);
    switch (c) {
    case 0x20ac: return "E";         // euro sign
    case 0x2018: case 0x2019: case 0x201a: case 0x201b: case 0x2032: return "'";
    case 0x201c: case 0x201d: case 0x201e: case 0x201f: case 0x2033: return "\"";
    case 0x2039: return "<";
    case 0x203a: return ">";
    case 0x2010: case 0x2011: case 0x2012: case 0x2013: case 0x2014: case 0x2015: case 0x2212: return "-";
    case 0x2026: return "...";
    default: return "";
    }
}

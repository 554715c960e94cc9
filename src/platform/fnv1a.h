#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

// FNV-1a, 64 bits, as 16 lower-case hex digits: a changed byte gives another value. It keys a
// level's board and sums a run file; nothing about either needs to be secret.
inline std::string fnv1a_hex(const char *data, size_t size)
{
    unsigned long long h = 14695981039346656037ull;
    for (size_t i = 0; i < size; i++) {
        h ^= static_cast<unsigned char>(data[i]);
        h *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", h);
    return text;
}

// Whether `text` is such a value: 16 lower-case hex digits.
inline bool fnv1a_hex_text(const std::string &text)
{
    if (text.size() != 16)
        return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

#pragma once

#include <array>
#include <cstddef>
#include <string>

// The one place where text changes encoding. The game keeps and draws 8-bit Latin-1 (the
// library's text format is U_ASCII); the source, file names on disk, the login name and the
// text files the game reads and writes are UTF-8.

// The length of the valid UTF-8 sequence at s[at], or 0 where none starts (a stray byte; RFC
// 3629: no overlong forms, no surrogates, nothing past U+10FFFF, nothing cut off).
size_t utf8_sequence_at(const std::string &s, size_t at);

// Whether every byte belongs to a valid UTF-8 sequence.
bool valid_utf8(const std::string &s);

// The bytes as well-formed UTF-8: every valid sequence stays as it is, and every byte that
// starts no valid sequence is read as the Latin-1 letter it would be. The library trusts its
// UTF-8 text: a lead byte such as 0xFE before six continuation bytes sends its parser into an
// endless loop, so nothing it parses as UTF-8 comes from a file unchecked.
std::string well_formed_utf8(const std::string &bytes);

// The longest start of `utf8` of at most `max_bytes` bytes that ends between letters.
std::string utf8_prefix(const std::string &utf8, size_t max_bytes);

// Latin-1 text as UTF-8.
std::string utf8_from_latin1(const std::string &latin1);

// UTF-8 bytes as Latin-1 letters: a byte that starts no valid sequence is taken as the Latin-1
// letter it is, and a letter Latin-1 lacks becomes `lacking` (which may be empty).
std::string latin1_from_utf8(const std::string &bytes, const std::string &lacking);

// Whether `bytes` are valid UTF-8 of letters Latin-1 has, every one of them.
bool utf8_within_latin1(const std::string &bytes);

// File names as the game draws them: the disk's UTF-8 bytes (any byte that is no UTF-8 read as
// Latin-1) as Latin-1 letters, "^" for a letter Latin-1 lacks.
std::string latin1_name(const std::string &bytes);

// A printable character (a Unicode code point) in Latin-1: itself, its nearest Latin-1 letters
// (Š as S, Œ as OE, – as -), or nothing when it has none.
std::string latin1_nearest(int code_point);

namespace text_encoding_detail {

// Not constexpr: reaching it while a literal is converted stops the build.
void letter_outside_latin1();
void literal_not_utf8();

constexpr bool continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// A UTF-8 literal in Latin-1, its tail filled with NULs.
template <size_t N>
constexpr std::array<char, N> latin1_literal(const char (&utf8)[N])
{
    std::array<char, N> out{};
    size_t o = 0;
    for (size_t i = 0; i + 1 < N; i++) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out[o++] = utf8[i];
        } else if ((c == 0xC2 || c == 0xC3) && i + 2 < N && continuation(utf8[i + 1])) {
            out[o++] = static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
            i++;
        } else {
            letter_outside_latin1();
        }
    }
    return out;
}

// The literal itself, once it is known to be well-formed UTF-8 (the shortest forms; the file
// formats need no more than Latin-1's letters).
template <size_t N>
constexpr const char *utf8_literal(const char (&utf8)[N])
{
    for (size_t i = 0; i + 1 < N; i++) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80)
            continue;
        size_t n = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        if (n == 0 || i + n >= N)
            literal_not_utf8();
        for (size_t k = 1; k < n; k++)
            if (!continuation(utf8[i + k]))
                literal_not_utf8();
        i += n - 1;
    }
    return utf8;
}

}  // namespace text_encoding_detail

// A text the player sees, written as UTF-8 in the source, as the Latin-1 the game draws. It is
// converted when compiled, so a letter Latin-1 lacks stops the build; every player text with a
// letter beyond ASCII goes through it (a unit test reads src/ for any that does not).
#define L1(utf8)                                                                                   \
    ([] {                                                                                          \
        static constexpr auto latin1 = text_encoding_detail::latin1_literal(utf8);          \
        return latin1.data();                                                                      \
    }())

// A word or line of a file format, which stays UTF-8 as the file holds it and is never
// translated: the set file's "kenttä", the records file's first line.
#define FILE_UTF8(utf8)                                                                            \
    ([] {                                                                                          \
        static constexpr const char *text = text_encoding_detail::utf8_literal(utf8);             \
        return text;                                                                               \
    }())

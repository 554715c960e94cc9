#pragma once

#include <string>

// The length of the valid UTF-8 sequence at s[at], or 0 where none starts (a stray byte; RFC
// 3629: no overlong forms, no surrogates, nothing past U+10FFFF, nothing cut off).
size_t utf8_sequence_at(const std::string &s, size_t at);

// The bytes as well-formed UTF-8: every valid sequence stays as it is, and every byte that
// starts no valid sequence is read as the Latin-1 letter it would be. The library trusts its
// UTF-8 text: a lead byte such as 0xFE before six continuation bytes sends its parser into an
// endless loop, so nothing it parses as UTF-8 comes from a file unchecked.
std::string well_formed_utf8(const std::string &bytes);

// The longest start of `utf8` of at most `max_bytes` bytes that ends between letters.
std::string utf8_prefix(const std::string &utf8, size_t max_bytes);

// File names as the game draws them: the disk's UTF-8 bytes (any byte that is no UTF-8 read as
// Latin-1) as Latin-1 letters, "^" for a letter Latin-1 lacks.
std::string latin1_name(const std::string &bytes);

#include "board/board_api.h"

#include <sodium.h>

#include <nlohmann/json.hpp>

#include "records/player_key.h"
#include "records/record_table.h"

namespace {

bool refuse(std::string &why, const std::string &reason)
{
    why = reason;
    return false;
}

// The code points of UTF-8 `text`, or false when it is not UTF-8 (overlong forms and
// surrogates included).
bool code_points(const std::string &text, std::u32string &out)
{
    out.clear();
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : (c & 0xe0) == 0xc0 ? 1 : (c & 0xf0) == 0xe0 ? 2 : (c & 0xf8) == 0xf0 ? 3 : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= text.size())
            return false;
        char32_t cp = extra == 0 ? c : c & (0x3f >> extra);
        for (int k = 1; k <= extra; k++) {
            const unsigned char d = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            if ((d & 0xc0) != 0x80)
                return false;
            cp = (cp << 6) | (d & 0x3f);
        }
        const char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < least[extra] || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff))
            return false;
        out += cp;
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

bool shown_letter(char32_t c)
{
    return (c >= 0x20 && c <= 0x7e) || (c >= 0xa0 && c <= 0xff);
}

std::string utf8_of(char32_t c)
{
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else {
        out += static_cast<char>(0xc0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3f));
    }
    return out;
}

}  // namespace

std::string sha256_hex(const std::string &bytes)
{
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size());
    return hex_of(std::string(reinterpret_cast<char *>(digest), sizeof digest));
}

std::string board_key(const std::string &level_text)
{
    return sha256_hex(level_board(level_text));
}

bool name_allowed(const std::string &name, std::string &why)
{
    std::u32string letters;
    if (!code_points(name, letters))
        return refuse(why, "the name is not UTF-8");
    if (letters.empty())
        return refuse(why, "the name is empty");
    if (letters.size() > name_chars_max)
        return refuse(why, "the name is longer than 24 letters");
    for (char32_t c : letters) {
        if (c < 0x20 || (c >= 0x7f && c < 0xa0))
            return refuse(why, "the name holds a control character");
        if (!shown_letter(c))
            return refuse(why, "the name holds a letter the game cannot show");
    }
    if (letters.front() == ' ' || letters.back() == ' ')
        return refuse(why, "the name begins or ends with a space");
    return true;
}

std::string name_fold(const std::string &name)
{
    std::u32string letters;
    if (!code_points(name, letters))
        return name;
    std::string out;
    for (char32_t c : letters) {
        // Latin-1's capitals are A-Z and U+00C0-U+00DE but for the multiplication sign.
        if ((c >= 'A' && c <= 'Z') || (c >= 0xc0 && c <= 0xde && c != 0xd7))
            c += 0x20;
        out += utf8_of(c);
    }
    return out;
}

std::string clean_title(const std::string &title)
{
    std::u32string letters;
    std::string out;
    if (!code_points(title, letters))
        return out;
    size_t kept = 0;
    for (char32_t c : letters)
        if (shown_letter(c) && kept < 40) {
            out += utf8_of(c);
            kept++;
        }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

std::string submit_message(const std::string &board, const std::string &name, const std::string &run_bytes)
{
    return "vinkla-lauta 1\nboard " + board + "\nname " + name + "\nrun " + sha256_hex(run_bytes) + "\n";
}

std::string base64_of(const std::string &bytes)
{
    std::string out(sodium_base64_ENCODED_LEN(bytes.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(&out[0], out.size(), reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size(),
                      sodium_base64_VARIANT_ORIGINAL);
    out.resize(out.size() - 1);  // its NUL
    return out;
}

bool bytes_of_base64(const std::string &text, std::string &out)
{
    std::string bytes(text.size() / 4 * 3 + 3, '\0');
    size_t length = 0;
    const char *end = nullptr;
    if (sodium_base642bin(reinterpret_cast<unsigned char *>(&bytes[0]), bytes.size(), text.data(), text.size(),
                          nullptr, &length, &end, sodium_base64_VARIANT_ORIGINAL) != 0 ||
        end != text.data() + text.size())
        return false;
    bytes.resize(length);
    out = bytes;
    return true;
}

std::string submission_json(const submission &s)
{
    nlohmann::json j;
    j["level"] = s.level;
    j["run"] = base64_of(s.run);
    j["title"] = s.title;
    j["name"] = s.name;
    j["key"] = s.key;
    j["signature"] = s.signature;
    return j.dump();
}

bool read_submission(const std::string &body, submission &out, std::string &why)
{
    out = submission();
    if (body.size() > body_max)
        return refuse(why, "the request is too large");
    const nlohmann::json j = nlohmann::json::parse(body, nullptr, false);
    if (j.is_discarded() || !j.is_object())
        return refuse(why, "the body is not a JSON object");
    const char *fields[] = {"level", "run", "name", "key", "signature"};
    for (const char *f : fields)
        if (!j.contains(f) || !j[f].is_string())
            return refuse(why, std::string("the field \"") + f + "\" is missing or not a string");
    if (j.contains("title") && !j["title"].is_string())
        return refuse(why, "the field \"title\" is not a string");
    submission s;
    s.level = j["level"].get<std::string>();
    if (s.level.size() > level_bytes_max)
        return refuse(why, "the level is longer than 4096 bytes");
    const std::string run64 = j["run"].get<std::string>();
    if (run64.size() > (run_bytes_max + 2) / 3 * 4)
        return refuse(why, "the run is longer than ten minutes of play");
    if (!bytes_of_base64(run64, s.run))
        return refuse(why, "the run is not in base64");
    s.name = j["name"].get<std::string>();
    s.key = j["key"].get<std::string>();
    s.signature = j["signature"].get<std::string>();
    if (j.contains("title"))
        s.title = clean_title(j["title"].get<std::string>());
    out = s;
    return true;
}

#include "platform/config.h"

#include <allegro.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/file_read.h"
#include "platform/replace_file.h"
#include "platform/text_encoding.h"

const char *const default_level = "standardfile.vkl";

namespace {

// Far beyond any configuration a player writes; a bigger file is not taken apart.
const size_t file_limit = 16 << 20;

// The whole file if it is a regular file of sane size; `exists` tells a missing one apart.
bool read_config_file(const char *path, std::string &text, bool &exists)
{
    // A folder, a device or a pipe is no configuration, and one too long is not taken apart.
    const file_read r = read_regular(path, file_limit, text);
    exists = r != file_read::missing;
    if (r != file_read::read)
        text.clear();
    return r == file_read::read || r == file_read::missing;
}

bool blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Section and key names are matched without regard to case, as the library does.
bool same_name(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); i++)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

// One line of a configuration file as the library reads it.
struct config_line {
    std::string body;    // without its line end
    std::string end;     // "\n", "\r\n" or "" (the last line without one)
    enum kind_t { other, section, key } kind = other;
    std::string name;    // the section's name with its brackets, or the key
    size_t value_at = 0; // a key's value starts here in body
    std::string value;   // without the blanks around it
};

config_line parse_line(const std::string &line, const std::string &end)
{
    config_line l;
    l.body = line;
    l.end = end;
    // The library reads a line only up to a NUL.
    const std::string body = line.substr(0, line.find('\0'));
    size_t i = 0;
    while (i < body.size() && blank(body[i]))
        i++;
    if (i == body.size() || body[i] == '#')
        return l;
    // The name is the first word, up to a blank, '=' or '#'; a section's name is "[name]"
    // whole, so "[settings] x" is [settings] and "[settings]x" is not.
    size_t k = i;
    while (k < body.size() && !blank(body[k]) && body[k] != '=' && body[k] != '#')
        k++;
    if (body[i] == '[') {
        l.kind = config_line::section;
        l.name = body.substr(i, k - i);
        return l;
    }
    l.kind = config_line::key;
    l.name = body.substr(i, k - i);
    while (k < body.size() && (blank(body[k]) || body[k] == '='))
        k++;
    l.value_at = k;
    size_t e = body.size();
    while (e > k && blank(body[e - 1]))
        e--;
    l.value = body.substr(k, e - k);
    return l;
}

// Lines end at "\n", "\r\n" or a lone "\r", as the library splits them.
std::vector<config_line> split_lines(const std::string &text)
{
    std::vector<config_line> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t stop = text.find_first_of("\r\n", at);
        if (stop == std::string::npos) {
            lines.push_back(parse_line(text.substr(at), ""));
            break;
        }
        size_t after = text.compare(stop, 2, "\r\n") == 0 ? stop + 2 : stop + 1;
        lines.push_back(parse_line(text.substr(at, stop - at), text.substr(stop, after - stop)));
        at = after;
    }
    return lines;
}

// The same configuration with the [settings] sections moved to the end. The library adds a
// key that a section lacks at the end of its copy, whatever section that is; with [settings]
// last, the game's keys land in it and are read back. Reading is the same in either order.
std::string settings_last(const std::string &text)
{
    std::string others, settings;
    bool in_settings = false;
    for (const config_line &l : split_lines(text)) {
        if (l.kind == config_line::section)
            in_settings = same_name(l.name, "[settings]");
        (in_settings ? settings : others) += l.body + (l.end.empty() ? "\n" : l.end);
    }
    return others + settings;
}

bool ascii(const std::string &s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) > 0x7F)
            return false;
    return true;
}

}  // namespace

namespace {
std::vector<std::string> changed_keys;
own_write last_refusal = own_write::written;
}  // namespace

void config_open(const char *path)
{
    changed_keys.clear();  // what this session changed, in this file
    std::string text;
    bool exists = false;
    read_config_file(path, text, exists);
    // The library's parser reads its text as UTF-8 and cannot be trusted with anything but
    // ASCII: a lead byte 0xFE before six continuation bytes loops forever, and a letter that
    // crosses the 256th byte of a line writes past its line buffer. It gets the text in ASCII;
    // a key of [settings] with other bytes (a level's path with Finnish letters) is put in
    // afterwards, its bytes as the file holds them. The first of two equal keys counts, as in
    // the library's own reading; other sections' keys with such bytes are no game's.
    std::string plain;
    std::vector<std::pair<std::string, std::string>> settings;
    std::vector<std::string> seen;  // keys of [settings] met so far
    bool in_settings = false;
    for (const config_line &l : split_lines(settings_last(text))) {
        if (l.kind == config_line::section)
            in_settings = same_name(l.name, "[settings]");
        if (in_settings && l.kind == config_line::key) {
            const bool first = std::none_of(seen.begin(), seen.end(),
                                            [&](const std::string &k) { return same_name(k, l.name); });
            seen.push_back(l.name);
            if (first && !ascii(l.value) && ascii(l.name))
                settings.emplace_back(l.name, l.value);
        }
        // The library reads a line up to a NUL; every other byte beyond ASCII it is shown as
        // '?', which keeps each line a section, key or comment as it was.
        std::string shown = l.body.substr(0, l.body.find('\0'));
        for (char &c : shown)
            if (static_cast<unsigned char>(c) > 0x7F)
                c = '?';
        plain += shown + "\n";
    }
    const int text_format = get_uformat();
    set_uformat(U_ASCII);
    set_config_data(plain.data(), static_cast<int>(plain.size()));
    for (const auto &kv : settings)
        set_config_string("settings", kv.first.c_str(), kv.second.c_str());
    set_uformat(text_format);
}

int config_volume(const char *key)
{
    const char *text = get_config_string("settings", key, nullptr);
    if (!text)
        return default_volume;
    char *end = nullptr;
    long v = std::strtol(text, &end, 0);
    if (end == text)
        return default_volume;
    if (v < 0)
        return 0;
    return v > 255 ? 255 : static_cast<int>(v);
}

std::optional<float> config_float(const char *key)
{
    const char *text = get_config_string("settings", key, nullptr);
    if (!text)
        return std::nullopt;
    char *end = nullptr;
    errno = 0;
    double v = std::strtod(text, &end);
    if (end == text)
        return std::nullopt;
    const bool overflow = errno == ERANGE && std::isinf(v);
    while (blank(*end))
        end++;
    // "0,95" or "0.9x" is no number the player meant; nor are "nan" and "inf".
    if (*end != '\0' || (!std::isfinite(v) && !overflow))
        return std::nullopt;
    if (v > FLT_MAX)
        return FLT_MAX;
    if (v < -FLT_MAX)
        return -FLT_MAX;
    return static_cast<float>(v);
}

bool config_has_lastgame()
{
    const char *name = get_config_string("settings", "lastgame", "");
    return name && *name;
}

std::string config_lastgame()
{
    const char *name = get_config_string("settings", "lastgame", default_level);
    if (!name || !*name)
        return default_level;
    return name;
}

std::string merge_settings(const std::string &text, const setting_values &values)
{
    std::vector<config_line> lines = split_lines(text);
    std::string newline = "\n";
    for (const config_line &l : lines)
        if (!l.end.empty()) {
            newline = l.end;
            break;
        }

    std::vector<bool> done(values.size(), false);
    bool in_settings = false, in_first = false;
    long section_at = -1;   // the first [settings] header
    long last_key_at = -1;  // the last key line of that section
    for (size_t i = 0; i < lines.size(); i++) {
        config_line &l = lines[i];
        if (l.kind == config_line::section) {
            in_settings = same_name(l.name, "[settings]");
            in_first = in_settings && section_at < 0;
            if (in_first)
                section_at = static_cast<long>(i);
            continue;
        }
        if (!in_settings || l.kind != config_line::key)
            continue;
        if (in_first)
            last_key_at = static_cast<long>(i);
        for (size_t v = 0; v < values.size(); v++) {
            if (done[v] || !same_name(l.name, values[v].first))
                continue;
            done[v] = true;
            if (l.value == values[v].second)
                break;
            std::string prefix = l.body.substr(0, l.value_at);
            if (l.value.empty() || prefix.find('=') == std::string::npos)
                prefix = l.body.substr(0, l.body.find(l.name) + l.name.size()) + " = ";
            l.body = prefix + values[v].second;
            break;
        }
    }

    std::string added;
    for (size_t v = 0; v < values.size(); v++)
        if (!done[v])
            added += values[v].first + " = " + values[v].second + newline;

    std::string out;
    if (!added.empty() && section_at < 0) {
        for (const config_line &l : lines)
            out += l.body + l.end;
        if (!lines.empty() && lines.back().end.empty())
            out += newline;
        return out + "[settings]" + newline + added;
    }
    const long insert_after = last_key_at >= 0 ? last_key_at : section_at;
    for (size_t i = 0; i < lines.size(); i++) {
        out += lines[i].body + lines[i].end;
        if (!added.empty() && static_cast<long>(i) == insert_after) {
            if (lines[i].end.empty())
                out += newline;
            out += added;
        }
    }
    return out;
}

void config_set_changed(const char *key, const std::string &value)
{
    set_config_string("settings", key, value.c_str());
    if (std::find(changed_keys.begin(), changed_keys.end(), key) == changed_keys.end())
        changed_keys.push_back(key);
}

bool config_save(const char *path)
{
    std::string text;
    bool exists = false;
    // A file that is there but cannot be read is not replaced by the game's keys alone.
    if (!read_config_file(path, text, exists)) {
        struct stat st;
        if (lstat(path, &st) == 0 && S_ISLNK(st.st_mode))
            last_refusal = own_write::link;
        return false;
    }
    setting_values values;
    // Only what this copy of the game changed: another copy may have written the rest.
    for (const std::string &key : changed_keys) {
        const char *value = get_config_string("settings", key.c_str(), nullptr);
        // A value over two lines would read back as something else.
        if (value && !std::string(value).empty() &&
            std::string(value).find_first_of("\r\n") == std::string::npos)
            values.emplace_back(key, value);
    }
    const std::string merged = merge_settings(text, values);
    if (merged == text)
        return true;
    last_refusal = replace_own_file(path, merged);
    return last_refusal == own_write::written;
}

void save_settings(const char *path)
{
    last_refusal = own_write::written;
    if (config_save(path))
        return;
    std::fprintf(stderr, "vinkla: the settings could not be written to %s\n", path);
    static bool told_of_link = false;
    if (last_refusal == own_write::link && told_of_link)
        return;
    if (last_refusal == own_write::link) {
        told_of_link = true;
        alert("Asetuksia ei tallennettu: vinkla.cfg on linkki", L1("toiseen paikkaan, eikä peli kirjoita linkin läpi."),
              L1("Äänenvoimakkuudet ja kentän valinta eivät säily."), "Ok", nullptr, 0, 0);
    } else
        alert("Asetuksia ei voitu tallentaa", "tiedostoon vinkla.cfg:",
              L1("äänenvoimakkuudet ja kentän valinta eivät säily."), "Ok", nullptr, 0, 0);
}

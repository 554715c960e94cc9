#include "field/level_set.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <system_error>

#include "platform/config.h"
#include "platform/file_read.h"
#include "platform/text_encoding.h"

namespace fs = std::filesystem;

const char *const sets_folder = "sarjat";
const char *const set_file = "sarja.txt";

namespace {

const size_t file_name_max = 100;
const size_t shown_max = 24;  // letters

bool level_file_name(const std::string &n)
{
    if (n.size() <= 4 || n.size() > file_name_max || n[0] == '.' || n.compare(n.size() - 4, 4, ".vkl") != 0)
        return false;
    for (unsigned char c : n)
        if (c < 0x20 || c == '/' || c == '\\' || c == 0x7f)
            return false;
    return true;
}

// A name of the file system as the game draws it: ".vkl" off, "_" as a space.
// UTF-8 text in the game's Latin-1, at most `letters` of them, control bytes left out.
std::string shown_text(const std::string &utf8, size_t letters)
{
    std::string t = latin1_name(utf8);
    t.erase(std::remove_if(t.begin(), t.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }),
            t.end());
    return t.substr(0, letters);
}

std::string shown_file_title(const std::string &file)
{
    std::string t = shown_text(file.substr(0, file.size() - 4), file_name_max);
    std::replace(t.begin(), t.end(), '_', ' ');
    return t;
}

bool hundredths(const std::string &s, int &out)
{
    if (s.empty() || s.size() > 8 || s[0] == '0')
        return false;
    out = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        out = out * 10 + (c - '0');
    }
    return true;
}

// The level files of a folder, in name order.
std::vector<std::string> level_files(const fs::path &folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end && names.size() < set_levels_max;
         it.increment(ec)) {
        const std::string n = it->path().filename().string();
        std::error_code kind;
        if (level_file_name(n) && it->is_regular_file(kind))
            names.push_back(n);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string read_bounded(const fs::path &path)
{
    std::string bytes;
    const file_read r = read_regular(path.string(), set_file_max, bytes);
    return r == file_read::read || r == file_read::too_long ? bytes : "";
}

}  // namespace

level_set read_set(const std::string &bytes, const std::string &folder, const std::vector<std::string> &files,
                   int &skipped)
{
    level_set set;
    set.folder = folder;
    set.name = shown_file_title(fs::path(folder).filename().string() + ".vkl");
    // "1_alkeet" is shown as "alkeet": the number only orders the folders.
    const size_t mark = set.name.find(' ');
    if (mark != std::string::npos && mark > 0 && std::all_of(set.name.begin(), set.name.begin() + mark, [](char c) { return c >= '0' && c <= '9'; }))
        set.name = set.name.substr(mark + 1);
    skipped = 0;
    std::map<std::string, size_t> listed;  // file, its place in set.levels
    std::map<std::string, std::vector<int>> medals;
    std::istringstream lines(bytes.substr(0, set_file_max));
    std::string line;
    bool first = true;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (first) {
            first = false;
            if (line != "vinkla-sarja 1") {
                skipped++;
                break;  // not a set file of ours: the folder's levels in name order
            }
            continue;
        }
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string word, file;
        words >> word;
        if (word == "nimi" && line.size() > 5) {
            set.name = shown_text(line.substr(5), shown_max);
        } else if (word == FILE_UTF8("kenttä") && (words >> file) && level_file_name(file) &&
                   std::binary_search(files.begin(), files.end(), file) && !listed.count(file)) {
            std::string rest;
            std::getline(words, rest);
            const size_t start = rest.find_first_not_of(' ');
            set_level l;
            l.path = (fs::path(folder) / file).string();
            l.title = start == std::string::npos ? shown_file_title(file) : shown_text(rest.substr(start), shown_max);
            listed[file] = set.levels.size();
            set.levels.push_back(l);
        } else if (word == "mitalit" && (words >> file)) {
            std::string g, s, b, extra;
            int t[3];
            if ((words >> g >> s >> b) && !(words >> extra) && hundredths(g, t[0]) && hundredths(s, t[1]) &&
                hundredths(b, t[2]) && t[0] < t[1] && t[1] < t[2])
                medals[file] = {t[0], t[1], t[2]};
            else
                skipped++;
        } else {
            skipped++;
        }
    }
    for (const std::string &file : files)
        if (!listed.count(file) && set.levels.size() < set_levels_max) {
            listed[file] = set.levels.size();
            set.levels.push_back({(fs::path(folder) / file).string(), shown_file_title(file)});
        }
    for (const auto &m : medals) {
        const auto at = listed.find(m.first);
        if (at == listed.end()) {
            skipped++;
            continue;
        }
        for (int i = 0; i < 3; i++)
            set.levels[at->second].medals[i] = m.second[static_cast<size_t>(i)];
    }
    return set;
}

level_set folder_set(const std::string &folder)
{
    int skipped = 0;
    return read_set(read_bounded(fs::path(folder) / set_file), folder, level_files(folder), skipped);
}

std::vector<level_set> find_level_sets()
{
    std::vector<level_set> sets;
    std::vector<fs::path> folders;
    std::error_code ec;
    for (fs::directory_iterator it(sets_folder, ec), end; !ec && it != end && folders.size() < sets_max;
         it.increment(ec)) {
        std::error_code kind;
        if (it->is_directory(kind) && it->path().filename().string()[0] != '.')
            folders.push_back(it->path());
    }
    std::sort(folders.begin(), folders.end());
    for (const fs::path &folder : folders) {
        int skipped = 0;
        level_set set = read_set(read_bounded(folder / set_file), folder.string(), level_files(folder), skipped);
        if (!set.levels.empty())
            sets.push_back(set);
    }
    level_set own;
    own.name = L1("Omat kentät");
    own.folder = ".";
    own.own = true;
    // The default level, which the editor and the chooser offer, is the game's, not the player's.
    for (const std::string &file : level_files("."))
        if (file != default_level)
            own.levels.push_back({file, shown_file_title(file)});
    sets.push_back(own);
    return sets;
}

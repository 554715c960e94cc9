#include "records/kept_runs.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

#include "platform/replace_file.h"
#include "records/run_time.h"

namespace fs = std::filesystem;

const char *const runs_folder = "suoritukset";

namespace {

const size_t run_name_max = 100;

bool allowed(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == ',' || c == '.';
}

}  // namespace

std::string new_run_name(const std::string &level_title, const std::string &date, int time,
                         const std::string &folder)
{
    // The level's name in letters a file name keeps anywhere: ä and ö as a and o, the rest '_'.
    std::string level;
    for (unsigned char c : level_title.substr(0, 40)) {
        if (c == 0xe4 || c == 0xc4 || c == 0xe5 || c == 0xc5)
            level += c == 0xe4 || c == 0xe5 ? 'a' : 'A';
        else if (c == 0xf6 || c == 0xd6)
            level += c == 0xf6 ? 'o' : 'O';
        else
            level += allowed(static_cast<char>(c)) && c != ',' && c != '.' ? static_cast<char>(c) : '_';
    }
    std::string shown = time_text(time);
    for (char &c : shown)
        if (c == ':')
            c = '-';
    const std::string stem = level + "_" + date + "_" + shown;
    std::error_code ec;
    for (int n = 1; n < 1000; n++) {
        const std::string name = stem + (n > 1 ? "_" + std::to_string(n) : "") + ".run";
        // A link counts as taken even when it leads nowhere.
        if (fs::symlink_status(fs::path(folder) / name, ec).type() == fs::file_type::not_found)
            return name;
    }
    return "";
}

std::string keep_new_run(const std::string &folder, const std::string &level_title, const std::string &date,
                         int time, const run_record &run)
{
    struct stat st;
    // A link in the folder's place is not followed: the runs would land elsewhere.
    if (lstat(folder.c_str(), &st) == 0 ? !S_ISDIR(st.st_mode) : mkdir(folder.c_str(), 0755) != 0)
        return "";
    const std::string bytes = write_run(run);
    for (int tries = 0; tries < 1000; tries++) {
        const std::string name = new_run_name(level_title, date, time, folder);
        if (name.empty())
            return "";
        switch (create_new_file(folder + "/" + name, bytes, 0644)) {
        case new_file::made:
            return name;
        case new_file::taken:
            continue;  // another copy took it since: new_run_name now passes it by
        case new_file::failed:
            return "";
        }
    }
    return "";
}

bool run_name_ok(const std::string &name)
{
    if (name.size() < 5 || name.size() > run_name_max || name.compare(name.size() - 4, 4, ".run") != 0 ||
        name[0] == '.')
        return false;
    for (char c : name)
        if (!allowed(c))
            return false;
    return true;
}

// vinkla-board: a player's way to the shared board of records.
//   vinkla-board submit URL LEVEL.vkl RUN.run --name NAME [--title TITLE] [--folder DIR]
//   vinkla-board top URL LEVEL.vkl
// The first use makes the player's key pair in the player's folder (see folder_of_player).
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include <nlohmann/json.hpp>

#include "board/board_api.h"
#include "board/board_client.h"
#include "field/level_file.h"
#include "field/level_set.h"
#include "platform/text_encoding.h"
#include "records/player_key.h"

namespace fs = std::filesystem;

namespace {

const char *const usage =
    "usage: vinkla-board submit URL LEVEL.vkl RUN.run --name NAME [--title TITLE] [--folder DIR]\n"
    "       vinkla-board top URL LEVEL.vkl\n";

int fail(const std::string &why)
{
    std::fprintf(stderr, "vinkla-board: %s\n", why.c_str());
    return 1;
}

// A regular file of at most `most` bytes, never waiting on a pipe or a device.
bool read_file(const std::string &path, size_t most, std::string &out, std::string &why)
{
    std::error_code ec;
    if (!fs::is_regular_file(fs::status(path, ec)) || ec) {
        why = path + ": not a file that can be read";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes(most + 1, '\0');
    in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (!in.eof() && !in) {
        why = path + ": cannot be read";
        return false;
    }
    if (bytes.size() > most) {
        why = path + ": longer than the board takes (" + std::to_string(most) + " bytes)";
        return false;
    }
    out = bytes;
    return true;
}

// The player's folder, where the key is kept beside the game's own files: the working folder
// when the game's vinkla.cfg is there, else the folder the installed game plays in.
std::string folder_of_player()
{
    std::error_code ec;
    if (fs::exists("vinkla.cfg", ec))
        return ".";
    const char *xdg = std::getenv("XDG_DATA_HOME");
    const char *home = std::getenv("HOME");
    fs::path folder = xdg && *xdg ? fs::path(xdg) / "vinkla" : home && *home ? fs::path(home) / ".local/share/vinkla" : "";
    if (folder.empty())
        return ".";
    fs::create_directories(folder, ec);
    return folder.string();
}

// The level's shown name from its set file, else its file name.
std::string title_of(const std::string &level)
{
    const fs::path path(level);
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    std::string bytes, why;
    if (read_file((folder / set_file).string(), set_file_max, bytes, why)) {
        std::vector<std::string> files;
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (it->path().extension() == ".vkl")
                files.push_back(it->path().filename().string());
        std::sort(files.begin(), files.end());
        int skipped = 0;
        for (const set_level &l : read_set(bytes, folder.string(), files, skipped).levels)
            if (fs::path(l.path).filename() == path.filename())
                return utf8_from_latin1(l.title);
    }
    return path.stem().string();
}

std::string reason(const board_reply &reply)
{
    const nlohmann::json j = nlohmann::json::parse(reply.body, nullptr, false);
    if (j.is_object() && j.contains("error") && j["error"].is_string())
        return j["error"].get<std::string>();
    return "the server answered " + std::to_string(reply.status);
}

std::string server_of(std::string url)
{
    while (!url.empty() && url.back() == '/')
        url.pop_back();
    return url;
}

int submit(const std::string &url, const std::string &level_path, const std::string &run_path,
           const std::string &name, const std::string &title, const std::string &folder)
{
    submission s;
    std::string why;
    if (!read_file(level_path, level_bytes_max, s.level, why) || !read_file(run_path, run_bytes_max, s.run, why))
        return fail(why);
    if (!name_allowed(name, why))
        return fail(why);
    player_key key;
    std::error_code ec;
    if (!folder.empty())
        fs::create_directories(folder, ec);
    if (!load_or_make_key(folder.empty() ? folder_of_player() : folder, key, why))
        return fail(why);
    s.name = name;
    s.title = title.empty() ? title_of(level_path) : title;
    s.key = key.public_hex;
    s.signature = sign_message(key, submit_message(board_key(level_text_of(s.level)), name, s.run));
    board_reply reply;
    if (!board_post(server_of(url), "/api/v1/runs", submission_json(s), reply, why))
        return fail(why);
    if (reply.status != 201)
        return fail(reason(reply));
    const nlohmann::json j = nlohmann::json::parse(reply.body, nullptr, false);
    if (!j.is_object() || !j.contains("place") || !j["place"].is_number_integer() || !j.contains("time_text") ||
        !j["time_text"].is_string() || !j.contains("run") || !j["run"].is_string())
        return fail("the server's answer cannot be read");
    std::printf("%d\t%s\t%s%s\n", j["place"].get<int>(), j["time_text"].get<std::string>().c_str(),
                server_of(url).c_str(), j["run"].get<std::string>().c_str());
    return 0;
}

int top(const std::string &url, const std::string &level_path)
{
    std::string level, why;
    if (!read_file(level_path, level_bytes_max, level, why))
        return fail(why);
    board_reply reply;
    if (!board_get(server_of(url), "/api/v1/boards/" + board_key(level_text_of(level)), reply, why))
        return fail(why);
    if (reply.status == 404)
        return 0;  // no run on this board yet: an empty table
    if (reply.status != 200)
        return fail(reason(reply));
    const nlohmann::json j = nlohmann::json::parse(reply.body, nullptr, false);
    if (!j.is_object() || !j.contains("rows") || !j["rows"].is_array())
        return fail("the server's answer cannot be read");
    for (const nlohmann::json &row : j["rows"]) {
        if (!row.is_object() || !row.contains("place") || !row["place"].is_number_integer() || !row.contains("name") ||
            !row["name"].is_string() || !row.contains("time_text") || !row["time_text"].is_string())
            return fail("the server's answer cannot be read");
        std::printf("%d\t%s\t%s\n", row["place"].get<int>(), row["name"].get<std::string>().c_str(),
                    row["time_text"].get<std::string>().c_str());
    }
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> plain;
    std::string name, title, folder;
    bool named = false;
    for (int i = 1; i < argc; i++) {
        const std::string a = argv[i];
        if ((a == "--name" || a == "--title" || a == "--folder") && i + 1 < argc) {
            (a == "--name" ? name : a == "--title" ? title : folder) = argv[++i];
            named = named || a == "--name";
        } else if (a.rfind("--", 0) == 0) {
            std::fputs(usage, stderr);
            return 2;
        } else {
            plain.push_back(a);
        }
    }
    if (plain.size() == 4 && plain[0] == "submit" && named)
        return submit(plain[1], plain[2], plain[3], name, title, folder);
    if (plain.size() == 3 && plain[0] == "top" && !named)
        return top(plain[1], plain[2]);
    std::fputs(usage, stderr);
    return 2;
}

#include "records/player_records.h"

#include <allegro.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "field/level_file.h"
#include "field/level_order.h"
#include "records/run_time.h"

namespace fs = std::filesystem;

record_table player_records;
const char *const records_file = "vinkla.rec";

namespace {

void ok_alert(const char *s1, const char *s2, const char *s3)
{
    alert(s1, s2, s3, "Ok", nullptr, 0, 0);
}

// Login names are UTF-8 on today's systems; the game's texts are Latin-1.
std::string latin1_from_utf8(const std::string &s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); i++) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c == 0xc2 || c == 0xc3) && i + 1 < s.size() &&
                   (static_cast<unsigned char>(s[i + 1]) & 0xc0) == 0x80) {
            out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3f));
            i++;
        }
    }
    return out;
}

}  // namespace

void open_player_records()
{
    if (player_records.load(records_file) == 0)
        return;
    // The damaged file goes aside whole, under a name no earlier copy holds, so nothing the
    // player had is lost to the rewrite. A folder or a pipe in its place is left alone.
    std::error_code ec;
    std::string aside = std::string(records_file) + ".bak";
    for (int n = 1; n < 100 && fs::exists(fs::symlink_status(aside, ec)); n++)
        aside = std::string(records_file) + ".bak" + std::to_string(n);
    const bool kept = fs::is_regular_file(records_file, ec) &&
                      !fs::exists(fs::symlink_status(aside, ec)) &&
                      std::rename(records_file, aside.c_str()) == 0;
    if (kept)
        player_records.save(records_file);
    const std::string where = kept ? "Alkuperäinen tiedosto on nimellä " + aside + "." : "";
    ok_alert("Ennätystiedostossa vinkla.rec oli lukukelvottomia rivejä.",
             "Ne ohitettiin; muut ennätykset ovat tallessa.", where.c_str());
}

int save_player_records()
{
    if (player_records.save(records_file) == 0)
        return 0;
    ok_alert("Ennätyksen tallennus epäonnistui.", "Tiedostoa vinkla.rec ei voitu kirjoittaa.", "");
    return -1;
}

std::string offered_name()
{
    if (!player_records.last_name.empty())
        return player_records.last_name;
    const char *login = std::getenv("USER");
    if (!login || !*login) {
        const passwd *pw = getpwuid(getuid());
        login = pw ? pw->pw_name : nullptr;
    }
    std::string name = clean_name(latin1_from_utf8(login ? login : ""));
    return name.empty() ? "Pelaaja" : name;
}

std::string level_line(const std::string &path)
{
    std::string line = "Pelaa: " + level_title(path);
    std::string text;
    if (!read_level_text(path, text))
        return line;
    const int best = player_records.best(level_key(text));
    return line + (best ? "   Ennätys: " + time_text(best) : "   Ei ennätystä vielä");
}

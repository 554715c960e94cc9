#include "records/player_records.h"

#include <allegro.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "field/field.h"
#include "field/level_file.h"
#include "field/level_order.h"
#include "platform/text_encoding.h"
#include "records/campaign.h"
#include "records/record_proof.h"
#include "records/run_time.h"

record_table player_records;
const char *const records_file = "vinkla.rec";
const char *const nameless_player = "Pelaaja";

namespace {

void ok_alert(const char *s1, const char *s2, const char *s3)
{
    alert(s1, s2, s3, "Ok", nullptr, 0, 0);
}

}  // namespace

void open_player_records()
{
    if (player_records.load(records_file) == 0)
        return;
    const records_save done = player_records.save(records_file);
    const std::string kept = L1("nimellä ") + done.aside + ".";
    std::string s2, s3;
    if (done.ok()) {
        s2 = done.aside.empty() ? "Ne ohitettiin." : "Ne ohitettiin. Tiedosto sellaisenaan on tallessa";
        s3 = done.aside.empty() ? "" : kept;
    } else if (!done.aside.empty()) {
        s2 = "Tiedosto sellaisenaan on tallessa " + kept;
        s3 = "Korjattua ei voitu kirjoittaa; vinkla.rec on ennallaan.";
    } else if (done.result == own_write::link) {
        s2 = "Tiedosto on linkki toiseen paikkaan,";
        s3 = L1("joten sitä ei kirjoitettu.");
    } else if (done.busy) {
        s2 = L1("Toinen vinkla-peli käytti tiedostoa,");
        s3 = L1("joten se jätettiin ennalleen.");
    } else if (done.damaged > 0) {
        s2 = L1("Siitä ei voitu tehdä kopiota,");
        s3 = L1("joten se jätettiin ennalleen.");
    } else {
        s2 = "Korjattua tiedostoa ei voitu kirjoittaa,";
        s3 = "joten se on ennallaan.";
    }
    ok_alert(L1("Ennätystiedostossa vinkla.rec oli lukukelvottomia rivejä."), s2.c_str(), s3.c_str());
}

namespace {

// Tells the player how a save of new records ended, when there is anything to tell: `after`
// is the last line when they were not written.
bool tell(const records_save &done, const char *after)
{
    if (done.ok()) {
        if (!done.aside.empty())
            ok_alert(L1("Ennätystiedostossa vinkla.rec oli lukukelvottomia rivejä."),
                     L1("Ennätys tallennettiin. Tiedosto sellaisenaan on tallessa"),
                     (L1("nimellä ") + done.aside + ".").c_str());
        return true;
    }
    std::string s1, s2;
    if (done.result == own_write::link) {
        s1 = "Tiedosto vinkla.rec on linkki toiseen paikkaan,";
        s2 = L1("joten sitä ei kirjoitettu.");
    } else if (done.busy) {
        s1 = L1("Toinen vinkla-peli käytti tiedostoa vinkla.rec,");
        s2 = L1("joten sitä ei kirjoitettu.");
    } else if (!done.aside.empty()) {
        s1 = L1("Vioittunut vinkla.rec on tallessa nimellä ") + done.aside + ",";
        s2 = "mutta uutta tiedostoa ei voitu kirjoittaa.";
    } else if (done.damaged > 0) {
        s1 = L1("Tiedostossa vinkla.rec on lukukelvottomia rivejä eikä siitä");
        s2 = L1("voitu tehdä kopiota, joten se jätettiin ennalleen.");
    } else {
        s1 = L1("Ennätysten tallennus epäonnistui:");
        s2 = "tiedostoa vinkla.rec ei voitu kirjoittaa, se on ennallaan.";
    }
    ok_alert(s1.c_str(), s2.c_str(), after);
    return false;
}

}  // namespace

int save_player_records()
{
    const records_save done = player_records.save(records_file);
    return tell(done, L1("Ennätystä yritetään tallentaa uudelleen myöhemmin.")) ? 0 : -1;
}

bool save_pending_records()
{
    return !player_records.pending() ||
           tell(player_records.save(records_file), L1("Tallentamattomat ennätykset menetetään."));
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
    std::string name = clean_name(latin1_from_utf8(login ? login : "", ""));
    return name.empty() ? nameless_player : name;
}

std::string level_line(const std::string &path)
{
    std::string line = "Pelaa: " + shown_title(path);
    std::string text;
    if (!read_level_text(path, text))
        return line;
    const int best = proven_best_time(player_records, level_key(text), [&text] { return field::from_text(text); });
    return line + (best ? L1("   Ennätys: ") + time_text(best) : L1("   Ei ennätystä vielä"));
}

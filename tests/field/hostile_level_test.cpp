// Bad level files a player can produce, one table per direction: reading (the editor's reader,
// and a game run on the file) and saving (the editor's "Tallenna"). In every case the game goes
// on, says in Finnish what went wrong where the player must know, and loses nothing.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "field/field.h"
#include "field/level_file.h"
#include "marble/bead.h"
#include "menu/editor.h"
#include "platform/text_encoding.h"
#include "support/fakes.h"

namespace {

namespace fs = std::filesystem;

const std::string ring = "**************";

// The shipped-style level every readable case is built around: start at (1, 1), a flag, a hole.
const std::vector<std::string> rows = {
    ring,             "*A..F........*", "*............*", "*....O.......*", "*............*",
    "*............*", "*............*", "*............*", "*............*", "*............*",
    "*............*", "*............*", "*............*", ring};

std::string level_bytes(const char *line_end)
{
    std::string s;
    for (const std::string &r : rows)
        s += r + line_end;
    return s + "noname" + line_end + "9999" + line_end;
}

std::string level_text()
{
    std::string s;
    for (const std::string &r : rows)
        s += r;
    return s;
}

using alert_lines = std::vector<std::pair<std::string, std::string>>;

const alert_lines cannot_build = {{L1("Virhe kentän luomisessa"), ""}};
const alert_lines no_start = {{L1("Virhe kenttädatassa:"), L1("Lähtöpiste puuttuu.")},
                              {L1("Virhe kentän luomisessa"), ""}};
const alert_lines many_starts = {{L1("Virhe kenttädatassa:"), L1("Liikaa lähtöpisteitä.")},
                                 {L1("Virhe kentän luomisessa"), ""}};

struct read_case {
    const char *name;
    std::function<std::string(const std::string &dir)> make;  // returns the path to read
    bool editor_reads;        // load_thedata gives 0
    std::string board;        // the board a game run plays, empty when it cannot start
    alert_lines alerts;       // what the player is told, first two lines
};

std::string file_of(const std::string &dir, const std::string &bytes)
{
    std::string path = dir + "/level.vkl";
    write_file(path, bytes);
    return path;
}

// Every byte value once, 0 to 255: the words are bytes 1-8 (row 0), 14-31 and 33-255 cut to
// 38 characters, which repeats for rows 3 to 12. Its 'A' (65) sits at text index 32 + 32, and
// again every 38: cells (4, 8), (7, 4), (10, 0) (ring, made a wall) and (12, 10).
std::string every_byte()
{
    std::string s;
    for (int c = 0; c < 256; c++)
        s += static_cast<char>(c);
    return s;
}

std::string with_latin1_a_umlaut()
{
    std::vector<std::string> r = rows;
    r[3][5] = '\xe4';  // 'ä' in Latin-1, -28 as a signed char
    std::string s;
    for (const std::string &line : r)
        s += line + "\n";
    return s;
}

std::string board_with(int row, int column, char code)
{
    std::string b = level_text();
    b[row * 14 + column] = code;
    return b;
}

const std::vector<read_case> read_cases = {
    {"empty", [](const std::string &d) { return file_of(d, ""); }, true, "", no_start},
    {"binary", [](const std::string &d) { return file_of(d, every_byte()); }, true, "", many_starts},
    {"huge: a level, then 6 MB of junk",
     [](const std::string &d) { return file_of(d, level_bytes("\n") + std::string(6 << 20, 'Z')); },
     true, level_text(), {}},
    {"huge: 6 MB of blank lines, then a level",
     [](const std::string &d) { return file_of(d, std::string(6 << 20, '\n') + level_bytes("\n")); },
     true, "", no_start},
    {"one endless line", [](const std::string &d) { return file_of(d, std::string(6 << 20, '.')); },
     true, "", no_start},
    {"CRLF line ends", [](const std::string &d) { return file_of(d, level_bytes("\r\n")); }, true,
     level_text(), {}},
    {"UTF-8 byte order mark and CRLF",
     [](const std::string &d) { return file_of(d, "\xef\xbb\xbf" + level_bytes("\r\n")); }, true,
     level_text(), {}},
    {"a Latin-1 letter on the board",
     [](const std::string &d) { return file_of(d, with_latin1_a_umlaut()); }, true,
     board_with(3, 5, '\xe4'), {{"Tuntematon ruutumerkki (koodi rivi sarake):", "-28 3 5"}, {"Ruutua ei voitu luoda.", ""}}},
    {"missing", [](const std::string &d) { return d + "/ei_ole.vkl"; }, false, "", cannot_build},
    {"a folder",
     [](const std::string &d) {
         fs::create_directory(d + "/kansio.vkl");
         return d + "/kansio.vkl";
     },
     false, "", cannot_build},
    {"a pipe with no writer (unreadable, would wait for ever)",
     [](const std::string &d) {
         std::string p = d + "/putki.vkl";
         EXPECT_EQ(0, mkfifo(p.c_str(), 0644));
         return p;
     },
     false, "", cannot_build},
    {"a dangling link (unreadable)",
     [](const std::string &d) {
         std::string p = d + "/linkki.vkl";
         fs::create_symlink(d + "/poistettu.vkl", p);
         return p;
     },
     false, "", cannot_build},
    {"a name too long for the file system (unreadable)",
     [](const std::string &d) { return d + "/" + std::string(300, 'k') + ".vkl"; },
     false, "", cannot_build},
    {"a device without end", [](const std::string &) { return std::string("/dev/zero"); }, false, "",
     cannot_build},
};

class HostileLevel : public ::testing::Test {
protected:
    std::string dir = make_temp_dir();
    void TearDown() override
    {
        key[KEY_ESC] = 0;
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

TEST_F(HostileLevel, ReadingBadFiles)
{
    bead b;
    for (const read_case &c : read_cases) {
        SCOPED_TRACE(c.name);
        fake::reset();
        fs::remove_all(dir);
        fs::create_directory(dir);
        std::string path = c.make(dir);
        std::error_code ec;
        const bool regular = fs::is_regular_file(path, ec);
        const std::string before = regular ? read_file(path) : "";

        // The editor's reader: a text within its buffer, or -1 and the old text kept.
        char text[level_text_max + 1 + 16];
        std::memset(text, '?', sizeof text);
        text[level_text_max + 1] = 0;
        const std::string old_text(text);
        int r = load_thedata(path, text);
        EXPECT_EQ(c.editor_reads ? 0 : -1, r);
        if (r == 0) {
            size_t len = std::strlen(text);
            EXPECT_GE(len, 196u);
            EXPECT_LE(len, static_cast<size_t>(level_text_max));
        } else {
            EXPECT_EQ(old_text, std::string(text));
        }

        // A game run on it: plays the board, or says why not and returns to the menu.
        int frames = 0;
        std::string board;
        fake::on_rest = [&] {
            if (frames++ == 0) {
                for (int i = 0; i < 14; i++)
                    board += std::string(b.current_field->codes[i], 14);
                key[KEY_ESC] = 1;
            }
        };
        EXPECT_EQ(1, b.start_bead(path));
        key[KEY_ESC] = 0;
        fake::on_rest = nullptr;
        EXPECT_EQ(c.board, board);
        EXPECT_EQ(c.board.empty() ? 0 : 2, frames);  // Esc is seen by the next step
        EXPECT_EQ(1, fake::stop_midi_calls);  // the music stops either way
        ASSERT_EQ(c.alerts.size(), fake::alerts.size());
        for (size_t k = 0; k < c.alerts.size(); k++) {
            EXPECT_EQ(c.alerts[k].first, fake::alerts[k].s1);
            EXPECT_EQ(c.alerts[k].second, fake::alerts[k].s2);
            EXPECT_EQ("Ok", fake::alerts[k].b1);
        }

        // Reading never changes the file.
        if (regular) {
            EXPECT_TRUE(before == read_file(path));
        }
    }
}

// Saving: the editor's "Tallenna" onto a name chosen in the selector.
struct save_case {
    const char *name;
    // Prepares the target in dir, returns the name the player chooses.
    std::function<std::string(const std::string &dir)> make;
    // Checks afterwards that what was there is still there.
    std::function<void(const std::string &dir, const std::string &path)> unchanged;
    long file_size_limit;  // RLIMIT_FSIZE during the save (a full disk), 0 for none
};

const std::string old_level = "**************\n*A...vanha....*\n";

const std::vector<save_case> save_cases = {
    {"into a folder that does not exist",
     [](const std::string &d) { return d + "/ei/ole/k.vkl"; },
     [](const std::string &d, const std::string &) { EXPECT_FALSE(fs::exists(d + "/ei")); }, 0},
    {"onto a folder",
     [](const std::string &d) {
         fs::create_directory(d + "/k.vkl");
         write_file(d + "/k.vkl/sisalla.vkl", old_level);
         return d + "/k.vkl";
     },
     [](const std::string &, const std::string &p) {
         EXPECT_TRUE(fs::is_directory(p));
         EXPECT_EQ(old_level, read_file(p + "/sisalla.vkl"));
     },
     0},
    {"onto a pipe (would wait for a reader for ever)",
     [](const std::string &d) {
         std::string p = d + "/putki.vkl";
         EXPECT_EQ(0, mkfifo(p.c_str(), 0644));
         return p;
     },
     [](const std::string &, const std::string &p) { EXPECT_TRUE(fs::is_fifo(p)); }, 0},
    {"through a link to the full device",
     [](const std::string &d) {
         fs::create_symlink("/dev/full", d + "/taysi.vkl");
         return d + "/taysi.vkl";
     },
     [](const std::string &, const std::string &p) {
         EXPECT_TRUE(fs::is_symlink(p));
         EXPECT_TRUE(fs::is_character_file("/dev/full"));
         EXPECT_FALSE(fs::exists("/dev/full.tmp"));
     },
     0},
    {"over a level when the disk fills up",
     [](const std::string &d) {
         write_file(d + "/k.vkl", old_level);
         return d + "/k.vkl";
     },
     [](const std::string &d, const std::string &p) {
         EXPECT_EQ(old_level, read_file(p));
         EXPECT_FALSE(fs::exists(d + "/k.vkl.tmp"));
     },
     64},
    {"a name too long for the file system",
     [](const std::string &d) { return d + "/" + std::string(300, 'k') + ".vkl"; },
     [](const std::string &d, const std::string &) { EXPECT_TRUE(fs::is_empty(d)); }, 0},
};

const int SAVE = 18, LEAVE = 19;

TEST_F(HostileLevel, SavingWhereItCannotBeWritten)
{
    for (const save_case &c : save_cases) {
        SCOPED_TRACE(c.name);
        fake::reset();
        fs::remove_all(dir);
        fs::create_directory(dir);
        std::string chosen = c.make(dir);
        fake::file_select_hook = [&](char *path, int size) {
            std::snprintf(path, size, "%s", chosen.c_str());
            return -1;
        };
        bool saved = false;
        fake::dialog_hook = [&](DIALOG *, int) {
            if (saved)
                return LEAVE;
            saved = true;
            return SAVE;
        };

        struct rlimit old_limit;
        getrlimit(RLIMIT_FSIZE, &old_limit);
        void (*old_handler)(int) = SIG_DFL;
        if (c.file_size_limit) {
            old_handler = signal(SIGXFSZ, SIG_IGN);
            struct rlimit small = old_limit;
            small.rlim_cur = c.file_size_limit;
            setrlimit(RLIMIT_FSIZE, &small);
        }
        std::string back = editor(dir + "/nykyinen.vkl");
        const int direct = save_file(chosen, blank_level);  // the writer itself, as well
        if (c.file_size_limit) {
            setrlimit(RLIMIT_FSIZE, &old_limit);
            signal(SIGXFSZ, old_handler);
        }

        EXPECT_EQ(dir + "/nykyinen.vkl", back);  // the editor goes on and returns as usual
        // A name that is taken is first asked about ("Kyllä" here); then the failure is told.
        ASSERT_FALSE(fake::alerts.empty());
        EXPECT_LE(fake::alerts.size(), 2u);
        const fake::AlertCall &told = fake::alerts.back();
        std::error_code e;
        if (fs::is_directory(chosen, e))
            EXPECT_EQ(L1("on kansio, ei kenttä."), told.s2);
        else
            EXPECT_EQ(L1("Virhe kentän tallennuksessa"), told.s1);
        EXPECT_EQ("Ok", told.b1);
        EXPECT_EQ(-1, direct);
        c.unchanged(dir, chosen);
    }
}

}  // namespace

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "field/field.h"
#include "field/level_file.h"
#include "platform/text_encoding.h"
#include "support/fakes.h"
#include "support/unprivileged.h"
#include "tiles/flag_tile.h"
#include "tiles/norm_tile.h"
#include "tiles/start_tile.h"
#include "tiles/wall_tile.h"

namespace fs = std::filesystem;

namespace {

const std::string walls(14, '*');
const std::string inner = "*............*";
// What a row made from the untouched word buffer looks like: 38 '-' with the ring set.
const std::string dashes = "*------------*" + std::string(24, '-');

std::string repeat(const std::string &s, int n)
{
    std::string out;
    for (int i = 0; i < n; i++)
        out += s;
    return out;
}

// The blank level as a file, exactly as written.
std::string blank_file()
{
    return walls + "\n*AF..........*\n" + repeat(inner + "\n", 11) + walls + "\nnoname\n9999\n";
}

std::string blank_text()
{
    return walls + "*AF..........*" + repeat(inner, 11) + walls;
}

class LevelFile : public ::testing::Test {
protected:
    std::string dir = make_temp_dir();

    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string path(const std::string &name) const { return dir + "/" + name; }

    // What the editor's reader makes of these bytes.
    std::string read_bytes(const std::string &bytes)
    {
        std::string p = path("level.vkl");
        write_file(p, bytes);
        return read_path(p);
    }

    // Reads through load_thedata into a buffer with a guard zone; "" when it refuses the file
    // (then the buffer must be untouched). Also checks that the shared reader agrees.
    std::string read_path(const std::string &p)
    {
        char buffer[level_text_max + 1 + 32];
        std::memset(buffer, '~', sizeof buffer);
        if (load_thedata(p, buffer) != 0) {
            for (char c : buffer)
                EXPECT_EQ(c, '~');
            std::string ignored;
            EXPECT_FALSE(read_level_text(p, ignored));
            return "";
        }
        size_t len = strnlen(buffer, sizeof buffer);
        EXPECT_GE(len, 196u);
        EXPECT_LE(len, static_cast<size_t>(level_text_max));
        for (size_t k = len + 1; k < sizeof buffer; k++)
            EXPECT_EQ(buffer[k], '~') << "written past the text at " << k;
        std::string shared;
        EXPECT_TRUE(read_level_text(p, shared));
        EXPECT_EQ(shared, std::string(buffer, len));
        return std::string(buffer, len);
    }
};

}  // namespace

TEST_F(LevelFile, BlankLevelText)
{
    ASSERT_EQ(std::strlen(blank_level), 196u);
    EXPECT_EQ(std::string(blank_level), blank_text());
}

// ---- Writer ----

TEST_F(LevelFile, WriterBytesAreExact)
{
    std::string p = path("nimeton.vkl");
    ASSERT_EQ(save_file(p, blank_level), 0);
    EXPECT_EQ(read_file(p), blank_file());
    int entries = 0;
    for (auto &e : fs::directory_iterator(dir)) {
        (void)e;
        entries++;
    }
    EXPECT_EQ(entries, 1);  // no temporary file left behind

    // Saving over a longer file replaces it completely.
    std::string q = path("old.vkl");
    write_file(q, std::string(5000, 'A'));
    ASSERT_EQ(save_file(q, blank_level), 0);
    EXPECT_EQ(read_file(q), blank_file());
}

TEST_F(LevelFile, WriterTakesOnlyTheBoard)
{
    std::string p = path("long.vkl");
    ASSERT_EQ(save_file(p, (std::string(blank_level) + "AAAAFFFF").c_str()), 0);
    EXPECT_EQ(read_file(p), blank_file());

    // A short text is filled up with walls.
    ASSERT_EQ(save_file(p, "*A.F................"), 0);
    EXPECT_EQ(read_file(p), "*A.F..........\n......********\n" + repeat(walls + "\n", 12) + "noname\n9999\n");
    ASSERT_EQ(save_file(p, ""), 0);
    EXPECT_EQ(read_file(p), repeat(walls + "\n", 14) + "noname\n9999\n");
    ASSERT_EQ(save_file(p, nullptr), 0);
    EXPECT_EQ(read_file(p), repeat(walls + "\n", 14) + "noname\n9999\n");
}

TEST_F(LevelFile, RoundTripKeepsTheText)
{
    const char *rows[12] = {"*AF#+-.BCEFIN*", "*OSVWXensw...*", "*..........F.*", "*Ox.....Z....*",
                            "*..I.-.S.N...*", "*..........B.*", "*...C.V......*", "*ee.ss.nn.ww.*",
                            "*XXXXXXXXXXXX*", "*#.#.#.#.#.#.*", "*+-+-+-+-+-+-*", "*EWEWEWEWEWEW*"};
    std::string text = walls;
    for (const char *r : rows) {
        ASSERT_EQ(std::strlen(r), 14u);
        text += r;
    }
    text += walls;
    std::string p = path("round.vkl");
    ASSERT_EQ(save_file(p, text.c_str()), 0);
    EXPECT_EQ(read_path(p), text);
    ASSERT_EQ(save_file(p, blank_level), 0);
    EXPECT_EQ(read_path(p), blank_text());
}

// Every file of a folder with its bytes (links as "-> target").
std::map<std::string, std::string> folder_bytes(const std::string &dir)
{
    std::map<std::string, std::string> all;
    for (auto &e : fs::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        if (fs::is_symlink(e.symlink_status()))
            all[name] = "-> " + fs::read_symlink(e.path()).string();
        else if (fs::is_regular_file(e.symlink_status()))
            all[name] = read_file(e.path().string());
        else
            all[name] = "(folder)";
    }
    return all;
}

TEST_F(LevelFile, FailedSaveKeepsTheOldFile)
{
    const std::string old_bytes = "the old level\n";

    // The folder does not exist: nothing can be created.
    EXPECT_EQ(save_file(path("nowhere/level.vkl"), blank_level), -1);
    EXPECT_FALSE(fs::exists(path("nowhere")));

    // Writing fails part-way (the disk is full; here a limit of 16 bytes on a file's size):
    // the old file stays byte for byte, and the partial new one goes.
    std::string p = path("level.vkl");
    write_file(p, old_bytes);
    struct rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    const struct rlimit saved = limit;
    void (*handler)(int) = signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &limit);
    const int result = save_file(p, blank_level);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, handler);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(folder_bytes(dir), (std::map<std::string, std::string>{{"level.vkl", old_bytes}}));

    // The target is a folder, a device or a pipe: nothing is written and nothing waits.
    fs::create_directory(path("folder.vkl"));
    EXPECT_EQ(save_file(path("folder.vkl"), blank_level), -1);
    EXPECT_TRUE(fs::is_empty(path("folder.vkl")));
    if (fs::exists("/dev/full")) {
        fs::create_symlink("/dev/full", path("full.vkl"));
        EXPECT_EQ(save_file(path("full.vkl"), blank_level), -1);
        EXPECT_TRUE(fs::is_character_file("/dev/full"));
    }
    ASSERT_EQ(mkfifo(path("pipe.vkl").c_str(), 0600), 0);
    EXPECT_EQ(save_file(path("pipe.vkl"), blank_level), -1);
    EXPECT_EQ(save_file("", blank_level), -1);

    // And a save that works afterwards replaces it.
    EXPECT_EQ(save_file(p, blank_level), 0);
    EXPECT_EQ(read_file(p), blank_file());
}

// The temporary file has a name of its own, created only where no file is: the player's files
// beside the level, whatever their names, stay as they are.
TEST_F(LevelFile, SavingTouchesNoOtherFile)
{
    const std::string p = path("x.vkl");
    write_file(p, "old\n");
    write_file(p + ".tmp", "the player's own x.vkl.tmp\n");
    write_file(p + "~", "a backup\n");
    write_file(path(".vinkla"), "hidden\n");
    fs::create_directory(path("x.vkl.d"));
    fs::create_symlink("x.vkl.tmp", path("link.tmp"));
    auto expected = folder_bytes(dir);
    expected["x.vkl"] = blank_file();
    for (int i = 0; i < 20; i++)
        ASSERT_EQ(save_file(p, blank_level), 0);
    EXPECT_EQ(folder_bytes(dir), expected);

    // A new file beside them.
    ASSERT_EQ(save_file(path("y.vkl"), blank_level), 0);
    expected["y.vkl"] = blank_file();
    EXPECT_EQ(folder_bytes(dir), expected);
}

// The longest names the file system allows (255 bytes) save and save again: the temporary
// file's name is short whatever the level's name is.
TEST_F(LevelFile, TheLongestNamesSave)
{
    for (size_t length : {251u, 254u, 255u}) {
        const std::string name = std::string(length - 4, 'k') + ".vkl";
        ASSERT_EQ(name.size(), length);
        const std::string p = path(name);
        EXPECT_EQ(save_file(p, blank_level), 0) << length;
        write_file(p, "old\n");
        EXPECT_EQ(save_file(p, blank_level), 0) << length;
        EXPECT_EQ(read_file(p), blank_file());
        fs::remove(p);
    }
    EXPECT_TRUE(fs::is_empty(dir));
    // One byte more is no name: the save fails and creates nothing.
    EXPECT_EQ(save_file(path(std::string(252, 'k') + ".vkl"), blank_level), -1);
    EXPECT_TRUE(fs::is_empty(dir));
}

// What the player may not write stays as it is, and what the player may write is written even
// where no temporary file can be made. As root (CI) the checks run as the user nobody.
TEST_F(LevelFile, ReadOnlyFilesAndFolders)
{
    const std::string old_bytes = "the old level\n";
    auto make = [&](const std::string &folder, fs::perms folder_mode, const char *file,
                    fs::perms file_mode) {
        const std::string d = path(folder);
        fs::create_directory(d);
        if (file) {
            write_file(d + "/" + file, old_bytes);
            fs::permissions(d + "/" + file, file_mode);
            give_to_player(d + "/" + file);
        }
        fs::permissions(d, folder_mode);
        give_to_player(d);
        return d;
    };
    const fs::perms rx = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                         fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    const fs::perms r = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const fs::perms rw = r | fs::perms::owner_write;

    // A read-only file in the player's folder: renaming over it would bypass its mode.
    std::string locked = make("omat", rx | fs::perms::owner_write, "lukittu.vkl", r) + "/lukittu.vkl";
    EXPECT_TRUE(as_player([&] { return save_file(locked, blank_level) == -1; }));
    EXPECT_EQ(read_file(locked), old_bytes);

    // A read-only folder with a read-only file, and with no file at all.
    std::string shut = make("jaettu", rx, "kentta.vkl", r);
    EXPECT_TRUE(as_player([&] { return save_file(shut + "/kentta.vkl", blank_level) == -1; }));
    EXPECT_EQ(read_file(shut + "/kentta.vkl"), old_bytes);
    EXPECT_TRUE(as_player([&] { return save_file(shut + "/uusi.vkl", blank_level) == -1; }));
    EXPECT_FALSE(fs::exists(shut + "/uusi.vkl"));

    // A read-only folder with a file the player may write: no temporary file can be made
    // there, so the file is written in place, and nothing else appears.
    std::string open = make("kurssi", rx, "tehtava.vkl", rw);
    EXPECT_TRUE(as_player([&] { return save_file(open + "/tehtava.vkl", blank_level) == 0; }));
    EXPECT_EQ(read_file(open + "/tehtava.vkl"), blank_file());
    EXPECT_EQ(folder_bytes(open).size(), 1u);

    // Written in place, a save cut short by a full disk puts the old bytes back.
    fs::permissions(open + "/tehtava.vkl", rw);
    write_file(open + "/tehtava.vkl", std::string(300, '#') + "\n");
    EXPECT_TRUE(as_player([&] {
        struct rlimit limit;
        getrlimit(RLIMIT_FSIZE, &limit);
        const struct rlimit saved = limit;
        void (*handler)(int) = signal(SIGXFSZ, SIG_IGN);
        limit.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool failed = save_file(open + "/tehtava.vkl", blank_level) == -1;
        setrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, handler);
        return failed;
    }));
    EXPECT_EQ(read_file(open + "/tehtava.vkl"), std::string(300, '#') + "\n");

    // Another user's file the player may write, in a shared folder with the sticky bit (as
    // /tmp): it cannot be renamed over, so it too is written in place.
    const std::string shared = path("yhteinen");
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    write_file(shared + "/kentta.vkl", old_bytes);
    fs::permissions(shared + "/kentta.vkl", fs::perms::all & ~(fs::perms::owner_exec |
                                                               fs::perms::group_exec |
                                                               fs::perms::others_exec));
    EXPECT_TRUE(as_player([&] { return save_file(shared + "/kentta.vkl", blank_level) == 0; }));
    EXPECT_EQ(read_file(shared + "/kentta.vkl"), blank_file());
    EXPECT_EQ(folder_bytes(shared).size(), 1u);

    for (const char *f : {"omat", "jaettu", "kurssi"})
        fs::permissions(path(f), fs::perms::owner_all);
}

TEST_F(LevelFile, SaveKeepsPermissionsAndLinks)
{
    std::string real = path("real.vkl");
    write_file(real, "old\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(save_file(real, blank_level), 0);
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    std::string link = path("link.vkl");
    fs::create_symlink(real, link);
    ASSERT_EQ(save_file(link, (walls + "*A...........*").c_str()), 0);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(read_file(real), walls + "\n*A...........*\n" + repeat(walls + "\n", 12) + "noname\n9999\n");
}

// ---- Reader ----

TEST_F(LevelFile, WrittenLayoutReadsBack)
{
    EXPECT_EQ(read_bytes(blank_file()), blank_text());
    // Only the first 13 lines matter: without row 13 and the two trailing lines it is the same,
    // and so it is with anything after them.
    std::string first13 = walls + "\n*AF..........*\n" + repeat(inner + "\n", 11);
    EXPECT_EQ(read_bytes(first13), blank_text());
    EXPECT_EQ(read_bytes(first13 + "AAAAAAAAAAAAAA\nFFFF\nx\n" + repeat("junk ", 100)), blank_text());
}

TEST_F(LevelFile, RingIsForcedToWalls)
{
    std::string file = "AAAAAAAAAAAAAA\nF.A..........F\n" + repeat("A............A\n", 11) + "FFFFFFFFFFFFFF\n";
    std::string text = read_bytes(file);
    EXPECT_EQ(text, walls + "*.A..........*" + repeat(inner, 11) + walls);
    write_file(path("ring.vkl"), file);
    std::unique_ptr<field> f(field::load_field_file(path("ring.vkl")));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->flag_count, 0);
    EXPECT_EQ(f->start_point, f->tiles[1][2]);
}

TEST_F(LevelFile, AnyWhitespaceSeparatesRows)
{
    std::string rows[14] = {walls, "*AF..........*"};
    for (int i = 2; i < 13; i++)
        rows[i] = inner;
    rows[13] = walls;
    const char *gaps[13] = {" ", "\t", "\r\n", "\n\n\n", "  \t ", "\v", "\f", "\r", "\n \n", " \r\n\r\n", "\t\t", "\n", "   "};
    std::string file = "\n\n  \t";
    for (int i = 0; i < 13; i++)
        file += rows[i] + gaps[i];
    file += rows[13];  // no line end at all after the last row
    EXPECT_EQ(read_bytes(file), blank_text());

    std::string crlf;
    for (char c : blank_file())
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(read_bytes(crlf), blank_text());
}

TEST_F(LevelFile, MissingWordsRepeatTheLastRow)
{
    std::string text = read_bytes(walls + "\n*AF..........*\n*..O.........*\n");
    EXPECT_EQ(text, walls + "*AF..........*" + repeat("*..O.........*", 11) + walls);
    // Only row 0: it is the last word read, and every row is made from it.
    EXPECT_EQ(read_bytes("FAAAAAAAAAAAAF\n"), walls + repeat("*AAAAAAAAAAAA*", 12) + walls);
    // A short last word: filled up with walls, then repeated.
    EXPECT_EQ(read_bytes(walls + " A.........O.F"), walls + repeat("*.........O.F*", 12) + walls);
}

TEST_F(LevelFile, EmptyOrBlankFileGivesDashRows)
{
    const std::string want = walls + repeat(dashes, 12) + walls;
    ASSERT_EQ(want.size(), 484u);
    EXPECT_EQ(read_bytes(""), want);
    EXPECT_EQ(read_bytes(" \n\t\r\n\n   \v\f"), want);
    write_file(path("empty.vkl"), "");
    EXPECT_EQ(field::load_field_file(path("empty.vkl")), nullptr);
    ASSERT_EQ(fake::alerts.size(), 1u);
    EXPECT_EQ(fake::alerts[0].s1, L1("Virhe kenttädatassa:"));
    EXPECT_EQ(fake::alerts[0].s2, L1("Lähtöpiste puuttuu."));
}

TEST_F(LevelFile, LongWordsShiftTheRows)
{
    // 20 characters: '*', 'A', 16 '.', "FF"; position 13 becomes '*'.
    std::string row1 = "*A" + std::string(16, '.') + "FF";
    std::string file = walls + "\n" + row1 + "\n" + repeat(inner + "\n", 11) + walls + "\n";
    std::string text = read_bytes(file);
    EXPECT_EQ(text, walls + "*A...........*....FF" + repeat(inner, 11) + walls);
    ASSERT_EQ(text.size(), 202u);

    // The board is the first 196 characters: row 2 starts with the 6 spilled ones; the spill
    // pushes floor onto row 13, which the field turns back into walls.
    write_file(path("long.vkl"), file);
    std::unique_ptr<field> f(field::load_field_file(path("long.vkl")));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->status, field::built);
    EXPECT_EQ(f->flag_count, 2);
    EXPECT_EQ(std::string(f->codes[2], 14), "*...FF*......*");
    const tile &flag = *f->tiles[2][4], &wall = *f->tiles[2][6];
    EXPECT_EQ(typeid(flag), typeid(flag_tile));
    EXPECT_EQ(typeid(wall), typeid(wall_tile));
    EXPECT_EQ(std::string(f->codes[13], 14), walls);
    EXPECT_TRUE(fake::alerts.empty());

    // 38 characters, the most a word keeps.
    std::string row38 = "*A" + std::string(36, '.');
    text = read_bytes(walls + " " + row38 + " " + repeat(inner + " ", 11));
    EXPECT_EQ(text, walls + "*A...........*" + std::string(24, '.') + repeat(inner, 11) + walls);
}

TEST_F(LevelFile, OverlongWordsAreCutAt38)
{
    // 50 characters: only the first 38 are kept, and the rest is not taken as the next row.
    std::string row1 = "*A" + std::string(36, '.') + std::string(12, 'F');
    std::string file = walls + "\n" + row1 + "\n*..O.........*\n" + repeat(inner + "\n", 10);
    std::string text = read_bytes(file);
    EXPECT_EQ(text, walls + "*A...........*" + std::string(24, '.') + "*..O.........*" + repeat(inner, 10) + walls);
    EXPECT_EQ(text.find('F'), std::string::npos);

    // Every word far too long: the longest text there is.
    std::string huge_word(1000, 'C');
    text = read_bytes(repeat(huge_word + "\n", 13));
    std::string row = "*CCCCCCCCCCCC*" + std::string(24, 'C');
    EXPECT_EQ(text, walls + repeat(row, 12) + walls);
    EXPECT_EQ(text.size(), static_cast<size_t>(level_text_max));
}

TEST_F(LevelFile, ShortWordsAreFilledWithWalls)
{
    // A long row before a short one leaves nothing behind in the short one.
    std::string file = walls + "\n*A.F\n" + std::string(38, '.') + "\n*O\nA\n" + repeat(inner + "\n", 8);
    std::string text = read_bytes(file);
    EXPECT_EQ(text, walls + "*A.F**********" + "*............*" + std::string(24, '.') + "*O************" +
                        walls + repeat(inner, 8) + walls);
    // Every row is at least 14 characters, so the text is never shorter than the board.
    EXPECT_EQ(read_bytes("* * * * * * * * * * * * *"), repeat(walls, 14));
}

TEST_F(LevelFile, MissingFileOrFolderIsNotRead)
{
    char buffer[level_text_max + 1];
    std::strcpy(buffer, blank_level);
    EXPECT_EQ(load_thedata(path("missing.vkl"), buffer), -1);
    EXPECT_EQ(std::string(buffer), blank_text());
    EXPECT_EQ(field::load_field_file(path("missing.vkl")), nullptr);
    EXPECT_EQ(read_path(path("missing.vkl")), "");

    // A folder, a device and an empty name fail the same way, not as an empty level.
    fs::create_directory(path("folder.vkl"));
    EXPECT_EQ(read_path(path("folder.vkl")), "");
    EXPECT_EQ(field::load_field_file(path("folder.vkl")), nullptr);
    EXPECT_EQ(read_path(dir), "");
    EXPECT_EQ(read_path("/dev/zero"), "");
    // A pipe with no writer would block the open for ever.
    ASSERT_EQ(mkfifo(path("pipe.vkl").c_str(), 0600), 0);
    EXPECT_EQ(read_path(path("pipe.vkl")), "");
    EXPECT_EQ(read_path(""), "");
    EXPECT_TRUE(fake::alerts.empty());

    // A link to a level file reads the file.
    write_file(path("real.vkl"), blank_file());
    fs::create_symlink(path("real.vkl"), path("link.vkl"));
    EXPECT_EQ(read_path(path("link.vkl")), blank_text());
}

TEST_F(LevelFile, BinaryBytesAreHandled)
{
    // NUL separates words like whitespace, so the text never ends inside a row.
    std::string nul(1, '\0');
    std::string file = walls + nul + "*AF..........*" + nul + nul + repeat(inner + "\n", 11);
    EXPECT_EQ(read_bytes(file), blank_text());
    EXPECT_EQ(read_bytes(walls + "\n*A" + nul + "F\n"), walls + "*A************" + repeat(walls, 11) + walls);

    // Bytes of 128 and more are kept; the field reports them as negative codes.
    std::string high = walls + "\n*A\xe4\xf6.........*\n" + repeat(inner + "\n", 11);
    EXPECT_EQ(read_bytes(high), walls + "*A\xe4\xf6.........*" + repeat(inner, 11) + walls);
    write_file(path("high.vkl"), high);
    std::unique_ptr<field> f(field::load_field_file(path("high.vkl")));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->tiles[1][2], nullptr);
    EXPECT_EQ(f->tiles[1][3], nullptr);
    ASSERT_EQ(fake::alerts.size(), 4u);
    EXPECT_EQ(fake::alerts[0].s2, "-28 1 2");
    EXPECT_EQ(fake::alerts[2].s2, "-10 1 3");
}

TEST_F(LevelFile, HugeFilesAreReadOnlyAsFarAsNeeded)
{
    // A level followed by megabytes of anything reads as the level.
    EXPECT_EQ(read_bytes(blank_file() + std::string(3 << 20, 'x')), blank_text());
    // Words that start beyond the first 64 KiB are not looked for: an empty level.
    EXPECT_EQ(read_bytes(std::string(70000, ' ') + blank_file()), walls + repeat(dashes, 12) + walls);
}

// ---- The game's reader ----

TEST_F(LevelFile, FieldReaderBuildsOrRefuses)
{
    write_file(path("blank.vkl"), blank_file());
    std::unique_ptr<field> f(field::load_field_file(path("blank.vkl")));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->status, field::built);
    EXPECT_EQ(f->rows, 14);
    EXPECT_EQ(f->columns, 14);
    EXPECT_EQ(f->flag_count, 1);
    EXPECT_EQ(f->start_point, f->tiles[1][1]);
    const tile &start = *f->start_point;
    EXPECT_EQ(typeid(start), typeid(start_tile));
    EXPECT_TRUE(fake::alerts.empty());

    write_file(path("none.vkl"), walls + "\n*.F..........*\n" + repeat(inner + "\n", 11));
    EXPECT_EQ(field::load_field_file(path("none.vkl")), nullptr);
    ASSERT_EQ(fake::alerts.size(), 1u);
    EXPECT_EQ(fake::alerts[0].s2, L1("Lähtöpiste puuttuu."));

    fake::alerts.clear();
    write_file(path("two.vkl"), walls + "\n*AF..........A\n" + repeat(inner + "\n", 11));
    f.reset(field::load_field_file(path("two.vkl")));
    ASSERT_NE(f, nullptr);  // the second 'A' sat on the ring and became a wall
    EXPECT_TRUE(fake::alerts.empty());

    write_file(path("two.vkl"), walls + "\n*AF........A.*\n" + repeat(inner + "\n", 11));
    EXPECT_EQ(field::load_field_file(path("two.vkl")), nullptr);
    ASSERT_EQ(fake::alerts.size(), 1u);
    EXPECT_EQ(fake::alerts[0].s2, L1("Liikaa lähtöpisteitä."));
}

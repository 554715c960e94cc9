#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "field/field.h"
#include "field/level_file.h"
#include "support/fakes.h"
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

TEST_F(LevelFile, FailedSaveKeepsTheOldFile)
{
    const std::string old_bytes = "the old level\n";

    // The folder does not exist: nothing can be created.
    EXPECT_EQ(save_file(path("nowhere/level.vkl"), blank_level), -1);
    EXPECT_FALSE(fs::exists(path("nowhere")));

    // The temporary file cannot be created beside the target.
    std::string p = path("level.vkl");
    write_file(p, old_bytes);
    fs::create_directory(p + ".tmp");
    EXPECT_EQ(save_file(p, blank_level), -1);
    EXPECT_EQ(read_file(p), old_bytes);
    EXPECT_TRUE(fs::is_directory(p + ".tmp"));
    fs::remove(p + ".tmp");

    // Writing fails part-way (the disk is full): the old file stays, the partial one goes.
    if (fs::exists("/dev/full")) {
        fs::create_symlink("/dev/full", p + ".tmp");
        EXPECT_EQ(save_file(p, blank_level), -1);
        EXPECT_EQ(read_file(p), old_bytes);
        EXPECT_FALSE(fs::exists(fs::symlink_status(p + ".tmp")));
    }

    // The target is a folder.
    fs::create_directory(path("folder.vkl"));
    EXPECT_EQ(save_file(path("folder.vkl"), blank_level), -1);
    EXPECT_TRUE(fs::is_directory(path("folder.vkl")));
    EXPECT_FALSE(fs::exists(path("folder.vkl.tmp")));
    EXPECT_EQ(save_file("", blank_level), -1);

    // And a save that works afterwards replaces it.
    EXPECT_EQ(save_file(p, blank_level), 0);
    EXPECT_EQ(read_file(p), blank_file());
}

TEST_F(LevelFile, ReadOnlyFileIsNotReplaced)
{
    std::string p = path("locked.vkl");
    write_file(p, "locked\n");
    fs::permissions(p, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    if (std::ofstream(p, std::ios::app))
        GTEST_SKIP() << "running with rights that ignore file modes";
    EXPECT_EQ(save_file(p, blank_level), -1);
    EXPECT_EQ(read_file(p), "locked\n");
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
    EXPECT_EQ(fake::alerts[0].s1, "Virhe kenttädatassa:");
    EXPECT_EQ(fake::alerts[0].s2, "Lähtöpiste puuttuu.");
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
    EXPECT_EQ(typeid(*f->tiles[2][4]), typeid(flag_tile));
    EXPECT_EQ(typeid(*f->tiles[2][6]), typeid(wall_tile));
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
    EXPECT_EQ(typeid(*f->start_point), typeid(start_tile));
    EXPECT_TRUE(fake::alerts.empty());

    write_file(path("none.vkl"), walls + "\n*.F..........*\n" + repeat(inner + "\n", 11));
    EXPECT_EQ(field::load_field_file(path("none.vkl")), nullptr);
    ASSERT_EQ(fake::alerts.size(), 1u);
    EXPECT_EQ(fake::alerts[0].s2, "Lähtöpiste puuttuu.");

    fake::alerts.clear();
    write_file(path("two.vkl"), walls + "\n*AF..........A\n" + repeat(inner + "\n", 11));
    f.reset(field::load_field_file(path("two.vkl")));
    ASSERT_NE(f, nullptr);  // the second 'A' sat on the ring and became a wall
    EXPECT_TRUE(fake::alerts.empty());

    write_file(path("two.vkl"), walls + "\n*AF........A.*\n" + repeat(inner + "\n", 11));
    EXPECT_EQ(field::load_field_file(path("two.vkl")), nullptr);
    ASSERT_EQ(fake::alerts.size(), 1u);
    EXPECT_EQ(fake::alerts[0].s2, "Liikaa lähtöpisteitä.");
}

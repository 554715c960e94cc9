// The records file and the time as the player reads it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "field/field.h"
#include "field/level_file.h"
#include "field/level_order.h"
#include "platform/text_encoding.h"
#include "records/player_records.h"
#include "records/record_table.h"
#include "records/run_time.h"
#include "run/play_support.h"
#include "support/fakes.h"

namespace {

std::vector<std::string> open_board(const std::string &row1)
{
    std::vector<std::string> rows(14, "*............*");
    rows[0] = rows[13] = "**************";
    rows[1] = row1;
    return rows;
}

std::vector<int> times(const std::vector<record_entry> &runs)
{
    std::vector<int> t;
    for (const record_entry &r : runs)
        t.push_back(r.time);
    return t;
}

}  // namespace

TEST(RunTime, MinutesSecondsAndHundredthsWithADecimalComma)
{
    EXPECT_EQ("0:00,00", time_text(0));
    EXPECT_EQ("0:00,01", time_text(1));
    EXPECT_EQ("0:00,99", time_text(99));
    EXPECT_EQ("0:01,00", time_text(100));
    EXPECT_EQ("1:05,43", time_text(6543));    // 65.43 s
    EXPECT_EQ("59:59,99", time_text(359999));
    EXPECT_EQ("60:00,00", time_text(360000));  // an hour: minutes go on
    EXPECT_EQ("0:00,00", time_text(-5));
    EXPECT_EQ("8.12.2026", date_text("2026-12-08"));
    EXPECT_EQ("31.1.1999", date_text("1999-01-31"));
    EXPECT_EQ("eilen", date_text("eilen"));
    EXPECT_EQ(10u, today_iso().size());
}

TEST(RecordTable, FiveFastestPerLevelTiesStandBehind)
{
    record_table t;
    const std::string k = "0123456789abcdef";
    for (int time : {500, 300, 400, 300, 700})
        t.enter(k, {time, "2026-12-08", "n" + std::to_string(time)});
    EXPECT_EQ((std::vector<int>{300, 300, 400, 500, 700}), times(t.table(k)));
    EXPECT_EQ(300, t.best(k));
    EXPECT_EQ(2, t.rank(k, 300));   // behind the two runs of 300
    EXPECT_EQ(4, t.rank(k, 699));
    EXPECT_EQ(-1, t.rank(k, 700));  // as slow as the fifth: not in the table
    EXPECT_EQ(3, t.enter(k, {450, "2026-12-09", "uusi"}));
    EXPECT_EQ((std::vector<int>{300, 300, 400, 450, 500}), times(t.table(k)));
    EXPECT_EQ(-1, t.enter(k, {900, "2026-12-09", "hidas"}));
    EXPECT_EQ(0, t.best("fedcba9876543210"));
    EXPECT_TRUE(t.table("fedcba9876543210").empty());
    EXPECT_EQ(0, t.rank("fedcba9876543210", 99999));
}

TEST(RecordTable, WhatIsWrittenReadsBack)
{
    const std::string dir = make_temp_dir();
    const std::string path = dir + "/vinkla.rec";
    record_table t;
    t.last_name = L1("Äijä Öhman");
    t.enter("00000000000000aa", {1234, "2026-12-08", L1("Äijä Öhman")});
    t.enter("00000000000000aa", {999, "2025-01-31", "Liisa", "01_alku_2025-01-31_0-09,99.run"});
    t.enter("00000000000000bb", {360000, "2024-02-29", "x"});
    ASSERT_TRUE(t.save(path).ok());
    // UTF-8 on the disk: Ä is C3 84, ä C3 A4, Ö C3 96.
    EXPECT_EQ("# vinkla: viisi nopeinta suoritusta kentitt\xc3\xa4in (sadasosasekunteina)\n"
              "nimi\t\xc3\x84ij\xc3\xa4 \xc3\x96hman\n"
              "00000000000000aa\t999\t2025-01-31\tLiisa\t01_alku_2025-01-31_0-09,99.run\n"
              "00000000000000aa\t1234\t2026-12-08\t\xc3\x84ij\xc3\xa4 \xc3\x96hman\n"
              "00000000000000bb\t360000\t2024-02-29\tx\n",
              read_file(path));

    record_table back;
    EXPECT_EQ(0, back.load(path));
    EXPECT_EQ(L1("Äijä Öhman"), back.last_name);
    EXPECT_EQ(t.text(), back.text());
    ASSERT_EQ(2u, back.table("00000000000000aa").size());
    EXPECT_EQ("Liisa", back.table("00000000000000aa")[0].name);
    EXPECT_EQ("2025-01-31", back.table("00000000000000aa")[0].date);
    EXPECT_EQ("01_alku_2025-01-31_0-09,99.run", back.table("00000000000000aa")[0].run);
    EXPECT_EQ("", back.table("00000000000000aa")[1].run);  // a record of older files

    // No file yet: an empty table and nothing wrong.
    EXPECT_EQ(0, back.load(dir + "/puuttuu.rec"));
    EXPECT_TRUE(back.levels.empty());
    std::filesystem::remove_all(dir);
}

TEST(RecordTable, ARunThatFallsOutOfTheTablesTakesItsFileAlong)
{
    const std::string dir = make_temp_dir();
    const std::string path = dir + "/vinkla.rec", runs = dir + "/suoritukset/";
    std::filesystem::create_directory(runs);
    const std::string key = "00000000000000aa";
    record_table first;
    for (int i = 1; i <= 5; i++) {
        const std::string run = "r" + std::to_string(i) + ".run";
        std::ofstream(runs + run) << "run";
        first.enter(key, {i * 100, "2026-12-08", "A", run});
    }
    std::ofstream(runs + "oma.run") << "a run no line names";
    ASSERT_TRUE(first.save(path).ok());

    // Another copy enters 0:00,50: 0:05,00 falls out of the file, and its run with it.
    record_table second;
    std::ofstream(runs + "r6.run") << "run";
    second.enter(key, {50, "2026-12-08", "B", "r6.run"});
    ASSERT_TRUE(second.save(path).ok());
    EXPECT_EQ((std::vector<int>{50, 100, 200, 300, 400}), times(second.table(key)));
    EXPECT_FALSE(std::filesystem::exists(runs + "r5.run"));
    for (const char *kept : {"r1.run", "r2.run", "r3.run", "r4.run", "r6.run", "oma.run"})
        EXPECT_TRUE(std::filesystem::exists(runs + kept)) << kept;

    // The first copy, whose table still holds 0:05,00, enters 0:00,70 over it: the merged
    // table drops 0:04,00, whose run goes, and the one already gone stays gone.
    first.enter(key, {70, "2026-12-08", "A", "r7.run"});
    std::ofstream(runs + "r7.run") << "run";
    ASSERT_TRUE(first.save(path).ok());
    EXPECT_EQ((std::vector<int>{50, 70, 100, 200, 300}), times(first.table(key)));
    EXPECT_FALSE(std::filesystem::exists(runs + "r4.run"));
    EXPECT_TRUE(std::filesystem::exists(runs + "r7.run"));
    std::filesystem::remove_all(dir);
}

TEST(RecordTable, DamagedLinesAreSkippedAndCountedTheRestKept)
{
    const std::string good1 = "00000000000000aa\t999\t2025-01-31\tLiisa\n";
    const std::string good2 = "00000000000000bb\t42\t2026-12-08\tPekka\r\n";  // Windows line end
    const std::string bytes =
        "# kommentti\n"
        "\n" + good1 +
        "00000000000000AA\t999\t2025-01-31\tIsot\n"        // key in capitals
        "00000000000000a\t999\t2025-01-31\tLyhyt\n"        // key of 15 digits
        "00000000000000aa\t0\t2025-01-31\tNolla\n"         // no time
        "00000000000000aa\t-5\t2025-01-31\tMiinus\n"
        "00000000000000aa\t0999\t2025-01-31\tEtunolla\n"
        "00000000000000aa\t12a\t2025-01-31\tKirjain\n"
        "00000000000000aa\t9999999999\t2025-01-31\tIso\n"  // past a thousand hours
        "00000000000000aa\t999\t2025-02-29\tKarkaus\n"     // 2025 is no leap year
        "00000000000000aa\t999\t31.1.2025\tMuoto\n"
        "00000000000000aa\t999\t2025-01-31\t\n"            // no name
        "00000000000000aa\t999\t2025-01-31\t Välit\n"      // spaces the game would trim
        "00000000000000aa\t999\t2025-01-31\tA\x01" "B\n"   // a control character
        "00000000000000aa\t999\t2025-01-31\tLiisa\textra\n"
        "00000000000000aa\t999\t2025-01-31\tLiisa\t../muualla.run\n"   // a run outside its folder
        "00000000000000aa\t999\t2025-01-31\tLiisa\tkansio/x.run\n"
        "nimi\t\n"
        + std::string("00000000000000aa\t1\t2025-01-31\t") + std::string(300, 'x') + "\n"
        + std::string("\0\0\0\n", 4) + good2 + "viimeinen rivi ilman rivinvaihtoa";
    record_table t;
    EXPECT_EQ(19, t.read(bytes));
    EXPECT_EQ((std::vector<int>{999}), times(t.table("00000000000000aa")));
    EXPECT_EQ((std::vector<int>{42}), times(t.table("00000000000000bb")));
    EXPECT_EQ("", t.last_name);

    // More than five runs of a level in the file: the five fastest are kept.
    std::string many;
    for (int time : {60, 10, 50, 20, 40, 30, 70})
        many += "00000000000000cc\t" + std::to_string(time) + "\t2026-12-08\tN\n";
    EXPECT_EQ(0, t.read(many));
    EXPECT_EQ((std::vector<int>{10, 20, 30, 40, 50}), times(t.table("00000000000000cc")));
}

TEST(RecordTable, AFolderOrADeviceIsNoRecordsFileAndAFailedSaveKeepsTheOld)
{
    const std::string dir = make_temp_dir();
    record_table t;
    EXPECT_EQ(1, t.load(dir));
    EXPECT_EQ(1, t.load("/dev/zero"));
    std::filesystem::create_directory(dir + "/kansio.rec");
    EXPECT_FALSE(t.save(dir + "/kansio.rec").ok());
    EXPECT_TRUE(std::filesystem::is_empty(dir + "/kansio.rec"));

    // A file cut off past the limit: whole lines before it count, the rest is one fault.
    const std::string big = dir + "/iso.rec";
    std::string line = "00000000000000aa\t999\t2025-01-31\tLiisa\n";
    std::string bytes;
    while (bytes.size() <= record_table::file_max)
        bytes += line;
    write_file(big, bytes);
    EXPECT_EQ(1, t.load(big));
    EXPECT_EQ(5u, t.table("00000000000000aa").size());

    const std::string path = dir + "/vinkla.rec";
    write_file(path, "vanha\n");
    t.enter("00000000000000aa", {5, "2026-12-08", "N"});
    if (geteuid() != 0) {  // root writes anyway
        chmod(path.c_str(), 0444);
        EXPECT_FALSE(t.save(path).ok());
        EXPECT_EQ("vanha\n", read_file(path));
        chmod(path.c_str(), 0644);
    }
    std::filesystem::remove_all(dir);
}

TEST(RecordTable, ALevelIsKnownByItsBoardNotByItsName)
{
    const std::string a = make_temp_dir(), b = make_temp_dir();
    const std::string one = write_level(a, "sama.vkl", open_board("*AF..........*"));
    const std::string other = write_level(b, "sama.vkl", open_board("*A.F.........*"));
    const std::string copy = write_level(b, "kopio.vkl", open_board("*AF..........*"));
    std::string t1, t2, t3;
    ASSERT_TRUE(read_level_text(one, t1) && read_level_text(other, t2) && read_level_text(copy, t3));
    EXPECT_NE(level_key(t1), level_key(t2));  // same name, another board
    EXPECT_EQ(level_key(t1), level_key(t3));  // same board, another name
    EXPECT_EQ(16u, level_key(t1).size());

    // The field's board gives the same key as the text it was built from.
    field *f = field::load_field_file(one);
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(level_key(t1), level_key(*f));
    delete f;
    // The ring is walls whatever the file holds there, so it does not change the key.
    std::vector<std::string> ringed = open_board("FAF..........A");
    const std::string odd = write_level(a, "reuna.vkl", ringed);
    std::string t4;
    ASSERT_TRUE(read_level_text(odd, t4));
    EXPECT_EQ(level_key(t1), level_key(t4));

    record_table t;
    t.enter(level_key(t1), {100, "2026-12-08", "A"});
    EXPECT_EQ(100, t.best(level_key(t3)));
    EXPECT_EQ(0, t.best(level_key(t2)));
    std::filesystem::remove_all(a);
    std::filesystem::remove_all(b);
}

TEST(RecordTable, NamesKeepPrintableLatin1Only)
{
    EXPECT_EQ(L1("Äijä"), clean_name(L1("  Äijä  ")));
    EXPECT_EQ("ab", clean_name("a\tb"));
    EXPECT_EQ("ab", clean_name("a\x01\x7f\x85" "b"));
    EXPECT_EQ("", clean_name(" \n "));
    EXPECT_EQ(std::string(20, 'x'), clean_name(std::string(30, 'x')));
}

TEST(LevelOrder, NextLevelInNameOrderThenTheFirstAgain)
{
    const std::string dir = make_temp_dir();
    for (const char *n : {"02_b.vkl", "01_a.vkl", "10_c.VKL", "muistiinpanot.txt", "standardfile.vkl"})
        write_file(dir + "/" + n, "x");
    std::filesystem::create_directory(dir + "/kansio.vkl");
    EXPECT_EQ(dir + "/02_b.vkl", next_level_file(dir + "/01_a.vkl"));
    EXPECT_EQ(dir + "/10_c.VKL", next_level_file(dir + "/02_b.vkl"));
    EXPECT_EQ(dir + "/standardfile.vkl", next_level_file(dir + "/10_c.VKL"));
    EXPECT_EQ(dir + "/01_a.vkl", next_level_file(dir + "/standardfile.vkl"));
    // A level no longer there: the one after where it stood.
    EXPECT_EQ(dir + "/10_c.VKL", next_level_file(dir + "/05_poistettu.vkl"));
    EXPECT_EQ("01_a", level_title(dir + "/01_a.vkl"));
    EXPECT_EQ("10_c", level_title("10_c.VKL"));
    std::filesystem::remove_all(dir);
}

// Names on disk are UTF-8; the menu's line and the run's panel draw Latin-1 letters.
TEST(LevelOrder, FinnishLettersOfAFileNameAreDrawnAsTheirLatin1Letters)
{
    // "öljy_kenttä": ö is C3 B6 and ä C3 A4 on disk, F6 and E4 in Latin-1.
    const std::string on_disk = "\xc3\xb6ljy_kentt\xc3\xa4";
    const std::string drawn = "\xf6ljy_kentt\xe4";
    EXPECT_EQ(drawn, level_title("/tmp/" + on_disk + ".vkl"));
    EXPECT_EQ("Pelaa: " + drawn, level_line("/nowhere/" + on_disk + ".vkl"));
    // A byte that starts no UTF-8 is already a Latin-1 letter; the euro sign (E2 82 AC) has none.
    EXPECT_EQ("p\xe4iv\xe4", level_title("p\xe4iv\xe4.vkl"));
    EXPECT_EQ("^", level_title("\xe2\x82\xac.vkl"));
}

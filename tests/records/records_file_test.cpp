// The records file on the disk: two copies of the game in one folder, a damaged file on a disk
// that fails, links out of the folder, and the file's encoding.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "platform/text_encoding.h"
#include "records/kept_runs.h"
#include "records/player_records.h"
#include "records/record_table.h"
#include "rules/run_file.h"
#include "support/fakes.h"
#include "support/unprivileged.h"

namespace fs = std::filesystem;

namespace {

const std::string aa = "00000000000000aa", bb = "00000000000000bb";
const std::string header = "# vinkla: viisi nopeinta suoritusta kentitt\xc3\xa4in (sadasosasekunteina)\n";

std::vector<int> times(const std::vector<record_entry> &runs)
{
    std::vector<int> t;
    for (const record_entry &r : runs)
        t.push_back(r.time);
    return t;
}

std::set<std::string> names_in(const std::string &dir)
{
    std::set<std::string> names;
    for (auto &e : fs::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

// A full disk: no file may grow past `bytes` while `run` runs.
template <class F>
auto with_size_limit(rlim_t bytes, F run)
{
    rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit saved = limit;
    void (*handler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
    auto result = run();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    return result;
}

// The game's records live in its working folder.
class PlayerRecords : public ::testing::Test {
protected:
    fs::path back = fs::current_path();
    std::string dir = make_temp_dir();
    void SetUp() override { fs::current_path(dir); }
    void TearDown() override
    {
        fs::current_path(back);
        fs::remove_all(dir);
        player_records = record_table();
    }
};

}  // namespace

TEST(RecordsFile, TwoCopiesInOneFolderKeepEveryRunOfBoth)
{
    const std::string dir = make_temp_dir(), path = dir + "/vinkla.rec";
    write_file(path, "nimi\tLiisa\n" + aa + "\t700\t2026-12-01\tLiisa\n");
    record_table one, two;
    ASSERT_EQ(0, one.load(path));
    ASSERT_EQ(0, two.load(path));
    EXPECT_FALSE(one.pending());
    one.last_name = "Eka";
    one.enter(aa, {500, "2026-12-08", "Eka"});
    EXPECT_TRUE(one.pending());
    two.last_name = "Toka";
    two.enter(aa, {600, "2026-12-08", "Toka"});
    two.enter(bb, {300, "2026-12-09", "Toka"});
    ASSERT_TRUE(one.save(path).ok());
    EXPECT_FALSE(one.pending());
    ASSERT_TRUE(two.save(path).ok());
    const std::string both = header + "nimi\tToka\n" +
                             aa + "\t500\t2026-12-08\tEka\n" +
                             aa + "\t600\t2026-12-08\tToka\n" +
                             aa + "\t700\t2026-12-01\tLiisa\n" +
                             bb + "\t300\t2026-12-09\tToka\n";
    EXPECT_EQ(both, read_file(path));
    EXPECT_EQ(both, two.text()) << "the second copy shows the first one's run";
    // The first copy, with nothing new, takes the second one's runs and the name given last.
    ASSERT_TRUE(one.save(path).ok());
    EXPECT_EQ(both, one.text());
    EXPECT_EQ(both, read_file(path));

    // Between them more than five runs of a level, one the same in both: the five fastest.
    record_table three, four;
    three.load(path);
    four.load(path);
    three.enter(aa, {550, "2026-12-10", "Kolmas"});
    three.enter(aa, {650, "2026-12-10", "Sama"});
    four.enter(aa, {450, "2026-12-10", "Nelj"});
    four.enter(aa, {650, "2026-12-10", "Sama"});
    ASSERT_TRUE(three.save(path).ok());
    ASSERT_TRUE(four.save(path).ok());
    EXPECT_EQ((std::vector<int>{450, 500, 550, 600, 650}), times(four.table(aa)));
    record_table on_disk;
    EXPECT_EQ(0, on_disk.load(path));
    EXPECT_EQ(four.text(), on_disk.text());

    // While another copy holds the lock nothing is written, and the run waits for the next save.
    const std::string before = read_file(path);
    int other = open((path + ".lock").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(0, flock(other, LOCK_EX));
    four.enter(bb, {200, "2026-12-11", "Odottaja"});
    const records_save busy = four.save(path);
    EXPECT_TRUE(busy.busy);
    EXPECT_FALSE(busy.ok());
    EXPECT_EQ(before, read_file(path));
    EXPECT_TRUE(four.pending());
    close(other);
    EXPECT_TRUE(four.save(path).ok());
    EXPECT_FALSE(four.pending());
    EXPECT_EQ(0, on_disk.load(path));
    EXPECT_EQ(200, on_disk.best(bb));
    EXPECT_EQ((std::set<std::string>{"vinkla.rec", "vinkla.rec.lock"}), names_in(dir));
    fs::remove_all(dir);
}

TEST_F(PlayerRecords, ADamagedFileIsNeverLostToAFailedWriteAndARunWaitsForTheDisk)
{
    // An older version's line (its name in Latin-1), then one that cannot be read.
    const std::string damaged = aa + "\t999\t2025-01-31\tP\xe4ivi\nrikki\n";
    write_file("vinkla.rec", damaged);

    // The disk is full: not even a copy can be made, so the file is left as it is.
    with_size_limit(16, [] { open_player_records(); return 0; });
    ASSERT_EQ(1u, fake::alerts.size());
    EXPECT_EQ(L1("Ennätystiedostossa vinkla.rec oli lukukelvottomia rivejä."), fake::alerts[0].s1);
    EXPECT_EQ(L1("Siitä ei voitu tehdä kopiota,"), fake::alerts[0].s2);
    EXPECT_EQ(L1("joten se jätettiin ennalleen."), fake::alerts[0].s3);
    EXPECT_EQ(damaged, read_file("vinkla.rec"));
    EXPECT_EQ((std::set<std::string>{"vinkla.rec", "vinkla.rec.lock"}), names_in("."));
    EXPECT_EQ(999, player_records.best(aa));

    // Room for the copy (44 bytes) but not for the rewritten file (a comment line more).
    with_size_limit(64, [] { open_player_records(); return 0; });
    ASSERT_EQ(2u, fake::alerts.size());
    EXPECT_EQ(L1("Tiedosto sellaisenaan on tallessa nimellä vinkla.rec.bak."), fake::alerts[1].s2);
    EXPECT_EQ("Korjattua ei voitu kirjoittaa; vinkla.rec on ennallaan.", fake::alerts[1].s3);
    EXPECT_EQ(damaged, read_file("vinkla.rec"));
    EXPECT_EQ(damaged, read_file("vinkla.rec.bak"));

    // A win on the full disk: not saved, still the best time shown, and tried again at quit.
    player_records.last_name = "Voittaja";
    player_records.enter(aa, {500, "2026-12-08", "Voittaja"});
    EXPECT_EQ(-1, with_size_limit(64, [] { return save_player_records(); }));
    ASSERT_EQ(3u, fake::alerts.size());
    EXPECT_EQ(L1("Vioittunut vinkla.rec on tallessa nimellä vinkla.rec.bak,"), fake::alerts[2].s1);
    EXPECT_EQ(L1("Ennätystä yritetään tallentaa uudelleen myöhemmin."), fake::alerts[2].s3);
    EXPECT_EQ(500, player_records.best(aa));
    EXPECT_TRUE(player_records.pending());
    EXPECT_FALSE(with_size_limit(64, [] { return save_pending_records(); }));
    ASSERT_EQ(4u, fake::alerts.size());
    EXPECT_EQ(L1("Tallentamattomat ennätykset menetetään."), fake::alerts[3].s3);
    EXPECT_EQ(damaged, read_file("vinkla.rec"));
    EXPECT_EQ((std::set<std::string>{"vinkla.rec", "vinkla.rec.bak", "vinkla.rec.lock"}), names_in("."));

    // Room again: the quit's save writes both runs, the old name now in UTF-8.
    EXPECT_TRUE(save_pending_records());
    EXPECT_FALSE(player_records.pending());
    ASSERT_EQ(5u, fake::alerts.size());
    EXPECT_EQ(L1("Ennätys tallennettiin. Tiedosto sellaisenaan on tallessa"), fake::alerts[4].s2);
    EXPECT_EQ(header + "nimi\tVoittaja\n" + aa + "\t500\t2026-12-08\tVoittaja\n" + aa +
                  "\t999\t2025-01-31\tP\xc3\xa4ivi\n",
              read_file("vinkla.rec"));
    EXPECT_EQ(damaged, read_file("vinkla.rec.bak"));
    EXPECT_TRUE(save_pending_records());  // nothing left to save, nothing to say
    EXPECT_EQ(5u, fake::alerts.size());

    // A folder that takes no new file, the damaged file in it writable: where no copy can be
    // made it is not written over in place either.
    fs::create_directory("kiinni");
    write_file("kiinni/vinkla.rec", damaged);
    give_to_player(fs::absolute("kiinni/vinkla.rec").string());
    fs::permissions("kiinni", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    EXPECT_TRUE(as_player([&] {
        record_table t;
        t.load("kiinni/vinkla.rec");
        t.enter(aa, {100, "2026-12-08", "N"});
        const records_save done = t.save("kiinni/vinkla.rec");
        return !done.ok() && done.aside.empty() && t.pending() && read_file("kiinni/vinkla.rec") == damaged;
    }));
    EXPECT_EQ(damaged, read_file("kiinni/vinkla.rec"));
    fs::permissions("kiinni", fs::perms::owner_all);
}

TEST_F(PlayerRecords, NoFileOutsideTheFolderIsWrittenThroughALink)
{
    const std::string outside = make_temp_dir();
    const std::string theirs = aa + "\t800\t2026-01-01\tMuu\n";
    write_file(outside + "/muu.rec", theirs);

    // Read through the link, but a win is not written there.
    fs::create_symlink(outside + "/muu.rec", "vinkla.rec");
    open_player_records();
    EXPECT_EQ(800, player_records.best(aa));
    player_records.enter(aa, {100, "2026-12-08", "N"});
    EXPECT_EQ(-1, save_player_records());
    ASSERT_EQ(1u, fake::alerts.size());
    EXPECT_EQ("Tiedosto vinkla.rec on linkki toiseen paikkaan,", fake::alerts[0].s1);
    EXPECT_EQ(L1("joten sitä ei kirjoitettu."), fake::alerts[0].s2);
    EXPECT_EQ(theirs, read_file(outside + "/muu.rec"));
    EXPECT_TRUE(fs::is_symlink("vinkla.rec"));

    // A link to nothing makes no file where it points.
    fs::remove("vinkla.rec");
    fs::create_symlink(outside + "/uusi.rec", "vinkla.rec");
    EXPECT_EQ(own_write::link, player_records.save("vinkla.rec").result);
    EXPECT_FALSE(fs::exists(outside + "/uusi.rec"));

    // A damaged file is copied past links in the copies' names, and a link as the lock is not
    // followed either.
    fs::remove("vinkla.rec");
    write_file("vinkla.rec", "rikki\n");
    fs::create_symlink(outside + "/muu.rec", "vinkla.rec.bak");
    fs::create_symlink(outside + "/puuttuu", "vinkla.rec.bak1");
    fs::create_symlink(outside + "/lukko", "vinkla.rec.lock");
    fake::alerts.clear();
    open_player_records();
    ASSERT_EQ(1u, fake::alerts.size());
    EXPECT_EQ(L1("nimellä vinkla.rec.bak2."), fake::alerts[0].s3);
    EXPECT_EQ("rikki\n", read_file("vinkla.rec.bak2"));
    EXPECT_EQ(header, read_file("vinkla.rec"));
    EXPECT_EQ(theirs, read_file(outside + "/muu.rec"));
    EXPECT_EQ((std::set<std::string>{"muu.rec"}), names_in(outside));
    fs::remove_all(outside);
}

// A record is stored only with its run's file, and a run's file only with a record naming it.
TEST_F(PlayerRecords, ARecordWonOnAFullDiskWaitsForItsRun)
{
    // 40 spans of tilt: a file of 484 bytes (the first line's 13, a header of 50, 400 and a sum
    // line of 21), while the records file with its line comes to 152 (a header of 69, the name's
    // line of 14 and the record's of 69).
    run_record run;
    run.board = aa;
    for (int i = 0; i < 40; i++)
        run.tilts.push_back({static_cast<float>(i), 0});
    ASSERT_EQ(484u, write_run(run).size());
    write_file("vinkla.rec", "");
    player_records.last_name = "Voittaja";
    ASSERT_EQ(0, player_records.enter(aa, {500, "2026-12-08", "Voittaja"}, "Alku", run));

    // Room for the records file but not for the run: neither is stored, and the player is told.
    EXPECT_EQ(-1, with_size_limit(300, [] { return save_player_records(); }));
    ASSERT_EQ(1u, fake::alerts.size());
    EXPECT_EQ(L1("Ennätysten tallennus epäonnistui:"), fake::alerts[0].s1);
    EXPECT_EQ("", read_file("vinkla.rec"));
    EXPECT_TRUE(names_in(runs_folder).empty());
    EXPECT_TRUE(player_records.pending());

    // Another copy wrote ten records meanwhile (39 bytes each), so the file would take 542 bytes:
    // room for the run but not for the records, and the run's file goes again.
    std::string theirs;
    for (const std::string &key : {bb, std::string("00000000000000cc")})
        for (int i = 1; i <= 5; i++)
            theirs += key + "\t30" + std::to_string(i) + "\t2026-12-01\tToinen\n";
    write_file("vinkla.rec", theirs);
    EXPECT_EQ(-1, with_size_limit(500, [] { return save_player_records(); }));
    EXPECT_EQ(theirs, read_file("vinkla.rec"));
    EXPECT_TRUE(names_in(runs_folder).empty());

    // Room again, at quit: the record names its run, which is the run won.
    EXPECT_TRUE(save_pending_records());
    const std::string name = "Alku_2026-12-08_0-05,00.run";
    EXPECT_EQ(header + "nimi\tVoittaja\n" + aa + "\t500\t2026-12-08\tVoittaja\t" + name + "\n" + theirs,
              read_file("vinkla.rec"));
    EXPECT_EQ((std::set<std::string>{name}), names_in(runs_folder));
    EXPECT_EQ(write_run(run), read_file(std::string(runs_folder) + "/" + name));
    EXPECT_FALSE(player_records.pending());

    // The records file a link: nothing written, the run's file no more than the records.
    fs::remove("vinkla.rec");
    fs::create_symlink("muualla.rec", "vinkla.rec");
    player_records.enter(aa, {400, "2026-12-09", "Voittaja"}, "Alku", run);
    EXPECT_EQ(own_write::link, player_records.save("vinkla.rec").result);
    EXPECT_EQ((std::set<std::string>{name}), names_in(runs_folder));
    EXPECT_FALSE(fs::exists("muualla.rec"));
}

TEST(RecordsFile, NamesAreWrittenInUtf8AndOldLatin1LinesStillRead)
{
    record_table t;
    EXPECT_EQ(1, t.read("nimi\tP\xe4ivi\n" +                              // Latin-1, as before
                        aa + "\t999\t2025-01-31\tP\xe4ivi\n" +
                        aa + "\t1000\t2025-01-31\t\xc3\x84ij\xc3\xa4\n" +   // "Äijä" in UTF-8
                        aa + "\t1001\t2025-01-31\t\xe2\x82\xac\n" +         // the euro: no Latin-1
                        aa + "\t1002\t2025-01-31\t\xc3\n"));                // a lone lead byte: Ã
    EXPECT_EQ("P\xe4ivi", t.last_name);
    ASSERT_EQ(3u, t.table(aa).size());
    EXPECT_EQ("P\xe4ivi", t.table(aa)[0].name);
    EXPECT_EQ("\xc4ij\xe4", t.table(aa)[1].name);
    EXPECT_EQ("\xc3", t.table(aa)[2].name);
    EXPECT_EQ(header + "nimi\tP\xc3\xa4ivi\n" +
                  aa + "\t999\t2025-01-31\tP\xc3\xa4ivi\n" +
                  aa + "\t1000\t2025-01-31\t\xc3\x84ij\xc3\xa4\n" +
                  aa + "\t1002\t2025-01-31\t\xc3\x83\n",
              t.text());
}

// Configuration files a player can produce by hand, and places where the configuration cannot
// be written. Every value the game reads falls back soundly, the physics stays sound with what
// was taken (a run under a hand far past the tilt limit never breaks the marble), a bad last
// level is reported in Finnish when played, and a failed write destroys nothing.
#include <allegro.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/resource.h>

#include <cfloat>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "marble/bead.h"
#include "platform/config.h"
#include "platform/text_encoding.h"
#include "soak/soak_checks.h"
#include "support/fakes.h"
#include "support/levels.h"
#include "support/unprivileged.h"

namespace {

namespace fs = std::filesystem;

struct taken {
    float friction, softfriction, sensitivity;
    int sound, music;
    std::string lastgame;  // "DIR/" stands for the test's folder
};

const taken defaults = {0.99f, 0.5f, 1.0f, 136, 136, "standardfile.vkl"};

struct config_case {
    const char *name;
    std::string file;  // vinkla.cfg as the player left it; "DIR/" stands for the test's folder
    taken expected;
};

const std::vector<config_case> cases = {
    {"words for numbers",
     L1("[settings]\nfriction = liukas\nsoftfriction = pehmeä\nmouse_sensitivity = nopea\n"
     "sound = kova\nmusic = hiljaa\n"),
     defaults},
    {"a Finnish decimal comma", "[settings]\nfriction = 0,95\nmouse_sensitivity = 1,5\n", defaults},
    // A volume is read as the library reads integers: the number before the unit counts.
    {"numbers with a unit after them", "[settings]\nfriction = 0.9x\nsound = 12abc\n",
     {0.99f, 0.5f, 1.0f, 12, 136, "standardfile.vkl"}},
    {"NaN", "[settings]\nfriction = nan\nsoftfriction = NaN\nmouse_sensitivity = -nan\nsound = nan\n",
     defaults},
    {"infinity",
     "[settings]\nfriction = inf\nsoftfriction = -inf\nmouse_sensitivity = infinity\nmusic = inf\n",
     defaults},
    // Any finite sensitivity is the player's choice (the tilt is clamped after it); a volume of
    // 1e30 is the integer 1 followed by a unit.
    {"1e30", "[settings]\nfriction = 1e30\nsoftfriction = 1e30\nmouse_sensitivity = 1e30\nsound = 1e30\n",
     {0.99f, 0.5f, 1e30f, 1, 136, "standardfile.vkl"}},
    {"beyond the float range", "[settings]\nfriction = 1e999\nmouse_sensitivity = -1e999\n",
     {0.99f, 0.5f, -FLT_MAX, 136, 136, "standardfile.vkl"}},
    {"negative",
     "[settings]\nfriction = -0.5\nsoftfriction = -1\nmouse_sensitivity = -2\nsound = -5\nmusic = -1\n",
     // A negative sensitivity is a mirrored hand, the player's choice; volumes stop at 0.
     {0.99f, 0.5f, -2.0f, 0, 0, "standardfile.vkl"}},
    {"above the limits",
     "[settings]\nfriction = 1.01\nsoftfriction = 2\nmouse_sensitivity = 100.5\nsound = 99999999999\n"
     "music = 256\n",
     {0.99f, 0.5f, 100.5f, 255, 255, "standardfile.vkl"}},
    {"the extremes that are still taken",
     "[settings]\nfriction = 1\nsoftfriction = 0\nmouse_sensitivity = -100\nsound = 0\nmusic = 255\n",
     {1.0f, 0.0f, -100.0f, 0, 255, "standardfile.vkl"}},
    {"empty values", "[settings]\nfriction =\nsoftfriction = \nsound =\nlastgame =\n", defaults},
    {"empty lastgame among good values",
     "[settings]\nfriction = 0.98\nsound = 51\nlastgame = \n",
     {0.98f, 0.5f, 1.0f, 51, 136, "standardfile.vkl"}},
    {"lastgame naming a folder", "[settings]\nlastgame = DIR/tasot\n",
     {0.99f, 0.5f, 1.0f, 136, 136, "DIR/tasot"}},
    {"binary junk",
     [] {
         static const char junk[] = "\x7f" "ELF\x02\x01\x01\0\0[settings\xff\nfriction\0= 0.5\n";
         return std::string(junk, sizeof junk - 1);
     }(),
     defaults},
    {"a line of 100 000 characters",
     "[settings]\nfriction = " + std::string(100000, '9') + "\nlastgame = " + std::string(100000, 'a') + "\n",
     {0.99f, 0.5f, 1.0f, 136, 136, std::string(100000, 'a')}},
};

// Leaves the case's file behind: an empty configuration of its own for what follows.
void use_fresh_config()
{
    set_config_file((make_temp_dir() + "/vinkla.cfg").c_str());
}

std::string in_dir(const std::string &s, const std::string &dir)
{
    std::string out = s;
    for (size_t at; (at = out.find("DIR/")) != std::string::npos;)
        out.replace(at, 4, dir + "/");
    return out;
}

// A run on a board of every tile kind, the hand shoving far past the tilt limit; every frame
// checked. Returns the frames played.
int hard_run(bead &b, const std::string &dir)
{
    std::mt19937 rng(7);
    std::string path = dir + "/kaikki.vkl";
    std::string text = soak::random_level(rng, levels::codes_but_start());
    write_file(path, soak::level_file(text));
    int frames = 0, problems = 0;
    int last_ticks = fake::tick_waits;
    fake::on_rest = [&] {
        const bool frame = fake::tick_waits != last_ticks;  // not one of the fall's rests
        last_ticks = fake::tick_waits;
        if (!frame)
            return;
        std::string problem = soak::marble_problem(b);
        if (!problem.empty() && problems++ < 3)
            ADD_FAILURE() << "frame " << frames << ": " << problem;
        int push = (frames / 50) % 2 ? 3000 : -3000;
        fake::mickeys.push_back({push, -push / 2});
        fake::samples.clear();
        if (++frames == 2000)
            key[KEY_ESC] = 1;
    };
    b.start_bead(path);
    key[KEY_ESC] = 0;
    fake::on_rest = nullptr;
    return frames;
}

TEST(HostileConfig, ValuesAPlayerMightWrite)
{
    for (const config_case &c : cases) {
        SCOPED_TRACE(c.name);
        fake::reset();
        const std::string dir = make_temp_dir();
        fs::create_directory(dir + "/tasot");
        const std::string path = dir + "/vinkla.cfg";
        write_file(path, in_dir(c.file, dir));
        set_config_file(path.c_str());

        bead b;
        b.read_settings();
        EXPECT_EQ(c.expected.friction, b.friction);
        EXPECT_EQ(c.expected.softfriction, b.softfriction);
        EXPECT_EQ(c.expected.sensitivity, b.sensitivity);
        EXPECT_EQ(b.friction, b.cur_friction);
        EXPECT_EQ(c.expected.sound, config_volume("sound"));
        EXPECT_EQ(c.expected.music, config_volume("music"));
        const std::string level = config_lastgame();
        EXPECT_EQ(in_dir(c.expected.lastgame, dir), level);

        EXPECT_GT(hard_run(b, dir), 0);
        EXPECT_TRUE(fake::alerts.empty());

        // Playing the remembered level: a name that is no level file is said in Finnish.
        fake::reset();
        EXPECT_EQ(1, b.start_bead(level));
        std::error_code ec;
        if (!fs::is_regular_file(level, ec)) {
            ASSERT_EQ(1u, fake::alerts.size());
            EXPECT_EQ(L1("Virhe kentän luomisessa"), fake::alerts[0].s1);
        }
        use_fresh_config();
        fs::remove_all(dir, ec);
    }
}

// Where the settings cannot be written. The game writes them when it shuts down; nothing may
// be damaged by a write that fails, the player is told, and the game goes on with its values.
struct save_case {
    const char *name;
    const char *said;  // the alert's first line
    std::function<std::string(const std::string &dir)> make;  // returns the vinkla.cfg path
    std::function<void(const std::string &dir, const std::string &path)> unchanged;
};

const std::vector<save_case> save_cases = {
    {"the working folder is gone", "Asetuksia ei voitu tallentaa",
     [](const std::string &d) { return d + "/poistettu/vinkla.cfg"; },
     [](const std::string &d, const std::string &) { EXPECT_FALSE(fs::exists(d + "/poistettu")); }},
    {"vinkla.cfg is a link to the full device", "Asetuksia ei tallennettu: vinkla.cfg on linkki",
     [](const std::string &d) {
         fs::create_symlink("/dev/full", d + "/vinkla.cfg");
         return d + "/vinkla.cfg";
     },
     [](const std::string &, const std::string &p) {
         EXPECT_TRUE(fs::is_symlink(p));
         EXPECT_TRUE(fs::is_character_file("/dev/full"));
     }},
    {"vinkla.cfg is a folder", "Asetuksia ei voitu tallentaa",
     [](const std::string &d) {
         fs::create_directory(d + "/vinkla.cfg");
         write_file(d + "/vinkla.cfg/muistiinpanot.txt", "tallella");
         return d + "/vinkla.cfg";
     },
     [](const std::string &, const std::string &p) {
         EXPECT_TRUE(fs::is_directory(p));
         EXPECT_EQ("tallella", read_file(p + "/muistiinpanot.txt"));
     }},
};

TEST(HostileConfig, SavingWhereItCannotBeWritten)
{
    for (const save_case &c : save_cases) {
        SCOPED_TRACE(c.name);
        fake::reset();
        const std::string dir = make_temp_dir();
        const std::string path = c.make(dir);
        config_open(path.c_str());
        // What the settings dialog and a level chosen write.
        config_set_changed("sound", "51");
        config_set_changed("music", "68");
        config_set_changed("lastgame", "omat/kierre.vkl");
        save_settings(path.c_str());
        c.unchanged(dir, path);
        ASSERT_EQ(1u, fake::alerts.size());
        EXPECT_EQ(c.said, fake::alerts[0].s1);
        EXPECT_EQ("Ok", fake::alerts[0].b1);
        // The game goes on with the values it has.
        EXPECT_EQ(51, config_volume("sound"));
        EXPECT_EQ(68, config_volume("music"));
        EXPECT_EQ("omat/kierre.vkl", config_lastgame());
        use_fresh_config();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
}

// A vinkla.cfg the game may write but not read (mode 0200): replacing it with the game's keys
// alone would lose everything else in it, so it is left as it is.
TEST(HostileConfig, AFileThatCannotBeReadIsNotReplaced)
{
    const std::string dir = make_temp_dir();
    const std::string path = dir + "/vinkla.cfg";
    const std::string old = L1("[omat]\nmuistiin = tärkeää\n");
    write_file(path, old);
    chmod(path.c_str(), 0200);
    give_to_player(dir);
    give_to_player(path);
    EXPECT_TRUE(as_player([&] {
        config_open(path.c_str());
        config_set_changed("sound", "51");
        return !config_save(path.c_str());
    }));
    chmod(path.c_str(), 0600);
    EXPECT_EQ(old, read_file(path));
    std::error_code ec;
    fs::remove_all(dir, ec);
}

// A disk that fills up while vinkla.cfg is written: the new file is written beside it and only
// a complete one takes its place, so the player's volumes and last level stay.
TEST(HostileConfig, FullDiskKeepsTheOldSettings)
{
    const std::string dir = make_temp_dir();
    const std::string path = dir + "/vinkla.cfg";
    const std::string old = "[settings]\nsound = 51\nmusic = 34\nlastgame = omat/kierre.vkl\n";
    write_file(path, old);
    config_open(path.c_str());
    config_set_changed("music", "68");

    struct rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    const struct rlimit saved = limit;
    void (*handler)(int) = signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool saved_it = config_save(path.c_str());  // what the shutdown does
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, handler);

    EXPECT_FALSE(saved_it);
    EXPECT_EQ(old, read_file(path));
    EXPECT_EQ(1, std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    use_fresh_config();
    std::error_code ec;
    fs::remove_all(dir, ec);
}

}  // namespace

namespace {

// A key the settings dialog or the shutdown adds to [settings] when another section follows it
// (the [sound] section that names the MIDI patches, say) goes into [settings], where the game
// finds it again; the other section stays as it was.
TEST(HostileConfig, AKeyAddedToSettingsBeforeAnotherSectionIsKept)
{
    const std::string dir = make_temp_dir();
    const std::string path = dir + "/vinkla.cfg";
    write_file(path, "[settings]\nsound = 51\n[sound]\npatches = /usr/share/vinkla/patches.dat\n");
    config_open(path.c_str());
    config_set_changed("music", "68");  // what the settings dialog writes
    EXPECT_EQ(68, config_volume("music"));
    EXPECT_TRUE(config_save(path.c_str()));  // what the shutdown does
    config_open(path.c_str());
    EXPECT_EQ(51, config_volume("sound"));
    EXPECT_EQ(68, config_volume("music"));
    EXPECT_EQ("/usr/share/vinkla/patches.dat", std::string(get_config_string("sound", "patches", "")));
    EXPECT_EQ("[settings]\nsound = 51\nmusic = 68\n[sound]\npatches = /usr/share/vinkla/patches.dat\n",
              read_file(path));
    use_fresh_config();
    std::error_code ec;
    fs::remove_all(dir, ec);
}

}  // namespace

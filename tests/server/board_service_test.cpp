// The board server's proof and its binding of names to keys, through its request handler on a
// SQLite file of the test's own.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include <nlohmann/json.hpp>

#include "board/board_api.h"
#include "field/level_file.h"
#include "records/player_key.h"
#include "rules/run_file.h"
#include "server/board_service.h"

namespace fs = std::filesystem;

namespace {

const std::string levels = VINKLA_DATA_DIR "/sarjat/1_alkeet/";

std::string file_bytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class BoardService : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("vinkla-board-test-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "a");
        fs::create_directories(folder / "b");
        std::string why;
        ASSERT_TRUE(load_or_make_key((folder / "a").string(), key_a, why)) << why;
        ASSERT_TRUE(load_or_make_key((folder / "b").string(), key_b, why)) << why;
        store = open_sqlite_store((folder / "board.db").string());
        board_limits unlimited{0, 0, 0, 0};
        service = std::make_unique<board_service>(*store, unlimited);
    }
    void TearDown() override
    {
        service.reset();
        store.reset();
        fs::remove_all(folder);
    }

    // A submission of `run` on `level` under `name`, signed by `key`.
    board_response send(const std::string &level, const std::string &run, const std::string &name,
                        const player_key &key, const std::string &signed_name = "")
    {
        submission s;
        s.level = level;
        s.run = run;
        s.name = name;
        s.key = key.public_hex;
        s.signature =
            sign_message(key, submit_message(board_key(level_text_of(level)), signed_name.empty() ? name : signed_name, run));
        return service->handle({"POST", "/api/v1/runs", submission_json(s), "127.0.0.1"});
    }

    nlohmann::json table(const std::string &level)
    {
        const board_response r =
            service->handle({"GET", "/api/v1/boards/" + board_key(level_text_of(level)), "", "127.0.0.1"});
        return nlohmann::json::parse(r.body);
    }

    // The run with `frames` frames at rest put before it: the marble lies still on its start
    // until the first tilt, so it wins exactly that many frames later.
    static std::string rested(const std::string &bytes, size_t frames)
    {
        run_record run;
        std::string why;
        EXPECT_TRUE(read_run(bytes, run, why)) << why;
        run.tilts.insert(run.tilts.begin(), frames, run_tilt{0, 0});
        return write_run(run);
    }

    fs::path folder;
    player_key key_a, key_b;
    std::unique_ptr<board_store> store;
    std::unique_ptr<board_service> service;
    const std::string alku = file_bytes(levels + "01_alku.vkl");
    const std::string alku_run = file_bytes(levels + "01_alku.vkl.mouse.run");
};

TEST_F(BoardService, TheTimeIsWhatTheStepGivesNotWhatTheClientSays)
{
    const board_response first = send(alku, alku_run, "Matti", key_a);
    ASSERT_EQ(first.status, 201) << first.body;
    const long time = nlohmann::json::parse(first.body)["time"];
    // 150 frames at rest: the same run 1,50 s later, whatever the file claims of itself.
    const board_response later = send(alku, rested(alku_run, 150), "Maija", key_b);
    ASSERT_EQ(later.status, 201) << later.body;
    EXPECT_EQ(nlohmann::json::parse(later.body)["time"], time + 150);
    EXPECT_EQ(nlohmann::json::parse(later.body)["place"], 2);
    const nlohmann::json t = table(alku);
    ASSERT_EQ(t["rows"].size(), 2u);
    EXPECT_EQ(t["rows"][0]["name"], "Matti");
    EXPECT_EQ(t["rows"][1]["time"], time + 150);
}

// A changed byte, another board, a run short of the last flag and a run already there are
// refused end to end (board_server_e2e); here what that test cannot send cheaply.
TEST_F(BoardService, ARunLongerThanTenMinutesIsRefusedAndNothingStored)
{
    run_record run;
    std::string why;
    ASSERT_TRUE(read_run(alku_run, run, why));
    run.tilts.assign(run_frames_limit + 1, run_tilt{0, 0});
    EXPECT_EQ(send(alku, write_run(run), "Matti", key_a).status, 422);
    EXPECT_EQ(service->handle({"GET", "/api/v1/boards/" + board_key(level_text_of(alku)), "", "x"}).status, 404);
}

TEST_F(BoardService, ANameBelongsToTheFirstKeyInAnyCase)
{
    ASSERT_EQ(send(alku, alku_run, u8"Äijä", key_a).status, 201);
    const board_response taken = send(alku, rested(alku_run, 1), u8"Äijä", key_b);
    EXPECT_EQ(taken.status, 403);
    EXPECT_NE(taken.body.find("belongs to another"), std::string::npos) << taken.body;
    EXPECT_EQ(send(alku, rested(alku_run, 2), u8"äIJÄ", key_b).status, 403);
    EXPECT_EQ(send(alku, rested(alku_run, 3), u8"äijä", key_a).status, 201);
    // Signed for one name, sent under another.
    EXPECT_EQ(send(alku, rested(alku_run, 4), "Maija", key_b, "Matti").status, 403);
    // One player, one row: the best of the key's two runs.
    const nlohmann::json t = table(alku);
    ASSERT_EQ(t["rows"].size(), 1u);
    EXPECT_EQ(t["rows"][0]["name"], u8"Äijä");
}

TEST_F(BoardService, NamesAreOneToTwentyFourLettersTheGameCanShow)
{
    std::string why;
    EXPECT_TRUE(name_allowed(u8"Ääkkösiä ja välilyöntejä", why)) << why;  // 24 letters, 31 bytes
    EXPECT_FALSE(name_allowed(u8"Ääkkösiä ja välilyöntejää", why));       // 25
    EXPECT_FALSE(name_allowed("", why));
    EXPECT_FALSE(name_allowed("tab\there", why));
    EXPECT_FALSE(name_allowed("\xc2\x85", why));      // U+0085, a control character
    EXPECT_FALSE(name_allowed("\xe2\x80\xae", why));  // U+202E turns text around
    EXPECT_FALSE(name_allowed(" Matti", why));
    EXPECT_FALSE(name_allowed("\xc3", why));          // cut UTF-8
    EXPECT_FALSE(name_allowed("\xc0\xa0", why));      // an overlong space
    EXPECT_EQ(send(alku, alku_run, "Matti\n", key_a).status, 400);
}

TEST(PlayerKey, KeptForThePlayerAloneAndNeverThroughALink)
{
    const fs::path folder = fs::temp_directory_path() / ("vinkla-key-test-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    player_key made, again;
    std::string why;
    ASSERT_TRUE(load_or_make_key(folder.string(), made, why)) << why;
    const fs::path file = folder / player_key_file;
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(load_or_make_key(folder.string(), again, why)) << why;
    EXPECT_EQ(again.public_hex, made.public_hex);
    const std::string message = "vinkla";
    EXPECT_TRUE(signature_holds(made.public_hex, message, sign_message(again, message)));
    EXPECT_FALSE(signature_holds(made.public_hex, "vinkla!", sign_message(again, message)));

    chmod(file.c_str(), 0644);
    EXPECT_FALSE(load_or_make_key(folder.string(), again, why));
    EXPECT_NE(why.find("others"), std::string::npos) << why;
    chmod(file.c_str(), 0600);
    fs::create_directories(folder / "linked");
    fs::create_symlink(file, folder / "linked" / player_key_file);
    EXPECT_FALSE(load_or_make_key((folder / "linked").string(), again, why));
    EXPECT_NE(why.find("link"), std::string::npos) << why;
    fs::remove_all(folder);
}

}  // namespace

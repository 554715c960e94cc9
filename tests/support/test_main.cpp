// Headless set-up shared by every unit test: no display, a memory bitmap as the screen,
// the real data file loaded, and a fresh configuration file per process.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "shell/globals.h"
#include "support/fakes.h"

namespace {

class ResetFakes : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &) override { fake::reset(); }
};

}  // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    set_uformat(U_ASCII);
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "install_allegro failed\n");
        return 1;
    }
    set_color_depth(32);
    screen = create_bitmap(800, 600);
    std::string cfg = make_temp_dir() + "/vinkla.cfg";
    set_config_file(cfg.c_str());
    data1 = load_datafile(VINKLA_DATA_DIR "/data1.dat");
    if (!data1) {
        std::fprintf(stderr, "cannot load %s\n", VINKLA_DATA_DIR "/data1.dat");
        return 1;
    }
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetFakes);
    return RUN_ALL_TESTS();
}

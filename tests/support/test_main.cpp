// Headless set-up shared by every unit test: no display, a memory bitmap as the screen,
// the real data file loaded, and a fresh configuration file per process.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/globals.h"
#include "support/fakes.h"
#include "support/headless.h"

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
    if (!start_headless(make_temp_dir() + "/vinkla.cfg", VINKLA_DATA_FILE))
        return 1;
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetFakes);
    return RUN_ALL_TESTS();
}

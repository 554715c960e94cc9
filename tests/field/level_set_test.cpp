// The set file: the order, names and medal times of a folder's levels, read as untrusted text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "field/level_set.h"
#include "records/campaign.h"

TEST(LevelSet, TheFileOrdersAndNamesTheFolderAndSkipsWhatItCannotRead)
{
    const std::vector<std::string> files = {"01_a.vkl", "02_b.vkl", "03_c.vkl", "04_d.vkl"};
    const std::string text = "vinkla-sarja 1\n"
                             "nimi Ensimm\xc3\xa4iset\n"
                             "# the second first\n"
                             "kentt\xc3\xa4 02_b.vkl Toinen kentt\xc3\xa4\r\n"
                             "kentt\xc3\xa4 01_a.vkl\n"
                             "kentt\xc3\xa4 02_b.vkl Taas\n"         // named twice
                             "kentt\xc3\xa4 ../salainen.vkl Ulos\n"  // not a file of the folder
                             "kentt\xc3\xa4 09_z.vkl Puuttuu\n"      // not in the folder
                             "mitalit 01_a.vkl 500 700 1000\n"
                             "mitalit 02_b.vkl 700 700 1000\n"       // silver no slower than gold
                             "mitalit 03_c.vkl 0500 700 1000\n"      // a leading zero
                             "jotain muuta\n";
    int skipped = 0;
    const level_set set = read_set(text, "sarjat/1_eka", files, skipped);
    EXPECT_EQ("Ensimm\xe4iset", set.name);  // Latin-1 as the game draws it
    ASSERT_EQ(4u, set.levels.size());
    EXPECT_EQ("sarjat/1_eka/02_b.vkl", set.levels[0].path);
    EXPECT_EQ("Toinen kentt\xe4", set.levels[0].title);
    EXPECT_EQ("sarjat/1_eka/01_a.vkl", set.levels[1].path);
    EXPECT_EQ("01 a", set.levels[1].title);  // no shown name: the file's
    EXPECT_EQ("sarjat/1_eka/03_c.vkl", set.levels[2].path);  // the rest in name order
    EXPECT_EQ("sarjat/1_eka/04_d.vkl", set.levels[3].path);
    EXPECT_EQ(500, set.levels[1].medals[0]);
    EXPECT_EQ(1000, set.levels[1].medals[2]);
    EXPECT_EQ(0, set.levels[0].medals[0]);
    EXPECT_EQ(6, skipped);

    // Not a set file at all: the folder's levels in name order, the set named after the folder.
    const level_set plain = read_set("<html>\n", "sarjat/2_jaetut_kentat", files, skipped);
    EXPECT_EQ("jaetut kentat", plain.name);
    ASSERT_EQ(4u, plain.levels.size());
    EXPECT_EQ("sarjat/2_jaetut_kentat/01_a.vkl", plain.levels[0].path);
}

TEST(Medals, FromTheHandTimeUpToAWholeTenth)
{
    // A hand time of 4,62 s: gold 110 % is 5,082 s, up to 5,10; silver 150 % is 6,93, up to
    // 7,00; bronze 300 % is 13,86, up to 13,90.
    const medal_times m = medals_from_basis(462);
    EXPECT_EQ(510, m.limit[0]);
    EXPECT_EQ(700, m.limit[1]);
    EXPECT_EQ(1390, m.limit[2]);
    EXPECT_EQ(gold, medal_for(m, 510));
    EXPECT_EQ(silver, medal_for(m, 511));
    EXPECT_EQ(silver, medal_for(m, 700));
    EXPECT_EQ(bronze, medal_for(m, 701));
    EXPECT_EQ(bronze, medal_for(m, 1390));
    EXPECT_EQ(no_medal, medal_for(m, 1391));
    EXPECT_EQ(no_medal, medal_for(medals_from_basis(0), 100));
    // 8,00 s on the hand's clock: 8,80, 12,00 and 24,00 exactly, nothing to round.
    const medal_times whole = medals_from_basis(800);
    EXPECT_EQ(880, whole.limit[0]);
    EXPECT_EQ(1200, whole.limit[1]);
    EXPECT_EQ(2400, whole.limit[2]);
    // Without a hand's run a level's hand time is guessed as twice the solver's: 3,01 s of the
    // solver's, 6,02 s by hand.
    EXPECT_EQ(602, estimated_hand_time(301));
}

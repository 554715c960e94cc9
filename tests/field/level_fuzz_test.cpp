// Random and mutated level files through both readers, the field and the writer. Under the
// sanitizer build this is the check that no file reads or writes out of bounds.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <typeinfo>

#include "field/field.h"
#include "field/level_file.h"
#include "platform/grid.h"
#include "platform/text_encoding.h"
#include "support/fakes.h"
#include "support/levels.h"
#include "tiles/tile.h"
#include "tiles/wall_tile.h"

namespace {

const std::string codes = levels::all_codes();
const char spaces[] = " \t\r\n\v\f";

class Fuzzer {
public:
    explicit Fuzzer(unsigned seed) : rng(seed) {}

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    char code() { return codes[pick(0, static_cast<int>(codes.size()) - 1)]; }
    char space() { return spaces[pick(0, sizeof spaces - 2)]; }
    char byte() { return static_cast<char>(pick(0, 255)); }

    std::string random_bytes()
    {
        std::string s(pick(0, 800), '\0');
        for (char &c : s)
            c = byte();
        return s;
    }

    std::string random_words()
    {
        std::string s;
        int words = pick(0, 20);
        for (int w = 0; w < words; w++) {
            int len = pick(1, pick(0, 1) ? 16 : 60);
            for (int k = 0; k < len; k++)
                s += pick(0, 30) ? code() : byte();
            int gap = pick(1, 3);
            for (int k = 0; k < gap; k++)
                s += space();
        }
        return s;
    }

    std::string mutated(std::string s)
    {
        int n = pick(1, 8);
        for (int m = 0; m < n; m++) {
            size_t at = s.empty() ? 0 : static_cast<size_t>(pick(0, static_cast<int>(s.size()) - 1));
            switch (pick(0, 6)) {
            case 0:
                if (!s.empty())
                    s[at] = byte();
                break;
            case 1:
                s.insert(at, 1, pick(0, 1) ? space() : code());
                break;
            case 2:
                if (!s.empty())
                    s.erase(at, pick(1, 30));
                break;
            case 3:
                s.insert(at, std::string(pick(1, 200), code()));
                break;
            case 4:
                s.insert(at, 1, '\0');
                break;
            case 5:
                s.resize(at);
                break;
            default:
                if (!s.empty())
                    s[at] = code();
                break;
            }
        }
        return s;
    }

    std::string level_file()
    {
        std::string s(14, '*');
        s += '\n';
        for (int i = 1; i <= 12; i++) {
            s += '*';
            for (int j = 1; j <= 12; j++)
                s += pick(0, 3) ? '.' : code();
            s += "*\n";
        }
        return s + std::string(14, '*') + "\nnoname\n9999\n";
    }

    std::string next()
    {
        switch (pick(0, 3)) {
        case 0: return random_bytes();
        case 1: return random_words();
        case 2: return mutated(std::string(blank_level_file()));
        default: return mutated(level_file());
        }
    }

private:
    std::mt19937 rng;

    static std::string blank_level_file()
    {
        std::string s;
        for (int i = 0; i < 14; i++)
            s += std::string(blank_level + 14 * i, 14) + "\n";
        return s + "noname\n9999\n";
    }
};

// The text with its first 196 characters' ring made walls, as a saved and re-read file has it.
std::string board_of(const std::string &text)
{
    std::string b = text.substr(0, 196);
    for (int i = 0; i < 14; i++)
        for (int j = 0; j < 14; j++)
            if (i == 0 || j == 0 || i == 13 || j == 13)
                b[i * 14 + j] = '*';
    return b;
}

void check_field(const field &f, const std::string &text)
{
    ASSERT_EQ(f.status, field::built);
    ASSERT_NE(f.tiles, nullptr);
    ASSERT_NE(f.start_point, nullptr);
    int starts = 0, flags = 0, empty = 0;
    for (int i = 0; i < 14; i++)
        for (int j = 0; j < 14; j++) {
            char c = f.codes[i][j];
            bool ring = i == 0 || j == 0 || i == 13 || j == 13;
            ASSERT_EQ(c, ring ? '*' : text[i * 14 + j]);
            tile *t = f.tiles[i][j];
            if (c == 'A') {
                starts++;
                ASSERT_EQ(t, f.start_point);
            }
            if (c == 'F')
                flags++;
            if (!t) {
                empty++;
                continue;
            }
            ASSERT_EQ(t->x, grid::cell_centre(j));
            ASSERT_EQ(t->y, grid::cell_centre(i));
            if (ring) {
                ASSERT_EQ(typeid(*t), typeid(wall_tile));
            }
        }
    ASSERT_EQ(starts, 1);
    ASSERT_EQ(flags, f.flag_count);
    ASSERT_EQ(fake::alerts.size(), static_cast<size_t>(2 * empty));
}

}  // namespace

TEST(LevelFuzz, RandomFilesNeverBreakTheReadersOrTheField)
{
    const std::string dir = make_temp_dir();
    const std::string level = dir + "/fuzz.vkl";
    const std::string saved = dir + "/saved.vkl";
    Fuzzer fuzz(20240611);
    int built = 0, refused = 0;
    for (int round = 0; round < 3000; round++) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        std::string bytes = fuzz.next();
        write_file(level, bytes);
        fake::alerts.clear();

        char buffer[level_text_max + 1 + 64];
        std::memset(buffer, '~', sizeof buffer);
        ASSERT_EQ(load_thedata(level, buffer), 0);
        size_t len = strnlen(buffer, sizeof buffer);
        ASSERT_GE(len, 196u);
        ASSERT_LE(len, static_cast<size_t>(level_text_max));
        for (size_t k = len + 1; k < sizeof buffer; k++)
            ASSERT_EQ(buffer[k], '~');
        std::string text(buffer, len);
        ASSERT_EQ(text.substr(0, 14), std::string(14, '*'));
        ASSERT_EQ(text.substr(len - 14), std::string(14, '*'));
        ASSERT_EQ(text.find_first_of(std::string(spaces)), std::string::npos);

        std::unique_ptr<field> f(field::load_field_file(level));
        if (f) {
            built++;
            check_field(*f, text);
            if (round % 25 == 0)
                f->test_draw();
        } else {
            refused++;
            ASSERT_EQ(fake::alerts.size(), 1u);
            ASSERT_EQ(fake::alerts[0].s1, L1("Virhe kenttädatassa:"));
        }

        // Whatever was read saves as a well-formed file and reads back as its board.
        ASSERT_EQ(save_file(saved, buffer), 0);
        std::string again;
        ASSERT_TRUE(read_level_text(saved, again));
        ASSERT_EQ(again, board_of(text));

        // The field on its own, given texts of any length, including ones shorter than the board.
        std::string raw = bytes.substr(0, fuzz.pick(0, 300));
        fake::alerts.clear();
        field direct(raw.c_str(), 14, 14);
        if (direct.status == field::built)
            direct.test_draw();
    }
    // Both outcomes must have been exercised for the run to mean anything.
    EXPECT_GT(built, 100);
    EXPECT_GT(refused, 100);
    std::remove(level.c_str());
    std::remove(saved.c_str());
    std::remove(dir.c_str());
}

// The real data1.dat as the game draws and plays it: kinds, the sizes the drawing counts on,
// transparency where pictures are drawn over others, Latin-1 fonts, clean samples and music
// that loops on the bar.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <vector>

#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/grid.h"

namespace {

BITMAP *pic(int i)
{
    return static_cast<BITMAP *>(data1[i].dat);
}

bool is_mask(BITMAP *b, int x, int y)
{
    return getpixel(b, x, y) == bitmap_mask_color(b);
}

int mask_pixels(BITMAP *b, int w, int h)
{
    int n = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            n += is_mask(b, x, y);
    return n;
}

// Tile pictures drawn under the marble with draw_sprite: a mask pixel would leave the
// previous frame's pixels standing there.
const int kOpaqueTiles[] = {OBJ_BUMPER_TOOL, OBJ_BOWL, OBJ_DOME, OBJ_FLAG, OBJ_FLOOR, OBJ_HOLE,
                            OBJ_SLOPE_RIGHT, OBJ_SLOPE_UP, OBJ_SLOPE_DOWN, OBJ_SLOPE_LEFT,
                            OBJ_CLOTH, OBJ_START, OBJ_WALL, OBJ_SHUTTER};
const int kTubes[] = {OBJ_TUBE_NS, OBJ_TUBE_NSE, OBJ_TUBE_NSW, OBJ_TUBE_WE,
                      OBJ_TUBE_WEN, OBJ_TUBE_WES, OBJ_TUBE_X};

}  // namespace

TEST(DataFile, HoldsEveryObjectOfTheTableWithItsKind)
{
    int count = 0;
    while (data1[count].type != DAT_END)
        ++count;
    ASSERT_GE(count, OBJ_COUNT);
    std::set<int> samples = {1, 4, 15, 18, 24, 42};
    for (int i = 0; i < OBJ_COUNT; ++i) {
        int want = DAT_BITMAP;
        if (samples.count(i))
            want = DAT_SAMPLE;
        else if (i == OBJ_MIDI_PREVIEW || i == OBJ_MIDI_RUN)
            want = DAT_MIDI;
        else if (i == OBJ_FONT_MENU || i == OBJ_FONT_TEXT)
            want = DAT_FONT;
        else if (i == OBJ_PALETTE)
            want = DAT_PALETTE;
        EXPECT_EQ(data1[i].type, want) << "object " << i;
        EXPECT_NE(data1[i].dat, nullptr) << "object " << i;
    }
}

TEST(DataFile, TilePicturesFillTheir39PixelCell)
{
    std::vector<int> tiles(std::begin(kOpaqueTiles), std::end(kOpaqueTiles));
    tiles.insert(tiles.end(), std::begin(kTubes), std::end(kTubes));
    tiles.push_back(OBJ_BUMPER_KNOB);
    for (int k = OBJ_FALL1; k <= OBJ_FALL7; ++k)
        tiles.push_back(k);
    for (int i : tiles) {
        BITMAP *b = pic(i);
        EXPECT_TRUE(b->w == grid::cell || b->w == grid::cell + 1) << "object " << i << " is " << b->w << " wide";
        EXPECT_EQ(b->w, b->h) << "object " << i;
        EXPECT_EQ(bitmap_color_depth(b), 32) << "object " << i;
    }
    for (int i : kOpaqueTiles)
        EXPECT_EQ(mask_pixels(pic(i), grid::cell, grid::cell), 0) << "object " << i;
}

TEST(DataFile, TubesHideTheMarbleCompletely)
{
    // Nothing clears a tube's part of the marble's block before the overlay is drawn.
    for (int i : kTubes)
        EXPECT_EQ(mask_pixels(pic(i), grid::cell, grid::cell), 0) << "object " << i;
}

TEST(DataFile, TheMarbleIsARadius16BallCentredAt20)
{
    BITMAP *m = pic(OBJ_MARBLE);
    ASSERT_GE(m->w, 37);
    ASSERT_GE(m->h, 37);
    EXPECT_LE(m->w, 42);
    EXPECT_LE(m->h, 42);
    EXPECT_FALSE(is_mask(m, 20, 20));
    // the collision radius 16: drawn up to 15 pixels out, clear from 17 on
    for (int d : {-15, 15}) {
        EXPECT_FALSE(is_mask(m, 20 + d, 20)) << d;
        EXPECT_FALSE(is_mask(m, 20, 20 + d)) << d;
    }
    for (int d : {-17, 17}) {
        EXPECT_TRUE(is_mask(m, 20 + d, 20)) << d;
        EXPECT_TRUE(is_mask(m, 20, 20 + d)) << d;
    }
    EXPECT_TRUE(is_mask(m, 0, 0));
    EXPECT_TRUE(is_mask(m, m->w - 1, 0));
    EXPECT_TRUE(is_mask(m, 0, m->h - 1));
    EXPECT_TRUE(is_mask(m, m->w - 1, m->h - 1));
    // lit from the upper left
    int upper_left = getr(getpixel(m, 14, 14)) + getg(getpixel(m, 14, 14)) + getb(getpixel(m, 14, 14));
    int lower_right = getr(getpixel(m, 26, 26)) + getg(getpixel(m, 26, 26)) + getb(getpixel(m, 26, 26));
    EXPECT_GT(upper_left, lower_right);
}

// The ghost of the best run is drawn where the marble would be: its picture must cover the
// same pixels, or it would sit off the marble it races.
TEST(DataFile, TheGhostHasTheMarblesSizeAndMask)
{
    BITMAP *m = pic(OBJ_MARBLE);
    BITMAP *g = pic(OBJ_GHOST);
    ASSERT_EQ(g->w, m->w);
    ASSERT_EQ(g->h, m->h);
    EXPECT_EQ(bitmap_color_depth(g), 32);
    for (int y = 0; y < m->h; ++y)
        for (int x = 0; x < m->w; ++x)
            EXPECT_EQ(is_mask(g, x, y), is_mask(m, x, y)) << x << "," << y;
}

TEST(DataFile, TheFallSinksIntoTheHole)
{
    int previous = grid::cell * grid::cell;
    for (int k = OBJ_FALL1; k <= OBJ_FALL7; ++k) {
        BITMAP *f = pic(k);
        EXPECT_FALSE(is_mask(f, 20, 20)) << "frame " << k;
        int drawn = 0;
        for (int y = 0; y < grid::cell; ++y)
            for (int x = 0; x < grid::cell; ++x) {
                if (is_mask(f, x, y))
                    continue;
                ++drawn;
                // everything drawn lies inside the hole's opening
                EXPECT_LE((x - 20) * (x - 20) + (y - 20) * (y - 20), 17 * 17) << k << " " << x << "," << y;
            }
        EXPECT_LT(drawn, previous) << "frame " << k << " is not smaller than the one before";
        previous = drawn;
    }
}

TEST(DataFile, TheBumperKnobLetsTheFloorShowAround)
{
    BITMAP *knob = pic(OBJ_BUMPER_KNOB);
    EXPECT_FALSE(is_mask(knob, 20, 20));
    EXPECT_TRUE(is_mask(knob, 0, 0));
    EXPECT_TRUE(is_mask(knob, 38, 38));
    EXPECT_TRUE(is_mask(knob, 20, 2));
    // the editor's whole-square bumper is the floor with this knob on it
    BITMAP *tool = pic(OBJ_BUMPER_TOOL);
    BITMAP *floor = pic(OBJ_FLOOR);
    for (int y = 0; y < grid::cell; ++y)
        for (int x = 0; x < grid::cell; ++x) {
            int want = is_mask(knob, x, y) ? getpixel(floor, x, y) : getpixel(knob, x, y);
            ASSERT_EQ(getpixel(tool, x, y), want) << x << "," << y;
        }
}

TEST(DataFile, TitlePicturesFitTheTitleAndInfoLayout)
{
    BITMAP *logo = pic(OBJ_TITLE_LOGO);
    ASSERT_GE(logo->w, 329);
    ASSERT_GE(logo->h, 101);
    // the menu copies its 329 by 101 box opaquely: no mask colour may show there
    EXPECT_EQ(mask_pixels(logo, 329, 101), 0);
    BITMAP *second = pic(OBJ_TITLE_2);
    EXPECT_LE(195 + second->w, 800 - 195);
    EXPECT_LE(240 + second->h, 300);
    BITMAP *third = pic(OBJ_TITLE_3);
    EXPECT_LE(235 + third->w, 800 - 235 + 1);
    EXPECT_LE(300 + third->h, 325);  // the info panel's frame starts at y 325
}

TEST(DataFile, FontsCoverFinnishLetters)
{
    const char *letters[] = {"\xe4", "\xf6", "\xe5", "\xc4", "\xd6", "\xc5"};  // ä ö å Ä Ö Å
    for (int which : {OBJ_FONT_MENU, OBJ_FONT_TEXT}) {
        FONT *f = static_cast<FONT *>(data1[which].dat);
        EXPECT_GT(text_length(f, "\xe4\xf6\xe5\xc4\xd6\xc5"), 0) << which;
        BITMAP *b = create_bitmap(40, 40);
        BITMAP *plain = create_bitmap(40, 40);
        auto draw = [&](BITMAP *dst, const char *s) {
            clear_to_color(dst, makecol(255, 255, 255));
            textout_ex(dst, f, s, 2, 2, makecol(0, 0, 0), -1);
        };
        for (const char *s : letters) {
            draw(b, s);
            int ink = 0;
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 40; ++x)
                    ink += getpixel(b, x, y) != makecol(255, 255, 255);
            EXPECT_GT(ink, 8) << "font " << which << " char " << (unsigned char)s[0];
            // a missing glyph would come out as the library's '^' stand-in
            draw(plain, "^");
            int differ = 0;
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 40; ++x)
                    differ += getpixel(b, x, y) != getpixel(plain, x, y);
            EXPECT_GT(differ, 0) << "font " << which << " char " << (unsigned char)s[0];
        }
        // the accent is really there: ä differs from a
        draw(b, "\xe4");
        draw(plain, "a");
        int differ = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                differ += getpixel(b, x, y) != getpixel(plain, x, y);
        EXPECT_GT(differ, 1) << which;
        destroy_bitmap(b);
        destroy_bitmap(plain);
    }
    // menu, buttons and alerts: clear but not huge; the info text a little smaller
    int menu_h = text_height(static_cast<FONT *>(data1[OBJ_FONT_MENU].dat));
    int text_h = text_height(static_cast<FONT *>(data1[OBJ_FONT_TEXT].dat));
    EXPECT_GE(menu_h, 13);
    EXPECT_LE(menu_h, 18);
    EXPECT_GE(text_h, 11);
    EXPECT_LE(text_h, 16);
}

TEST(DataFile, TheInfoTextIsDarkInTheInfoPalette)
{
    // The text boxes draw object 32 in its own colours (fg -1) on a light cream: the colours
    // its glyphs use must be dark in palette 33.
    const RGB *pal = static_cast<const RGB *>(data1[OBJ_PALETTE].dat);
    for (int i = 0; i < 256; ++i) {
        EXPECT_LE(pal[i].r, 63);
        EXPECT_LE(pal[i].g, 63);
        EXPECT_LE(pal[i].b, 63);
    }
    FONT *f = static_cast<FONT *>(data1[OBJ_FONT_TEXT].dat);
    EXPECT_TRUE(is_color_font(f));
    BITMAP *glyph = create_bitmap_ex(8, 200, 30);
    clear_to_color(glyph, 0);
    textout_ex(glyph, f, "Hauskuus on sallittua", 0, 0, -1, -1);
    int darkest = 3 * 63;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 200; ++x) {
            int c = getpixel(glyph, x, y);
            if (c)
                darkest = std::min(darkest, pal[c].r + pal[c].g + pal[c].b);
        }
    destroy_bitmap(glyph);
    EXPECT_LT(darkest, 3 * 63 / 4);
}

TEST(DataFile, SamplesAre16BitShortAndStartAndEndAtRest)
{
    for (int i : {OBJ_SND_SLIDER, OBJ_SND_BUMPER, OBJ_SND_FLAG, OBJ_SND_HOLE, OBJ_SND_SILENT,
                  OBJ_SND_BOUNCE}) {
        SAMPLE *s = static_cast<SAMPLE *>(data1[i].dat);
        ASSERT_EQ(s->bits, 16) << i;
        ASSERT_GT(s->len, 0u) << i;
        EXPECT_LE(s->len, static_cast<unsigned long>(s->freq) * 2) << i << ": longer than 2 s";
        const unsigned short *d = static_cast<const unsigned short *>(s->data);
        // 16-bit samples are stored unsigned: silence is 0x8000. A jump at either end clicks.
        auto amplitude = [&](unsigned long k) { return std::abs(int(d[k]) - 0x8000); };
        EXPECT_LT(amplitude(0), 64) << i;
        EXPECT_LT(amplitude(s->len - 1), 64) << i;
        int peak = 0;
        for (unsigned long k = 0; k < s->len; ++k)
            peak = std::max(peak, amplitude(k));
        if (i == OBJ_SND_SILENT)
            EXPECT_LT(peak, 64);
        else
            EXPECT_GT(peak, 0x8000 / 3) << i << ": too quiet to hear";
    }
}

namespace {

struct MidiShape {
    double seconds = 0;
    long end_tick = -1;          // the longest track's end
    bool tracks_end_together = true;
    std::set<int> channels;      // channels with notes
};

long read_vlq(const unsigned char *&p, const unsigned char *end)
{
    long v = 0;
    while (p < end) {
        unsigned char c = *p++;
        v = (v << 7) | (c & 0x7f);
        if (!(c & 0x80))
            break;
    }
    return v;
}

// Walks the tracks of a loaded MIDI: note channels, the end of every track and the playing
// time under its tempo changes.
MidiShape shape_of(const MIDI *m)
{
    MidiShape shape;
    std::vector<std::pair<long, long>> tempos;  // (tick, microseconds per beat)
    std::vector<long> ends;
    for (const auto &t : m->track) {
        if (!t.data)
            continue;
        const unsigned char *p = t.data, *end = t.data + t.len;
        long tick = 0;
        unsigned char status = 0;
        while (p < end) {
            tick += read_vlq(p, end);
            if (p >= end)
                break;
            if (*p & 0x80)
                status = *p++;
            if (status == 0xff) {
                unsigned char type = *p++;
                long len = read_vlq(p, end);
                if (type == 0x51 && len == 3)
                    tempos.push_back({tick, (p[0] << 16) | (p[1] << 8) | p[2]});
                p += len;
                if (type == 0x2f)
                    break;
            } else if (status == 0xf0 || status == 0xf7) {
                p += read_vlq(p, end);
            } else {
                int kind = status & 0xf0;
                int data_bytes = (kind == 0xc0 || kind == 0xd0) ? 1 : 2;
                if (kind == 0x90 && p[1] > 0)
                    shape.channels.insert(status & 0x0f);
                p += data_bytes;
            }
        }
        ends.push_back(tick);
    }
    for (long e : ends) {
        if (shape.end_tick >= 0 && e != shape.end_tick)
            shape.tracks_end_together = false;
        shape.end_tick = std::max(shape.end_tick, e);
    }
    long tick = 0, tempo = 500000;
    for (auto [at, us] : tempos) {
        shape.seconds += double(at - tick) * tempo / 1e6 / m->divisions;
        tick = at;
        tempo = us;
    }
    shape.seconds += double(shape.end_tick - tick) * tempo / 1e6 / m->divisions;
    return shape;
}

}  // namespace

TEST(DataFile, TheRunMusicLoopsOnTheBarAndOutlastsThePreview)
{
    MidiShape run = shape_of(static_cast<MIDI *>(data1[OBJ_MIDI_RUN].dat));
    MidiShape preview = shape_of(static_cast<MIDI *>(data1[OBJ_MIDI_PREVIEW].dat));
    EXPECT_GT(run.seconds, preview.seconds);
    EXPECT_GE(run.seconds, 20.0);
    EXPECT_LE(run.seconds, 90.0);
    EXPECT_GE(preview.seconds, 2.0);
    EXPECT_LE(preview.seconds, 10.0);
    // the loop restarts when the tracks end: they end together, on a bar line of 4/4
    const MIDI *m = static_cast<MIDI *>(data1[OBJ_MIDI_RUN].dat);
    EXPECT_TRUE(run.tracks_end_together);
    EXPECT_EQ(run.end_tick % (4 * m->divisions), 0);
    // melody, accompaniment and drums (channel 10)
    EXPECT_GE(run.channels.size(), 3u);
    EXPECT_TRUE(run.channels.count(9));
}

// The spirit level's bubble is drawn round its centre over the glass: a round picture of
// radius 9 whose corners are mask, with the flat pale middle the panel's tests look for.
TEST(DataFile, BubbleIsRoundWithAPaleMiddle)
{
    BITMAP *b = pic(OBJ_BUBBLE);
    ASSERT_EQ(b->w, 19);
    ASSERT_EQ(b->h, 19);
    EXPECT_TRUE(is_mask(b, 0, 0));
    EXPECT_TRUE(is_mask(b, 18, 18));
    EXPECT_TRUE(is_mask(b, 2, 2));  // 9.9 from the centre, past the radius
    EXPECT_FALSE(is_mask(b, 9, 0));
    EXPECT_FALSE(is_mask(b, 0, 9));
    EXPECT_EQ(getpixel(b, 9, 11), makecol(246, 250, 222));
    EXPECT_EQ(getpixel(b, 9, 9), makecol(246, 250, 222));
}

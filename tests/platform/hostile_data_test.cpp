// Data files that are not the game's own, as start-up meets them: loaded by the library, then
// checked; a file that fails either way ends the game with an alert, never a crash later on.
#include <allegro.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/data1.h"
#include "platform/data_check.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "platform/text_encoding.h"
#include "support/fakes.h"

namespace {

const std::string seeds = VINKLA_SOURCE_DIR "/fuzz/corpus/datafile/";

struct data_case {
    const char *name;
    std::string bytes;
    data1_file state;  // what the walk before loading finds
    bool usable;       // data1_usable takes the loaded file
};

std::vector<data_case> cases()
{
    return {
        {"empty", "", data1_file::missing, false},
        {"a text file", L1("Tämä ei ole datatiedosto.\n"), data1_file::missing, false},
        {"a level file", read_file(VINKLA_DATA_DIR "/standardfile.vkl"), data1_file::missing, false},
        // The library would load this as an array without even its end entry.
        {"only the header", "slh.ALL.", data1_file::damaged, false},
        {"no objects", std::string("slh.ALL.\0\0\0\0", 12), data1_file::whole, false},
        // Three objects of the right kinds, then nothing: a foreign or unfinished file.
        {"three objects", read_file(seeds + "tiny3.dat"), data1_file::whole, false},
        // All 46 objects of the right kinds with tiny pictures and a full-size last fall frame:
        // ugly, but nothing the game draws reads outside a picture.
        {"every object, tiny", read_file(seeds + "tiny46.dat"), data1_file::whole, true},
        // The same compressed: refused, since the library's decompression reads memory it never
        // set, and a damaged compressed file could then load other than it was checked.
        {"every object, tiny, compressed", read_file(seeds + "tiny46_packed.dat"), data1_file::damaged, false},
    };
}

// As start-up does it: the walk, then the library's loader on a whole file, then the check.
TEST(HostileData, FilesThatAreNotTheGamesOwn)
{
    const std::string path = make_temp_dir() + "/data1.dat";
    for (const data_case &c : cases()) {
        SCOPED_TRACE(c.name);
        write_file(path, c.bytes);
        const data1_file state = data1_file_state(path.c_str());
        EXPECT_EQ(c.state, state);
        DATAFILE *dat = state == data1_file::whole ? load_datafile(path.c_str()) : nullptr;
        EXPECT_EQ(state == data1_file::whole, dat != nullptr);
        EXPECT_EQ(c.usable, data1_usable(dat));
        if (dat)
            unload_datafile(dat);
    }
}

// Found by the data file fuzzer: every object of its kind, but a fall frame smaller than the
// 39 by 39 pixels that the fall shrinks from; the library's stretch reads outside the picture.
// A pipe in the data file's place would keep the start waiting for a writer: it is no data file,
// and neither is a folder.
TEST(HostileData, APipeOrAFolderIsNoDataFile)
{
    const std::string dir = make_temp_dir();
    ASSERT_EQ(0, mkfifo((dir + "/data1.dat").c_str(), 0600));
    EXPECT_EQ(data1_file::missing, data1_file_state((dir + "/data1.dat").c_str()));
    std::filesystem::create_directory(dir + "/kansio.dat");
    EXPECT_EQ(data1_file::missing, data1_file_state((dir + "/kansio.dat").c_str()));
    std::filesystem::remove_all(dir);
}

TEST(HostileData, ASmallLastFallFrameIsRefused)
{
    std::vector<DATAFILE> copy(data1, data1 + OBJ_COUNT);
    DATAFILE end{};
    end.type = DAT_END;
    copy.push_back(end);
    ASSERT_TRUE(data1_usable(copy.data()));
    for (auto [w, h] : {std::pair{2, 2}, std::pair{grid::cell - 1, grid::cell}, std::pair{grid::cell, grid::cell - 1}}) {
        BITMAP *small = create_bitmap(w, h);
        copy[OBJ_FALL7].dat = small;
        EXPECT_FALSE(data1_usable(copy.data())) << w << "x" << h;
        destroy_bitmap(small);
    }
    BITMAP *exact = create_bitmap(grid::cell, grid::cell);
    copy[OBJ_FALL7].dat = exact;
    EXPECT_TRUE(data1_usable(copy.data()));
    destroy_bitmap(exact);
}

// Big-endian 32-bit value, as data files store them.
std::string be32(uint32_t v)
{
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string be16(int v)
{
    return {char(v >> 8), char(v)};
}

// A file of one object of the kind, its contents in an unpacked chunk.
std::string one(const char *kind, const std::string &contents)
{
    return "slh.ALL." + be32(1) + kind + be32(contents.size()) + be32(contents.size()) + contents;
}

// The same with the chunk marked compressed (a negative unpacked size).
std::string one_packed(const char *kind, const std::string &contents)
{
    return "slh.ALL." + be32(1) + kind + be32(contents.size()) + be32(-int(contents.size())) + contents;
}

// A file of one object nested `depth` files deep, each an uncompressed chunk.
std::string nested(int depth)
{
    std::string inner = be32(0);  // the innermost file has no objects
    for (int d = 0; d < depth; d++)
        inner = be32(1) + "FILE" + be32(inner.size()) + be32(inner.size()) + inner;
    return "slh.ALL." + inner;
}

// A data1.dat cut short (an interrupted copy): the library's loader reads the end of the file as
// an object of kind DAT_END, finds an unused entry of its table of kinds for it and calls that
// entry's null load function; other cuts end in a double free. Start-up therefore walks the
// file's objects first and loads only a whole file. Every cut of the small files, and cuts all
// through the game's own, must be found.
// Thousands of rewrites of one file: in memory where the machine offers it, since a disk
// flushes a file cut to length and written again on every close.
std::string scratch_dir()
{
    char templ[] = "/dev/shm/vinkla-test-XXXXXX";
    if (char *dir = mkdtemp(templ))
        return dir;
    return make_temp_dir();
}

TEST(HostileData, CutFilesAreFoundBeforeTheyAreLoaded)
{
    const std::string dir = scratch_dir();
    const std::string path = dir + "/data1.dat";
    const std::string own = read_file(VINKLA_DATA_FILE);
    struct whole_file {
        const char *name;
        std::string bytes;
        size_t step;  // cut every step bytes
    };
    const std::vector<whole_file> files = {
        {"tiny", read_file(seeds + "tiny46.dat"), 1},
        {"three objects", read_file(seeds + "tiny3.dat"), 1},
        {"the game's own", own, own.size() / 97},
    };
    for (const whole_file &w : files) {
        SCOPED_TRACE(w.name);
        write_file(path, w.bytes);
        EXPECT_EQ(data1_file::whole, data1_file_state(path.c_str()));
        int found = 0, cuts = 0;
        for (size_t cut = 0; cut < w.bytes.size(); cut += w.step) {
            write_file(path, w.bytes.substr(0, cut));
            data1_file state = data1_file_state(path.c_str());
            // Under four bytes not even the library's header is there.
            EXPECT_EQ(cut < 4 ? data1_file::missing : data1_file::damaged, state) << "cut at " << cut;
            found += state != data1_file::whole;
            cuts++;
        }
        EXPECT_EQ(cuts, found);
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

TEST(HostileData, FilesTheLoaderWouldCrashOnAreDamaged)
{
    const std::string dir = make_temp_dir();
    struct state_case {
        const char *name;
        std::string bytes;  // empty: no file
        data1_file state;
    };
    const std::vector<state_case> cases = {
        {"no file", "", data1_file::missing},
        {"a text file", L1("Tämä ei ole datatiedosto, vaikka nimi on.\n"), data1_file::missing},
        {"an object of the end kind",
         "slh.ALL." + be32(1) + be32(0xffffffff) + be32(4) + be32(4) + "abcd", data1_file::damaged},
        {"a property of the end kind", "slh.ALL." + be32(1) + "prop" + be32(0xffffffff) + be32(1) + "x" +
         "PAL " + be32(1) + be32(1) + "x", data1_file::damaged},
        {"a property cut short", "slh.ALL." + be32(1) + "propNAME" + be32(100) + "A0", data1_file::damaged},
        {"a negative count", "slh.ALL." + be32(0x80000000), data1_file::damaged},
        {"a count beyond the objects", "slh.ALL." + be32(1000000), data1_file::damaged},
        {"no count", "slh.ALL.", data1_file::damaged},
        {"not a data file inside", "slh.KAIK" + be32(0), data1_file::damaged},
        {"no objects", "slh.ALL." + be32(0), data1_file::whole},
        {"a compressed chunk", one_packed("PAL ", "abcd"), data1_file::damaged},
        {"a chunk whose sizes disagree", "slh.ALL." + be32(1) + "PAL " + be32(0) + be32(4) + "abcd",
         data1_file::damaged},
        // Each object's contents as its loader reads them: a loader that fails makes the library
        // free twice, so every size a loader allocates must be there.
        {"a picture of no bytes", one("BMP ", ""), data1_file::damaged},
        {"a picture of depth 0", one("BMP ", be16(0) + be16(2) + be16(2) + std::string(12, 'x')),
         data1_file::damaged},
        {"a picture bigger than its bytes", one("BMP ", be16(32) + be16(1000) + be16(1000) + std::string(12, 'x')),
         data1_file::damaged},
        {"a picture of 2x2 in 32 bits", one("BMP ", be16(32) + be16(2) + be16(2) + std::string(12, 'x')),
         data1_file::whole},
        {"a sample longer than its bytes", one("SAMP", be16(8) + be16(11025) + be32(0x7fffffff) + "abcd"),
         data1_file::damaged},
        {"a sample of 12 bits", one("SAMP", be16(12) + be16(11025) + be32(2) + "abcd"), data1_file::damaged},
        {"a stereo sample of 16 bits", one("SAMP", be16(-16) + be16(11025) + be32(1) + "abcd"),
         data1_file::whole},
        {"a music track longer than its bytes", one("MIDI", be16(96) + be32(1000) + "MTrk"),
         data1_file::damaged},
        {"music without tracks", one("MIDI", be16(96) + std::string(32 * 4, '\0')), data1_file::whole},
        {"a font of an older format", one("FONT", be16(8) + std::string(95 * 8, 'x')), data1_file::damaged},
        {"a font range that ends before it begins",
         one("FONT", be16(0) + be16(1) + "\1" + be32(0x41) + be32(0x40)), data1_file::damaged},
        {"a font range neither mono nor in colour",
         one("FONT", be16(0) + be16(1) + "\3" + be32(0x41) + be32(0x41) + be16(0) + be16(0)), data1_file::damaged},
        {"a colour glyph of no pixels",
         one("FONT", be16(0) + be16(1) + std::string(1, '\0') + be32(0x41) + be32(0x41) + be16(0) + be16(0)),
         data1_file::damaged},
        {"a mono glyph of no width (the library's glyph drawing reads outside it)",
         one("FONT", be16(0) + be16(1) + "\1" + be32(0x41) + be32(0x41) + be16(0) + be16(771)),
         data1_file::damaged},
        {"a mono font of one glyph",
         one("FONT", be16(0) + be16(1) + "\1" + be32(0x41) + be32(0x41) + be16(3) + be16(2) + "ab"),
         data1_file::whole},
        {"a sprite of a kind the game never uses", one("RLE ", std::string(16, '\0')), data1_file::damaged},
        {"plain bytes of a kind of its own", one("PAL ", std::string(1024, '\0')), data1_file::whole},
        {"files nested eight deep", nested(8), data1_file::whole},
        {"files nested nine deep", nested(9), data1_file::damaged},
        {"files nested 10 000 deep", nested(10000), data1_file::damaged},
    };
    for (const state_case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir + "/" + std::to_string(&c - cases.data()) + ".dat";
        if (!c.bytes.empty())
            write_file(path, c.bytes);
        EXPECT_EQ(c.state, data1_file_state(path.c_str()));
        // What the walk passes, the library loads without harm.
        if (c.state == data1_file::whole) {
            DATAFILE *dat = load_datafile(path.c_str());
            EXPECT_NE(nullptr, dat);
            if (dat)
                unload_datafile(dat);
        }
    }
}

}  // namespace

// The walk through data1.dat before it is loaded. The library's loader trusts the file: it
// takes the end of a file cut short for an object kind without a load function and calls a
// null pointer, and when an object's loader fails (a picture of depth 0, a sample longer than
// memory) its clean-up frees twice. So start-up loads only a file in which every object is
// complete and every size a loader will allocate is really there. Compressed files are refused:
// the library's decompression reads ring buffer memory it never set, so a damaged compressed
// file can read differently here and in the loader; the game's own file is not compressed.
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/data_check.h"
#include "platform/file_read.h"

namespace {

// The game's own file is flat; the loader recurses once per level of nesting.
constexpr int deepest = 8;

// Far beyond the game's own file (under a megabyte); a bigger one is not walked.
constexpr size_t file_max = 64 << 20;

// Reads the file's bytes from the place all readers of it share, at most `left` bytes (the
// rest of an object's chunk, or no limit).
struct reader {
    const std::string &file;
    size_t &at;
    long left;

    bool skip(long n)
    {
        if (n < 0 || n > left || static_cast<size_t>(n) > file.size() - at)
            return false;
        at += static_cast<size_t>(n);
        left -= n;
        return true;
    }
    bool bytes(void *to, long n)
    {
        const size_t from = at;
        if (!skip(n))
            return false;
        std::memcpy(to, file.data() + from, static_cast<size_t>(n));
        return true;
    }
    // Big-endian, signed, as the loaders read them.
    bool word(long &v)
    {
        unsigned char b[2];
        if (!bytes(b, 2))
            return false;
        v = static_cast<int16_t>((b[0] << 8) | b[1]);
        return true;
    }
    bool number(long &v)
    {
        unsigned char b[4];
        if (!bytes(b, 4))
            return false;
        v = static_cast<int32_t>((uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3]);
        return true;
    }
};

constexpr long unlimited = 0x7fffffffL;

// Depth, width, height, then the pixels: 8 bits one byte, 15 and 16 bits two, 24 and 32 bits
// three, 32 bits with alpha (depth -32) four.
bool bitmap_whole(reader &r)
{
    long bits, w, h;
    if (!r.word(bits) || !r.word(w) || !r.word(h) || w < 1 || h < 1)
        return false;
    long size = bits == 8 ? 1 : bits == 15 || bits == 16 ? 2 : bits == 24 || bits == 32 ? 3 : bits == -32 ? 4 : 0;
    return size && r.skip(w * h * size);
}

// Bits (negative for stereo), frequency, length in samples, then the samples.
bool sample_whole(reader &r)
{
    long bits, freq, length;
    if (!r.word(bits) || !r.word(freq) || !r.number(length) || length < 0)
        return false;
    long channels = bits < 0 ? 2 : 1;
    bits = bits < 0 ? -bits : bits;
    return (bits == 8 || bits == 16) && r.skip(length * channels * (bits / 8));
}

// Divisions, then 32 tracks, each a length and its bytes.
bool midi_whole(reader &r)
{
    long divisions, length;
    if (!r.word(divisions))
        return false;
    for (int t = 0; t < 32; t++)
        if (!r.number(length) || (length > 0 && !r.skip(length)))
            return false;
    return true;
}

// The font format of this library release (type 0): ranges of glyphs, each range mono (1: a bit
// a pixel, rows padded to bytes) or in colour (0: a byte a pixel); each glyph its width and height.
bool font_whole(reader &r)
{
    long type, ranges;
    if (!r.word(type) || type != 0 || !r.word(ranges) || ranges < 1)
        return false;
    for (long k = 0; k < ranges; k++) {
        unsigned char mono;
        long begin, end;
        if (!r.bytes(&mono, 1) || mono > 1 || !r.number(begin) || !r.number(end) || begin < 0 || end < begin)
            return false;
        for (long c = begin; c <= end; c++) {
            long w, h;
            // The library's glyph drawing reads outside a glyph of no width.
            if (!r.word(w) || !r.word(h) || w < 1 || h < 1)
                return false;
            if (!r.skip(mono ? (w + 7) / 8 * h : w * h))
                return false;
        }
    }
    return true;
}

bool objects_whole(reader &r, int depth);

// One object's contents, `size` bytes, read as its kind's loader reads them; whatever the
// loader leaves unread is read past, as the loader's chunk does when it closes.
bool contents_whole(reader &r, long kind, long size, int depth)
{
    reader part{r.file, r.at, size};
    bool ok;
    switch (kind) {
    case DAT_FILE: ok = objects_whole(part, depth + 1); break;
    case DAT_BITMAP: ok = bitmap_whole(part); break;
    case DAT_SAMPLE: ok = sample_whole(part); break;
    case DAT_MIDI: ok = midi_whole(part); break;
    case DAT_FONT: ok = font_whole(part); break;
    // Sprites of these kinds are nothing the game uses.
    case DAT_RLE_SPRITE:
    case DAT_C_SPRITE:
    case DAT_XC_SPRITE: ok = false; break;
    default: ok = true; break;  // kept as plain bytes
    }
    if (!ok || !part.skip(part.left))
        return false;
    r.left -= size;
    return true;
}

// A count, then per object its properties, its kind and its contents in a chunk: the chunk's
// size on disk and unpacked (negative when compressed), then its bytes.
bool objects_whole(reader &r, int depth)
{
    long count;
    if (depth > deepest || !r.number(count) || count < 0)
        return false;
    for (long c = 0; c < count;) {
        long kind;
        if (!r.number(kind) || kind == DAT_END)
            return false;
        if (kind == DAT_PROPERTY) {
            long property, size;
            // The library keeps no property of the end kind, and loses its memory.
            if (!r.number(property) || property == DAT_END || !r.number(size) || !r.skip(size))
                return false;
            continue;
        }
        long on_disk, unpacked;
        if (!r.number(on_disk) || !r.number(unpacked) || unpacked < 0 || on_disk != unpacked)
            return false;
        if (unpacked > r.left || !contents_whole(r, kind, unpacked, depth))
            return false;
        c++;
    }
    return true;
}

}  // namespace

data1_file data1_file_state(const char *path)
{
    // Read as it is on disk, as a regular file only: the library would unpack a compressed file
    // on the way, and wait on a pipe for ever.
    std::string file;
    const file_read got = read_regular(path, file_max, file);
    if (got == file_read::too_long)
        return data1_file::damaged;
    if (got != file_read::read)
        return data1_file::missing;
    size_t at = 0;
    reader r{file, at, unlimited};
    long magic = 0;
    data1_file state = data1_file::missing;
    if (r.number(magic) && magic == F_PACK_MAGIC)
        state = data1_file::damaged;
    else if (magic == F_NOPACK_MAGIC)
        state = r.number(magic) && magic == DAT_MAGIC && objects_whole(r, 0) ? data1_file::whole : data1_file::damaged;
    return state;
}

#include "shell/data_check.h"

#include "shell/data1.h"

#include <cstdint>

namespace {

constexpr int B = DAT_BITMAP;
constexpr int S = DAT_SAMPLE;
constexpr int M = DAT_MIDI;
constexpr int F = DAT_FONT;
constexpr int P = DAT_PALETTE;

constexpr int kinds[OBJ_COUNT] = {
    B, S, B, B, S, B, B, B, B, B,  //  0.. 9
    B, B, B, B, B, S, B, B, S, B,  // 10..19
    B, B, F, M, S, B, B, B, B, B,  // 20..29
    B, M, F, P, B, B, B, B, B, B,  // 30..39
    B, B, S, B,                    // 40..43
};

// The game's own file is flat; the loader recurses once per level of nesting.
constexpr int deepest = 8;

bool read_long(PACKFILE *f, long &v)
{
    unsigned char b[4];
    if (pack_fread(b, 4, f) != 4)
        return false;
    v = static_cast<int32_t>((uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3]);
    return true;
}

// Reads and drops n bytes; false if the file ends first.
bool skip(PACKFILE *f, long n)
{
    char buffer[4096];
    while (n > 0) {
        long part = n < long(sizeof buffer) ? n : long(sizeof buffer);
        if (pack_fread(buffer, part, f) != part)
            return false;
        n -= part;
    }
    return true;
}

// The objects of one level of the file, read the way load_datafile reads them: a count, then
// per object its properties, its kind and its contents in a chunk (a nested file for DAT_FILE).
bool objects_whole(PACKFILE *f, int depth)
{
    long count;
    if (depth > deepest || !read_long(f, count) || count < 0)
        return false;
    for (long c = 0; c < count;) {
        long kind;
        if (!read_long(f, kind) || kind == DAT_END)
            return false;
        if (kind == DAT_PROPERTY) {
            long property, size;
            if (!read_long(f, property) || !read_long(f, size) || size < 0 || !skip(f, size))
                return false;
            continue;
        }
        PACKFILE *chunk = pack_fopen_chunk(f, FALSE);
        if (!chunk)
            return false;
        // The contents' length as the loader will take it, unpacked.
        const long size = chunk->normal.todo;
        bool ok = size >= 0 && (kind == DAT_FILE ? objects_whole(chunk, depth + 1) : skip(chunk, size));
        pack_fclose_chunk(chunk);
        if (!ok)
            return false;
        c++;
    }
    return true;
}

}  // namespace

data1_file data1_file_state(const char *path)
{
    PACKFILE *f = pack_fopen(path, F_READ_PACKED);
    if (!f)
        return data1_file::missing;
    long magic;
    bool whole = read_long(f, magic) && magic == DAT_MAGIC && objects_whole(f, 0);
    pack_fclose(f);
    return whole ? data1_file::whole : data1_file::damaged;
}

int data1_kind(int index)
{
    return index >= 0 && index < OBJ_COUNT ? kinds[index] : DAT_END;
}

bool data1_usable(const DATAFILE *dat)
{
    if (!dat)
        return false;
    // The array ends with a DAT_END entry; stop there even if it comes early.
    for (int i = 0; i < OBJ_COUNT; ++i) {
        if (dat[i].type == DAT_END || dat[i].type != kinds[i] || !dat[i].dat)
            return false;
    }
    // The fall's last frame is shrunk from its top-left 39 by 39 pixels, and the library's
    // stretch does not clip its source: a smaller picture would be read out of bounds.
    const BITMAP *last = static_cast<const BITMAP *>(dat[OBJ_FALL7].dat);
    return last->w >= 39 && last->h >= 39;
}

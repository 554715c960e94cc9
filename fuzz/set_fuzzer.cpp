// Set files: any bytes as the set file of a folder of four levels. Every level read must be a
// level of the folder, once, with a printable shown name of at most 24 letters and medal times
// that are none or each faster than the next.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "field/level_set.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::setup();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::vector<std::string> files = {"01_a.vkl", "02_b.vkl", "10_c.vkl", "x.vkl"};
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    int skipped = 0;
    const level_set set = read_set(bytes, "sarjat/1_s", files, skipped);
    if (set.levels.size() != files.size())
        fuzz::fail("%zu levels of a folder of %zu", set.levels.size(), files.size());
    std::set<std::string> seen;
    for (const set_level &l : set.levels) {
        if (l.path.rfind("sarjat/1_s/", 0) != 0 || !seen.insert(l.path).second)
            fuzz::fail("a level outside the folder or twice: %s", l.path.c_str());
        if (l.title.size() > 24)
            fuzz::fail("a shown name of %zu letters", l.title.size());
        for (unsigned char c : l.title)
            if (c < 0x20)
                fuzz::fail("a control byte in a shown name");
        if (l.medals[0] && !(0 < l.medals[0] && l.medals[0] < l.medals[1] && l.medals[1] < l.medals[2]))
            fuzz::fail("medal times out of order");
    }
    for (unsigned char c : set.name)
        if (c < 0x20)
            fuzz::fail("a control byte in the set's name");
    if (skipped < 0)
        fuzz::fail("skipped %d lines", skipped);
    return 0;
}

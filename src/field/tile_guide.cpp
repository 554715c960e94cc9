#include "field/tile_guide.h"

#include <cstring>

#include "field/field.h"
#include "platform/text_encoding.h"

// Latin-1 in the program: the build's exec charset turns these literals into 8-bit text.
const tile_guide_entry tile_guide[tile_guide_count] = {
    {"A", L1("Lähtöruutu"), L1("Tästä kuula lähtee liikkeelle.")},
    {"*", L1("Seinä"), L1("Kuula kimpoaa seinästä takaisin.")},
    {"F", "Lippu", L1("Vieritä kuula jokaisen lipun yli: viimeinen lippu vie maaliin.")},
    {"O", L1("Reikä"), "Kuula putoaa ja jatkaa viimeksi poimitulta lipulta. Putoaminen maksaa aikaa."},
    {"C", "Kuoppa", L1("Vetää kuulaa keskelleen. Pois pääsee kallistamalla reippaasti.")},
    {"V", "Kumpu", L1("Työntää kuulaa poispäin keskeltään.")},
    {"B", "Pomppain", "Potkaisee osuvan kuulan kauas luotaan."},
    {"#", "Kangas", L1("Jarruttaa kuulaa rajusti: hyvä paikka pysähtyä.")},
    {"esnw", "Rinne", L1("Vierittää kuulaa nuolten suuntaan, vaikka lauta olisi vaakassa.")},
    {"+I-WENS", "Putki", L1("Kuula näkyy himmeänä katon läpi. Haaraan se kääntyy vain hiljaa kulkiessaan.")},
    {"X", "Luukku", "Suljettu kansi: kuula vierii sen yli kuin tasaisella pohjalla."},
};

std::vector<const tile_guide_entry *> tiles_to_meet(const field &board, const std::string &met)
{
    bool present[tile_guide_count] = {};
    for (int r = 0; r < board.rows; r++)
        for (int c = 0; c < board.columns; c++)
            for (int k = 1; k < tile_guide_count; k++)
                if (board.codes[r][c] && std::strchr(tile_guide[k].codes, board.codes[r][c]))
                    present[k] = true;
    std::vector<const tile_guide_entry *> unmet;
    for (int k = 1; k < tile_guide_count; k++)
        if (present[k] && met.find(tile_guide[k].codes[0]) == std::string::npos)
            unmet.push_back(&tile_guide[k]);
    return unmet;
}

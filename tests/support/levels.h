#pragma once
// Level texts shared by the tests and the fuzz harnesses. Header-only and free of the test
// framework, so the fuzz build (its own CMake project) can use it too.
#include <string>
#include <utility>
#include <vector>

#include "field/tile_kind.h"
#include "platform/grid.h"

namespace levels {

// The codes of every tile kind, in the table's order.
inline std::string all_codes()
{
    std::string codes;
    for (const tile_kind &k : tile_kinds)
        codes += k.code;
    return codes;
}

// The same without the start, which a level has once.
inline std::string codes_but_start()
{
    std::string codes = all_codes();
    codes.erase(codes.find('A'), 1);
    return codes;
}

// The open board as its 14 rows: the wall ring, the start in the top-left inner cell, floor
// everywhere else; `changed` replaces whole rows by number.
inline std::vector<std::string> open_board(const std::vector<std::pair<int, std::string>> &changed = {})
{
    const std::string ring(grid::cells, '*');
    const std::string floor = "*" + std::string(grid::cells - 2, '.') + "*";
    std::vector<std::string> rows(grid::cells, floor);
    rows.front() = rows.back() = ring;
    rows[1][1] = 'A';
    for (const auto &c : changed)
        rows[c.first] = c.second;
    return rows;
}

// A level text of its rows.
inline std::string text_of(const std::vector<std::string> &rows)
{
    std::string text;
    for (const std::string &r : rows)
        text += r;
    return text;
}

// Every tile kind on one board, bumpers beside tiles that keep a push, holes, slopes and long
// tubes; its last flag is walled in, so a run on it goes on until it is ended.
inline std::vector<std::string> every_tile()
{
    return {"**************", "*A.#.B.V.C.X.*", "*.***..O..I..*", "*.*.e.n..sI..*", "*...w..F..I.B*",
            "*-----+---E..*", "*.#..I.I..I..*", "*.O..I.W..N..*", "*....I.I.----*", "*.V..S.I..C..*",
            "*..B.I.I..O..*", "*.ee...nn..***", "*.ss.ww..X.*F*", "**************"};
}

// A level file of a test set, won by tilting east onto the flag two cells right of the start; a
// wall of n cells at the start of row 12 makes each n a board, and a table, of its own.
inline std::string set_level_file(int n)
{
    std::vector<std::string> rows = open_board({{1, "*A.F.........*"}});
    for (int c = 1; c <= n; c++)
        rows[12][c] = '*';
    std::string file;
    for (const std::string &r : rows)
        file += r + "\n";
    return file + "noname\n9999\n";
}

}  // namespace levels

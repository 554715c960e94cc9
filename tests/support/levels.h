#pragma once
// Level texts shared by the tests and the fuzz harnesses. Header-only and free of the test
// framework, so the fuzz build (its own CMake project) can use it too.
#include <string>

#include "field/tile_kind.h"

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

}  // namespace levels

#pragma once
// What the benchmarks on the shipped levels share.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// The shipped set levels, in name order, each with its mouse run beside it.
inline std::vector<std::string> shipped_levels()
{
    std::vector<std::string> levels;
    for (const auto &set : std::filesystem::directory_iterator(VINKLA_DATA_DIR "/sarjat"))
        if (set.is_directory())
            for (const auto &f : std::filesystem::directory_iterator(set.path()))
                if (f.path().extension() == ".vkl")
                    levels.push_back(f.path().string());
    std::sort(levels.begin(), levels.end());
    return levels;
}

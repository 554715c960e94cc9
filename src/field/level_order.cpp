#include "field/level_order.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/text_encoding.h"

namespace fs = std::filesystem;

namespace {

// ".vkl" in any case, as the file selectors take it.
bool level_name(const std::string &n)
{
    if (n.size() <= 4 || n[n.size() - 4] != '.')
        return false;
    std::string ext = n.substr(n.size() - 3);
    for (char &c : ext)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext == "vkl";
}

}  // namespace

std::string next_level_file(const std::string &path)
{
    const fs::path current(path);
    const fs::path folder = current.has_parent_path() ? current.parent_path() : fs::path(".");
    const std::string name = current.filename().string();

    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string n = it->path().filename().string();
        std::error_code kind;
        if (level_name(n) && it->is_regular_file(kind))
            names.push_back(n);
    }
    if (names.empty())
        return path;
    std::sort(names.begin(), names.end());
    auto after = std::upper_bound(names.begin(), names.end(), name);
    const std::string &next = after == names.end() ? names.front() : *after;
    return current.has_parent_path() ? (folder / next).string() : next;
}

std::string level_title(const std::string &path)
{
    size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (level_name(name))
        name.resize(name.size() - 4);
    return latin1_name(name);
}

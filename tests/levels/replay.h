#pragma once
// A recorded game run: every answer of get_mouse_mickeys in call order, from the read that
// start_bead makes before the first frame to the last read of the winning frame. The motion step
// skips the read while a hole pulls the marble, and the restart after a fall makes one read of
// its own, so the reads are not one per frame; fed back one per call they replay the run exactly.
//
// File layout (text, "\n" line ends), the reads run-length encoded:
//   vinkla-replay 1
//   frames F        frames the run takes, the winning frame included
//   reads R         get_mouse_mickeys calls, the sum of the counts below
//   N DX DY         N calls in a row that answer (DX, DY); as many lines as needed
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace levels {

struct replay {
    long frames = 0;
    std::vector<std::pair<int, int>> reads;
};

// Limits for a file that has been tampered with: a run of an hour, a flick of a whole screen.
constexpr long replay_max_frames = 360000;
constexpr int replay_max_mickeys = 100000;

inline std::string format_replay(const replay &r)
{
    std::ostringstream out;
    out << "vinkla-replay 1\n";
    out << "frames " << r.frames << "\n";
    out << "reads " << r.reads.size() << "\n";
    size_t i = 0;
    while (i < r.reads.size()) {
        size_t j = i;
        while (j < r.reads.size() && r.reads[j] == r.reads[i])
            j++;
        out << (j - i) << " " << r.reads[i].first << " " << r.reads[i].second << "\n";
        i = j;
    }
    return out.str();
}

namespace detail {

// A whole line of space-separated decimal integers, nothing else.
inline bool parse_ints(const std::string &line, std::vector<long> &values)
{
    values.clear();
    const char *p = line.c_str();
    while (*p) {
        while (*p == ' ')
            p++;
        if (!*p)
            break;
        char *end = nullptr;
        long v = std::strtol(p, &end, 10);
        if (end == p || (*end != ' ' && *end != '\0'))
            return false;
        if (v > 1000000000L || v < -1000000000L)
            return false;
        values.push_back(v);
        p = end;
    }
    return true;
}

inline bool header_value(std::istream &in, const std::string &name, long &value)
{
    std::string line;
    if (!std::getline(in, line) || line.compare(0, name.size() + 1, name + " ") != 0)
        return false;
    std::vector<long> v;
    if (!parse_ints(line.substr(name.size() + 1), v) || v.size() != 1)
        return false;
    value = v[0];
    return true;
}

}  // namespace detail

// False, with a reason in `error`, for anything but a well-formed replay.
inline bool parse_replay(const std::string &text, replay &out, std::string &error)
{
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != "vinkla-replay 1") {
        error = "not a replay (first line)";
        return false;
    }
    long frames = 0, reads = 0;
    if (!detail::header_value(in, "frames", frames) || frames < 1 || frames > replay_max_frames) {
        error = "bad frames line";
        return false;
    }
    if (!detail::header_value(in, "reads", reads) || reads < 1 || reads > 2 * replay_max_frames) {
        error = "bad reads line";
        return false;
    }
    replay r;
    r.frames = frames;
    std::vector<long> v;
    while (std::getline(in, line)) {
        if (!detail::parse_ints(line, v) || v.size() != 3 || v[0] < 1 ||
            v[0] > reads - (long)r.reads.size() || std::labs(v[1]) > replay_max_mickeys ||
            std::labs(v[2]) > replay_max_mickeys) {
            error = "bad read line: " + line;
            return false;
        }
        r.reads.insert(r.reads.end(), (size_t)v[0], std::make_pair((int)v[1], (int)v[2]));
    }
    if ((long)r.reads.size() != reads) {
        error = "reads do not add up";
        return false;
    }
    out = r;
    return true;
}

// A recorded keyboard run: the arrow keys held in every frame, from the first frame to the
// winning one. The mouse does not move.
//
// File layout (text, "\n" line ends), the frames run-length encoded:
//   vinkla-keys 1
//   frames F
//   N KEYS          N frames in a row with these keys down: the sum of 1 left, 2 right, 4 up,
//                   8 down; the counts add up to F
enum key_bit : uint8_t { key_left = 1, key_right = 2, key_up = 4, key_down = 8 };

struct key_replay {
    std::vector<uint8_t> frames;  // keys down in each frame
};

inline std::string format_key_replay(const key_replay &r)
{
    std::ostringstream out;
    out << "vinkla-keys 1\n";
    out << "frames " << r.frames.size() << "\n";
    size_t i = 0;
    while (i < r.frames.size()) {
        size_t j = i;
        while (j < r.frames.size() && r.frames[j] == r.frames[i])
            j++;
        out << (j - i) << " " << (int)r.frames[i] << "\n";
        i = j;
    }
    return out.str();
}

inline bool parse_key_replay(const std::string &text, key_replay &out, std::string &error)
{
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != "vinkla-keys 1") {
        error = "not a key replay (first line)";
        return false;
    }
    long frames = 0;
    if (!detail::header_value(in, "frames", frames) || frames < 1 || frames > replay_max_frames) {
        error = "bad frames line";
        return false;
    }
    key_replay r;
    std::vector<long> v;
    while (std::getline(in, line)) {
        if (!detail::parse_ints(line, v) || v.size() != 2 || v[0] < 1 ||
            v[0] > frames - (long)r.frames.size() || v[1] < 0 || v[1] > 15) {
            error = "bad frame line: " + line;
            return false;
        }
        r.frames.insert(r.frames.end(), (size_t)v[0], (uint8_t)v[1]);
    }
    if ((long)r.frames.size() != frames) {
        error = "frames do not add up";
        return false;
    }
    out = r;
    return true;
}

}  // namespace levels

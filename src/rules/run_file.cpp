#include "rules/run_file.h"

#include <cmath>
#include <cstring>

#include "platform/file_read.h"
#include "platform/fnv1a.h"

namespace {

const char magic[] = "vinkla-run 1\n";

void put_u16(std::string &out, unsigned v)
{
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>((v >> 8) & 0xff);
}

void put_float(std::string &out, float f)
{
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    for (int i = 0; i < 4; i++)
        out += static_cast<char>((bits >> (8 * i)) & 0xff);
}

unsigned get_u16(const std::string &in, size_t at)
{
    return static_cast<unsigned char>(in[at]) | static_cast<unsigned char>(in[at + 1]) << 8;
}

float get_float(const std::string &in, size_t at)
{
    uint32_t bits = 0;
    for (int i = 0; i < 4; i++)
        bits |= static_cast<uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// A header line "NAME VALUE\n" at `at`: its value, with `at` moved past it.
bool header_line(const std::string &in, size_t &at, const char *name, std::string &value)
{
    const size_t end = in.find('\n', at);
    const std::string prefix = std::string(name) + " ";
    if (end == std::string::npos || in.compare(at, prefix.size(), prefix) != 0)
        return false;
    value = in.substr(at + prefix.size(), end - at - prefix.size());
    at = end + 1;
    return true;
}

// A decimal number of at most 9 digits, nothing else.
bool small_number(const std::string &text, long &value)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::strtol(text.c_str(), nullptr, 10);
    return true;
}

}  // namespace

std::string write_run(const run_record &run)
{
    std::string body;
    size_t spans = 0;
    for (size_t i = 0; i < run.tilts.size();) {
        size_t j = i;
        while (j < run.tilts.size() && j - i < 65535 && run.tilts[j] == run.tilts[i])
            j++;
        put_u16(body, static_cast<unsigned>(j - i));
        put_float(body, run.tilts[i].x);
        put_float(body, run.tilts[i].y);
        spans++;
        i = j;
    }
    std::string out = magic;
    out += "board " + run.board + "\n";
    out += "rules " + std::to_string(run.rules) + "\n";
    out += "frames " + std::to_string(run.tilts.size()) + "\n";
    out += "spans " + std::to_string(spans) + "\n";
    out += body;
    out += "sum " + fnv1a_hex(out.data(), out.size()) + "\n";
    return out;
}

bool read_run(const std::string &in, run_record &out, std::string &why)
{
    out = run_record();
    if (in.compare(0, sizeof magic - 1, magic) != 0) {
        why = "not a run file";
        return false;
    }
    size_t at = sizeof magic - 1;
    std::string board, rules, frames_text, spans_text;
    long rules_number = 0, frames = 0, spans = 0;
    if (!header_line(in, at, "board", board) || !fnv1a_hex_text(board) || !header_line(in, at, "rules", rules) ||
        !small_number(rules, rules_number) || !header_line(in, at, "frames", frames_text) ||
        !small_number(frames_text, frames) || !header_line(in, at, "spans", spans_text) ||
        !small_number(spans_text, spans)) {
        why = "damaged header";
        return false;
    }
    if (frames < 1 || frames > run_max_frames || spans < 1 || spans > frames) {
        why = "damaged header";
        return false;
    }
    const size_t body_end = at + 10 * static_cast<size_t>(spans);
    const std::string sum_line = "sum ";
    if (in.size() != body_end + sum_line.size() + 17) {
        why = "damaged or cut short";
        return false;
    }
    if (in.compare(body_end, sum_line.size(), sum_line) != 0 || in.back() != '\n' ||
        in.substr(body_end + sum_line.size(), 16) != fnv1a_hex(in.data(), body_end)) {
        why = "damaged (its sum does not match)";
        return false;
    }
    run_record run;
    run.board = board;
    run.rules = static_cast<int>(rules_number);
    for (long s = 0; s < spans; s++) {
        const size_t p = at + 10 * static_cast<size_t>(s);
        const unsigned count = get_u16(in, p);
        run_tilt t;
        t.x = get_float(in, p + 2);
        t.y = get_float(in, p + 6);
        if (count == 0 || static_cast<long>(run.tilts.size() + count) > frames || !std::isfinite(t.x) ||
            !std::isfinite(t.y) || std::fabs(t.x) > run_tilt_limit || std::fabs(t.y) > run_tilt_limit) {
            why = "damaged tilts";
            return false;
        }
        run.tilts.insert(run.tilts.end(), count, t);
    }
    if (static_cast<long>(run.tilts.size()) != frames) {
        why = "damaged tilts";
        return false;
    }
    out = run;
    return true;
}

bool load_run(const std::string &path, run_record &out, std::string &why)
{
    out = run_record();
    std::string bytes;
    const file_read r = read_regular(path, run_file_max, bytes);
    if (r != file_read::read) {
        why = r == file_read::too_long ? "too long to be a run" : file_read_failure(r);
        return false;
    }
    return read_run(bytes, out, why);
}

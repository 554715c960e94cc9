#include "solver/level_solver.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <numeric>
#include <utility>
#include <vector>

#include "field/field.h"
#include "field/level_file.h"
#include "field/tile_kind.h"
#include "marble/bead.h"
#include "marble/board_cell.h"
#include "platform/grid.h"
#include "records/record_table.h"
#include "records/run_replay.h"
#include "tiles/bumper_tile.h"
#include "tiles/flag_tile.h"
#include "tiles/tile.h"

namespace {

using grid::cells;
constexpr int board_px = grid::pixels;
// The distance fields are kept on every second pixel: a quarter of the work, and still three
// nodes across a tube's channel.
constexpr int spacing = 2;
constexpr int nodes = board_px / spacing;
static_assert(board_px % spacing == 0, "the nodes must end on the board's edge");

enum key_bit : uint8_t { key_left = 1, key_right = 2, key_up = 4, key_down = 8 };

float clamp_tilt(float a)
{
    return std::max(-bead::tilt_limit, std::min(bead::tilt_limit, a));
}

// The caller's progress callback, asked at most every few milliseconds however often the work
// looks in; the share it gets never goes back. Once it says stop, the answer stays stop.
class progress_watch {
public:
    explicit progress_watch(const std::function<bool(float)> &report) : report(report) {}

    bool go_on(float share)
    {
        if (halted || !report)
            return !halted;
        const auto now = std::chrono::steady_clock::now();
        if (asked && now - last < std::chrono::milliseconds(20))
            return true;
        asked = true;
        last = now;
        shown = std::max(shown, std::min(std::max(share, 0.0f), 0.99f));
        halted = !report(shown);
        return !halted;
    }
    bool stopped() const { return halted; }
    // The last call, once the work is over; what it answers no longer matters.
    void done()
    {
        if (report && !halted)
            report(1.0f);
    }

private:
    const std::function<bool(float)> &report;
    std::chrono::steady_clock::time_point last;
    bool asked = false;
    bool halted = false;
    float shown = 0;
};

// ---------------------------------------------------------------------------------------------
// Where the marble's centre can be: asked of the game's own rules on the game's own field.

struct board {
    char code[cells][cells];
    int start_r = 0, start_c = 0;
    std::vector<std::pair<int, int>> flags;  // row, column; row-major order
    std::vector<char> held;                  // nodes * nodes: the tiles move a centre here
};

// A marble of its own on a field of its own (a step over a flag takes it), stepped by the
// rules with nothing but a set speed and a level board: the step comes out different from the
// plain sum only where a face, a tube channel or a corner point stops or turns the marble.
class probe {
public:
    explicit probe(const field *f)
    {
        std::string text;
        for (int i = 0; i < f->rows; i++)
            text.append(f->codes[i], f->columns);
        marble.current_field = new field(text.c_str(), f->rows, f->columns);  // the marble deletes it
    }

    // True if a centre arriving at (px, py) from any of eight directions, or resting there, is
    // moved by the tiles.
    bool held(float px, float py)
    {
        static const float step[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
        if (pushed(px, py))
            return true;
        for (const auto &d : step)
            if (moved(px, py, d[0] * 0.5f, d[1] * 0.5f))
                return true;
        return false;
    }

    // True if a centre resting at (px, py) is moved: it lies beyond a face or outside a tube's
    // channel (a corner point leaves a marble at rest alone).
    bool pushed(float px, float py) { return moved(px, py, 0, 0); }

private:
    bead marble;

    bool moved(float px, float py, float vx, float vy)
    {
        bead &b = marble;
        b.stop_motion();
        b.speed = Vektor(vx, vy);
        b.cur_friction = 1.0f;
        b.state = bead::rolling;
        b.x = px - vx;
        b.y = py - vy;
        const float to_x = b.x + vx, to_y = b.y + vy;  // the same sums the step makes
        b.step(0, 0);
        return b.x != to_x || b.y != to_y;
    }
};

// Floor, start and flag neither turn nor stop a marble: a centre whose every neighbour cell is
// one of them moves as its speed says.
bool open_ground(char code)
{
    return code == '.' || code == 'A' || code == 'F';
}

// The nodes of the inner board where the tiles move a marble's centre. False if stopped.
bool find_held(const field *f, board &b, progress_watch &watch)
{
    bool open[cells][cells] = {};
    for (int r = 1; r < cells - 1; r++)
        for (int c = 1; c < cells - 1; c++) {
            bool all = true;
            for (int dr = -1; dr <= 1; dr++)
                for (int dc = -1; dc <= 1; dc++)
                    all = all && open_ground(b.code[r + dr][c + dc]);
            open[r][c] = all;
        }
    // The probe's half-pixel steps may end in the next cell, whose neighbours then count.
    auto quiet = [&](int px, int py) {
        const int c0 = (2 * px - 1) / (2 * grid::cell), c1 = (2 * px + 1) / (2 * grid::cell);
        const int r0 = (2 * py - 1) / (2 * grid::cell), r1 = (2 * py + 1) / (2 * grid::cell);
        return open[r0][c0] && open[r0][c1] && open[r1][c0] && open[r1][c1];
    };
    probe p(f);
    b.held.assign(nodes * nodes, 0);
    for (int j = 0; j < nodes; j++) {
        const int py = j * spacing;
        if (py < grid::cell || py >= board_px - grid::cell)
            continue;
        if (!watch.go_on(0.05f * j / nodes))
            return false;
        for (int i = 0; i < nodes; i++) {
            const int px = i * spacing;
            if (px >= grid::cell && px < board_px - grid::cell && !quiet(px, py))
                b.held[j * nodes + i] = p.held((float)px, (float)py);
        }
    }
    return true;
}

// How much a node costs to cross, for the distance fields: walls and the reach of holes far
// more than anything, then the ground that slows or throws the marble. `penalty` multiplies
// the cost of every node of a cell: cells where a search got stuck.
struct cost_map {
    static constexpr float blocked = 60.0f;
    std::vector<float> ground;  // nodes * nodes, before the penalties
    std::vector<float> weight;
    enum kind : char { open, wall, pit };  // pit: a hole pulls a centre there
    std::vector<char> ground_kind;         // nodes * nodes

    explicit cost_map(const board &b)
    {
        ground.assign(nodes * nodes, 1.0f);
        ground_kind.assign(nodes * nodes, wall);
        for (int j = 0; j < nodes; j++)
            for (int i = 0; i < nodes; i++) {
                const int px = i * spacing, py = j * spacing;
                float &w = ground[j * nodes + i];
                if (px < grid::cell || py < grid::cell || px >= board_px - grid::cell ||
                    py >= board_px - grid::cell || b.held[j * nodes + i]) {
                    w = blocked;
                    continue;
                }
                ground_kind[j * nodes + i] = open;
                const int r = py / grid::cell, c = px / grid::cell;
                const char own = b.code[r][c];
                if (own == '#')
                    w = 12.0f;
                else if (own == 'B')
                    w = 6.0f;
                else if (own == 'V')
                    w = 2.5f;
                else if (own == 'n' || own == 's' || own == 'e' || own == 'w')
                    w = 1.5f;
                // The reach of every hole within a cell, with a margin.
                for (int dr = -1; dr <= 1; dr++)
                    for (int dc = -1; dc <= 1; dc++) {
                        const int rr = r + dr, cc = c + dc;
                        if (rr < 0 || cc < 0 || rr >= cells || cc >= cells || b.code[rr][cc] != 'O')
                            continue;
                        const float dx = px - grid::cell_centre(cc), dy = py - grid::cell_centre(rr);
                        if (dx * dx + dy * dy <= 27.0f * 27.0f) {
                            w = blocked;
                            ground_kind[j * nodes + i] = pit;
                        }
                    }
            }
        weight = ground;
    }

    void apply(const std::vector<float> &penalty)
    {
        for (int j = 0; j < nodes; j++)
            for (int i = 0; i < nodes; i++) {
                const int k = j * nodes + i;
                const float g = ground[k];
                const int r = std::min(j * spacing / grid::cell, cells - 1);
                const int c = std::min(i * spacing / grid::cell, cells - 1);
                weight[k] = g >= blocked ? g : std::min(g * penalty[r * cells + c], 50.0f);
            }
    }
};

struct distance_field {
    std::vector<float> d;

    // The distance at (x, y) and its slope per pixel along x and y, of the same four nodes.
    float at(float x, float y, float &gx, float &gy) const
    {
        x = std::min(std::max(x / spacing, 0.0f), (float)nodes - 1.001f);
        y = std::min(std::max(y / spacing, 0.0f), (float)nodes - 1.001f);
        const int ix = (int)x, iy = (int)y;
        const float fx = x - ix, fy = y - iy;
        const float *row = &d[iy * nodes + ix];
        const float top = row[0] * (1 - fx) + row[1] * fx, bottom = row[nodes] * (1 - fx) + row[nodes + 1] * fx;
        gx = ((row[1] - row[0]) * (1 - fy) + (row[nodes + 1] - row[nodes]) * fy) / spacing;
        gy = (bottom - top) / spacing;
        return top * (1 - fy) + bottom * fy;
    }

    float at(float x, float y) const
    {
        // Bilinear between the four nodes around the point.
        x = std::min(std::max(x / spacing, 0.0f), (float)nodes - 1.001f);
        y = std::min(std::max(y / spacing, 0.0f), (float)nodes - 1.001f);
        const int ix = (int)x, iy = (int)y;
        const float fx = x - ix, fy = y - iy;
        const float *row = &d[iy * nodes + ix];
        return (row[0] * (1 - fx) + row[1] * fx) * (1 - fy) + (row[nodes] * (1 - fx) + row[nodes + 1] * fx) * fy;
    }
};

// Cost-weighted distance in board pixels from every node to the pick-up circle of the flag at
// (r, c). False if stopped.
//
// No step between nodes costs less than `slot`, so the nodes queued in one slot of distances
// cannot shorten each other's way: a ring of slots is an exact queue, and far cheaper than a
// heap.
bool distances_to_flag(const cost_map &m, int r, int c, distance_field &f, progress_watch &watch, float share)
{
    constexpr float slot = spacing;  // one straight step over the cheapest ground
    constexpr int ring = 128;        // more slots than the dearest step spans
    static_assert(1.5f * spacing * cost_map::blocked / slot + 2 < ring, "the ring must hold every step");
    const float inf = 1e30f;
    f.d.assign(nodes * nodes, inf);
    std::vector<std::vector<int>> queued(ring);
    long waiting = 0;
    const int fx = grid::cell_centre(c), fy = grid::cell_centre(r);
    for (int j = 0; j < nodes; j++)
        for (int i = 0; i < nodes; i++) {
            const int dx = i * spacing - fx, dy = j * spacing - fy;
            if (dx * dx + dy * dy < 24 * 24 && m.weight[j * nodes + i] < cost_map::blocked) {
                f.d[j * nodes + i] = 0;
                queued[0].push_back(j * nodes + i);
                waiting++;
            }
        }
    const int ndx[8] = {1, -1, 0, 0, 1, 1, -1, -1};
    const int ndy[8] = {0, 0, 1, -1, 1, -1, 1, -1};
    const int step[8] = {1, -1, nodes, -nodes, nodes + 1, 1 - nodes, nodes - 1, -nodes - 1};
    const float nlen[8] = {1, 1, 1, 1, 1.41421f, 1.41421f, 1.41421f, 1.41421f};
    const float *w = m.weight.data();
    float *d = f.d.data();
    long popped = 0;
    for (long at = 0; waiting > 0; at++) {
        std::vector<int> &here = queued[at % ring];
        // Nodes queued while this slot is worked on go to later slots.
        for (size_t q = 0; q < here.size(); q++) {
            const int k = here[q];
            const float dk = d[k];
            if ((long)(dk / slot) != at)
                continue;  // queued again nearer since
            if ((++popped & 4095) == 0 && !watch.go_on(share))
                return false;
            const int i = k % nodes, j = k / nodes;
            const bool inside = i > 0 && j > 0 && i < nodes - 1 && j < nodes - 1;
            for (int n = 0; n < 8; n++) {
                if (!inside) {
                    const int ni = i + ndx[n], nj = j + ndy[n];
                    if (ni < 0 || nj < 0 || ni >= nodes || nj >= nodes)
                        continue;
                }
                const int kn = k + step[n];
                const float nd = dk + nlen[n] * (0.5f * spacing) * (w[k] + w[kn]);
                if (nd < d[kn]) {
                    d[kn] = nd;
                    queued[(long)(nd / slot) % ring].push_back(kn);
                    waiting++;
                }
            }
        }
        waiting -= (long)here.size();
        here.clear();
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// The game run without its input and drawing: the same frames the run plays, on one marble
// whose state can be saved and put back.

struct snapshot {
    float x, y, old_x, old_y;
    Vektor speed, tilt_acc, slope_acc, hole_pull, tile_push;
    int tilt_x, tilt_y, mickey_x, mickey_y;
    int aim_x, aim_y;  // the hand's aim, the tilt its mouse moves towards
    float key_x, key_y;
    char state, bounced;
    int flags_left;
    tile *restart_tile;
    float cur_friction;
    uint64_t taken;  // by index in flag_tiles
    uint64_t fired;  // by index in bumper_tiles
};

struct run {
    bead marble;
    field *level = nullptr;
    std::vector<flag_tile *> flag_tiles;
    std::vector<bumper_tile *> bumper_tiles;
    snapshot start{};
    int aim_x = 0, aim_y = 0;

    explicit run(field *f) : level(f)
    {
        marble.current_field = f;  // the marble deletes it
        for (int i = 0; i < f->rows; i++)
            for (int j = 0; j < f->columns; j++) {
                tile *t = f->tiles[i][j];
                if (auto *fl = dynamic_cast<flag_tile *>(t))
                    flag_tiles.push_back(fl);
                if (auto *bu = dynamic_cast<bumper_tile *>(t))
                    bumper_tiles.push_back(bu);
            }
        // What start_bead sets before the first frame.
        bead &b = marble;
        b.stop_motion();
        b.mickey_x = b.mickey_y = 0;
        b.cur_friction = b.friction;
        b.flags_left = 0;
        for (int i = 0; i < f->rows; i++)
            for (int j = 0; j < f->columns; j++)
                if (f->codes[i][j] == 'F')
                    b.flags_left++;
        b.state = bead::rolling;
        b.bounced = 0;
        b.restart_tile = f->start_point;
        b.x = b.old_x = (float)f->start_point->x;
        b.y = b.old_y = (float)f->start_point->y;
        save(start);
    }

    void save(snapshot &s) const
    {
        const bead &b = marble;
        s.x = b.x;
        s.y = b.y;
        s.old_x = b.old_x;
        s.old_y = b.old_y;
        s.speed = b.speed;
        s.tilt_acc = b.tilt_acc;
        s.slope_acc = b.slope_acc;
        s.hole_pull = b.hole_pull;
        s.tile_push = b.tile_push;
        s.tilt_x = b.tilt_x;
        s.tilt_y = b.tilt_y;
        s.mickey_x = b.mickey_x;
        s.mickey_y = b.mickey_y;
        s.aim_x = aim_x;
        s.aim_y = aim_y;
        s.key_x = b.keys.x;
        s.key_y = b.keys.y;
        s.state = b.state;
        s.bounced = b.bounced;
        s.flags_left = b.flags_left;
        s.restart_tile = b.restart_tile;
        s.cur_friction = b.cur_friction;
        s.taken = 0;
        for (size_t i = 0; i < flag_tiles.size(); i++)
            if (flag_tiles[i]->taken)
                s.taken |= uint64_t(1) << i;
        s.fired = 0;
        for (size_t i = 0; i < bumper_tiles.size(); i++)
            if (bumper_tiles[i]->fired)
                s.fired |= uint64_t(1) << i;
    }

    void load(const snapshot &s)
    {
        bead &b = marble;
        b.x = s.x;
        b.y = s.y;
        b.old_x = s.old_x;
        b.old_y = s.old_y;
        b.speed = s.speed;
        b.tilt_acc = s.tilt_acc;
        b.slope_acc = s.slope_acc;
        b.hole_pull = s.hole_pull;
        b.tile_push = s.tile_push;
        b.tilt_x = s.tilt_x;
        b.tilt_y = s.tilt_y;
        b.mickey_x = s.mickey_x;
        b.mickey_y = s.mickey_y;
        aim_x = s.aim_x;
        aim_y = s.aim_y;
        b.keys.x = s.key_x;
        b.keys.y = s.key_y;
        b.state = s.state;
        b.bounced = s.bounced;
        b.flags_left = s.flags_left;
        b.restart_tile = s.restart_tile;
        b.cur_friction = s.cur_friction;
        for (size_t i = 0; i < flag_tiles.size(); i++)
            flag_tiles[i]->taken = (s.taken >> i) & 1;
        for (size_t i = 0; i < bumper_tiles.size(); i++)
            bumper_tiles[i]->fired = (s.fired >> i) & 1;
    }

    // One frame as the game's run plays it, the drawing left out: the mouse moved to tilt the
    // board to `target` (its sum as the run keeps it) and the arrow keys held as `keys`
    // (key_bit bits); the tilt the rules were given goes to `tilts`. While a hole pulls the
    // marble the run reads no input, and the mouse's move waits for the next frame. True if the
    // marble fell into a hole.
    bool frame(std::pair<int, int> target, uint8_t keys, std::vector<run_tilt> *tilts)
    {
        bead &b = marble;
        if (!(b.hole_pull.Langd() > 0)) {
            b.mickey_x = target.first - b.tilt_x;
            b.mickey_y = target.second - b.tilt_y;
            b.tilt_x = target.first;
            b.tilt_y = target.second;
            b.keys.step(((keys & key_right) ? 1 : 0) - ((keys & key_left) ? 1 : 0),
                        ((keys & key_down) ? 1 : 0) - ((keys & key_up) ? 1 : 0));
            b.board_tilt_x = clamp_tilt(b.tilt_x * b.sensitivity + b.keys.x);
            b.board_tilt_y = clamp_tilt(b.tilt_y * b.sensitivity + b.keys.y);
        }
        b.step(b.board_tilt_x, b.board_tilt_y);
        if (tilts)
            tilts->push_back(run_tilt{b.board_tilt_x, b.board_tilt_y});
        if (!b.events.fell)
            return false;
        // As the run restarts: on the last flag, at rest, the mouse's and the keys' sums at zero.
        b.come_back();
        b.stop_motion();
        b.mickey_x = b.mickey_y = 0;
        aim_x = aim_y = 0;
        return true;
    }

    // One frame of a hand: on frame `at` of a decision the aim becomes `aim`; the mouse moves
    // towards the aim at a hand's speed. True if the marble fell.
    bool hand_frame(int k, int at, std::pair<int, int> aim, std::vector<run_tilt> *tilts)
    {
        if (k == at) {
            aim_x = aim.first;
            aim_y = aim.second;
        }
        auto towards = [](int from, int to) {
            return from + std::max(-hand_model::rate, std::min(hand_model::rate, to - from));
        };
        return frame({towards(marble.tilt_x, aim_x), towards(marble.tilt_y, aim_y)}, 0, tilts);
    }
};

// A number in [-span, span] drawn from the four keys alike every time.
int drawn(unsigned seed, long a, long b, int c, int span)
{
    uint64_t h = ((uint64_t)seed * 0x9E3779B97F4A7C15ULL) ^ ((uint64_t)(a + 1) * 0xBF58476D1CE4E5B9ULL) ^
                 ((uint64_t)(b + 1) * 0x94D049BB133111EBULL) ^ (uint64_t)(c + 1);
    h ^= h >> 31;
    h *= 0xD6E8FEB86CA6D9C5ULL;
    h ^= h >> 29;
    return (int)(h % (uint64_t)(2 * span + 1)) - span;
}

// A decision as a hand carries it out: the tilt meant missed by its error, the moment by its delay.
struct hand_error {
    int dx, dy, late;
};
hand_error hand_error_at(unsigned seed, long who, long decision)
{
    return {drawn(seed, who, decision, 0, hand_model::error), drawn(seed, who, decision, 1, hand_model::error),
            drawn(seed, who, decision, 2, hand_model::jitter / 2) + hand_model::jitter / 2};
}

int clamp_count(int v)
{
    const int limit = (int)bead::tilt_limit;
    return std::max(-limit, std::min(limit, v));
}

// ---------------------------------------------------------------------------------------------
// The beam search: every round each kept run tries each of the nine choices for a few frames,
// runs that fall are dropped, runs in one cell of position and speed are one, and the best by
// flags taken and distance to the next flag go on.

// The hand's choices: each axis of the board tilted fully one way, the other, or level. A run
// as fast as it can be mostly holds the tilt at a limit, and three choices an axis instead of
// five make the search three times cheaper with runs as short.
const int tilt_steps[3] = {-200, 0, 200};
constexpr int choices = 9;

// Keyboard play: each of the nine choices holds nothing, one arrow key or two at right angles.
uint8_t key_choice(int a)
{
    int dx = a % 3 - 1, dy = a / 3 - 1;
    return (uint8_t)((dx < 0 ? key_left : 0) | (dx > 0 ? key_right : 0) | (dy < 0 ? key_up : 0) |
                     (dy > 0 ? key_down : 0));
}

struct node {
    snapshot s;
    float score;  // lower is better
    float togo;   // the rest of the tour's length
    int lead;     // the order's flags taken before its first one left
};

// How a kept run came to be: the run it grew from in the round before and the choice it made.
struct link {
    int parent;
    uint8_t action;
};

// How far back a search keeps its runs' states, to go back to when every run falls.
constexpr long memory = 64;

// A search between two rounds: all it needs to go on. Two orders of the flags that begin
// alike search alike until some run takes the flags they share, so the second goes on from
// the first's search as it stood then.
struct beam {
    long round = 0;
    std::vector<node> layer;                // the runs to grow in this round
    std::vector<std::vector<link>> links;   // each round's runs, best first
    std::vector<std::vector<node>> recent;  // the last `memory` rounds' runs
    long top = 0;                           // the last round ever kept
    int falls = 0, stalls = 0;
    long fell_at = -1;
    float best_seen = 1e30f;
    long best_round = 0;
    std::vector<float> penalty;  // by cell: where the search got stuck
    std::vector<float> pace;     // the shortest rest of the tour in each round, never growing
    float planned = 0;           // the length of the order it follows
    int shared = 0;              // the flags that order shares with the one it went on from
};

// One search's outcome: the choices of the winning run, one per round, its length and pace.
struct attempt {
    bool won = false;
    std::vector<uint8_t> actions;
    long frames = 0;
    std::vector<float> pace;
};

struct solver {
    const board &level;
    const std::string &level_text;
    unsigned noise_seed = 7;  // the errors the search's own shadows make
    long round_now = 0;       // the round played
    run &game;
    const solve_settings &opt;
    progress_watch &watch;
    cost_map costs;
    std::vector<distance_field> plain;     // one per flag, with no penalty
    std::vector<distance_field> fields;    // with the beam's penalties, remade when next asked for
    std::vector<bool> fresh;
    bool costs_fresh = true;  // costs.weight holds *penalty
    std::vector<float> *penalty = nullptr;
    std::vector<std::vector<float>> legs;  // [from][to]; from the start at [flags]
    std::vector<std::vector<int>> orders;  // the flags' orders to try, shortest first
    std::vector<int> order;                // the one followed now
    float planned = 1;                     // its length
    std::vector<std::pair<std::vector<int>, beam>> shared;  // by the flags the order begins with
    long stepped = 0;                      // frames stepped by the search
    float tried = 0;                       // orders tried, for the progress

    solver(const board &b, const std::string &text, run &g, const solve_settings &o, progress_watch &w)
        : level(b), level_text(text), game(g), opt(o), watch(w), costs(b)
    {
    }

    node start_node() const { return node{game.start, 0, planned, 0}; }

    // The distance fields and the orders to try: `forced` alone when it is given, else the
    // shortest ones by the fields. False if stopped.
    bool prepare(const std::vector<int> &forced)
    {
        const int n = (int)level.flags.size();
        plain.resize(n);
        for (int k = 0; k < n; k++)
            if (!distances_to_flag(costs, level.flags[k].first, level.flags[k].second, plain[k], watch,
                                   0.05f + 0.05f * k / n))
                return false;
        legs.assign(n + 1, std::vector<float>(n, 0));
        for (int from = 0; from <= n; from++) {
            const int r = from < n ? level.flags[from].first : level.start_r;
            const int c = from < n ? level.flags[from].second : level.start_c;
            for (int to = 0; to < n; to++)
                legs[from][to] = plain[to].at(grid::cell_centre(c), grid::cell_centre(r));
        }
        if (forced.empty()) {
            orders = shortest_orders(opt.tries);
            return true;
        }
        // The flags the order leaves out follow it, nearest first.
        std::vector<int> o = forced;
        while ((int)o.size() < n) {
            int best = -1;
            for (int k = 0; k < n; k++)
                if (std::find(o.begin(), o.end(), k) == o.end() &&
                    (best < 0 || legs[o.back()][k] < legs[o.back()][best]))
                    best = k;
            o.push_back(best);
        }
        orders.assign(1, o);
        return true;
    }

    float length(const std::vector<int> &o) const
    {
        float len = legs[o.size()][o[0]];
        for (size_t i = 1; i < o.size(); i++)
            len += legs[o[i - 1]][o[i]];
        return len;
    }

    // Every order when there are few flags, else nearest first from each flag as the first one.
    std::vector<std::vector<int>> shortest_orders(int want) const
    {
        const int n = (int)level.flags.size();
        std::vector<std::pair<float, std::vector<int>>> all;
        std::vector<int> perm(n);
        std::iota(perm.begin(), perm.end(), 0);
        if (n <= 8) {
            do
                all.push_back({length(perm), perm});
            while (std::next_permutation(perm.begin(), perm.end()));
        } else {
            for (int first = 0; first < n; first++) {
                std::vector<int> p{first};
                std::vector<bool> used(n, false);
                used[first] = true;
                for (int i = 1; i < n; i++) {
                    int best = -1;
                    for (int k = 0; k < n; k++)
                        if (!used[k] && (best < 0 || legs[p.back()][k] < legs[p.back()][best]))
                            best = k;
                    used[best] = true;
                    p.push_back(best);
                }
                all.push_back({length(p), p});
            }
        }
        std::stable_sort(all.begin(), all.end(), [](const auto &l, const auto &r) { return l.first < r.first; });
        std::vector<std::vector<int>> out;
        for (int i = 0; i < (int)all.size() && (int)out.size() < want; i++)
            out.push_back(all[i].second);
        return out;
    }

    const distance_field &field_of(int k)
    {
        if (!fresh[k]) {
            if (!costs_fresh)
                costs.apply(*penalty);
            costs_fresh = true;
            distances_to_flag(costs, level.flags[k].first, level.flags[k].second, fields[k], watch, 0);
            fresh[k] = true;
        }
        return fields[k];
    }

    // Makes the cell under `s` dearer, for every field.
    void steer_from(const snapshot &s)
    {
        const int r = board_cell(s.y, cells), c = board_cell(s.x, cells);
        (*penalty)[r * cells + c] *= 8.0f;
        fresh.assign(fresh.size(), false);
        costs_fresh = false;
        if (opt.verbose)
            std::fprintf(stderr, "  stuck at cell (%d, %d), steering round it\n", r, c);
    }

    // Flags still to take count first, then the distance to the next one in the order.
    void rate(node &n)
    {
        const snapshot &s = n.s;
        int untaken = 0, next = -1, at = -1;
        float rest = 0;
        n.lead = (int)order.size();
        for (int i = 0; i < (int)order.size(); i++) {
            const int k = order[i];
            if ((s.taken >> k) & 1)
                continue;
            untaken++;
            if (next < 0) {
                next = k;
                n.lead = i;
            } else {
                rest += legs[at][k];
            }
            at = k;
        }
        if (next < 0) {
            n.score = n.togo = 0;
            return;
        }
        // Where the marble would be in a few frames at its speed, along the field's slope: a
        // run that is moving towards the flag beats one that stands a little nearer, so the
        // search also takes run-ups (a bumper in the way needs more than 6 pixels a frame).
        float gx, gy;
        const float d = field_of(next).at(s.x, s.y, gx, gy);
        const float g2 = gx * gx + gy * gy;
        float ahead = 0;
        if (g2 > 0.0625f && g2 < 4.0f)  // on open ground, not across a wall's edge
            ahead = (s.speed.x * gx + s.speed.y * gy) / std::sqrt(g2);
        n.togo = d + rest;
        n.score = untaken * 1e6f + d + opt.lookahead * ahead + danger(s);
    }

    // A marble too fast to turn before a hole is as good as fallen: the line it coasts along,
    // up to the first wall that would turn it, is looked along for a hole's reach, the nearer
    // the dearer. The mouse tilts the board at once and needs no such care; the keys tilt it
    // slowly, and a hand decides late.
    float danger(const snapshot &s) const
    {
        const int horizon = opt.keys || opt.hand ? 24 : 0;
        int last = -1;
        for (int t = 1; t <= horizon; t++) {
            const float x = (s.x + s.speed.x * t) * (1.0f / spacing), y = (s.y + s.speed.y * t) * (1.0f / spacing);
            if (!(x > -0.5f && y > -0.5f && x < nodes - 0.5f && y < nodes - 0.5f))
                return 0;
            const int k = (int)(y + 0.5f) * nodes + (int)(x + 0.5f);
            if (k == last)
                continue;  // a slow marble looks at one node many times
            last = k;
            if (costs.ground_kind[k] == cost_map::pit)
                return 40.0f * (horizon + 1 - t);
            if (costs.ground_kind[k] == cost_map::wall)
                return 0;
        }
        return 0;
    }

    static uint64_t key(const snapshot &s)
    {
        uint64_t h = s.taken * 1000003ULL;
        auto mix = [&](long v) { h = (h ^ (uint64_t)(v + 100000)) * 1099511628211ULL; };
        mix((long)std::floor(s.x / 2.0f));
        mix((long)std::floor(s.y / 2.0f));
        mix((long)std::floor(s.speed.x / 0.6f));
        mix((long)std::floor(s.speed.y / 0.6f));
        mix((long)std::floor(s.tile_push.x * 10));
        mix((long)std::floor(s.tile_push.y * 10));
        mix((long)s.fired);
        mix((long)std::floor(s.key_x / 20.0f));
        mix((long)std::floor(s.key_y / 20.0f));
        return h;
    }

    // Frame `k` of a round of choice `a`; true if the marble fell.
    bool play(int a, int k, std::vector<run_tilt> *tilts)
    {
        if (opt.hand)
            return game.hand_frame(k, first_move(), {tilt_steps[a % 3], tilt_steps[a / 3]}, tilts);
        if (opt.keys)
            return game.frame({0, 0}, key_choice(a), tilts);
        return game.frame({tilt_steps[a % 3], tilt_steps[a / 3]}, 0, tilts);
    }

    // The share of the work done: of the orders to try, of the rounds this one may take, or of
    // the budget, whichever is furthest.
    bool go_on(const beam &b, long rounds)
    {
        const float near = std::max(1.0f - b.layer.front().togo / planned, (float)b.round / (float)rounds);
        const float share = std::max((tried + std::min(1.0f, near)) / (float)orders.size(),
                                     (float)stepped / (float)std::max(1L, opt.budget));
        return watch.go_on(0.1f + 0.9f * share);
    }

    beam fresh_beam() const
    {
        beam b;
        b.layer.assign(1, start_node());
        b.recent.resize(memory);
        b.penalty.assign(cells * cells, 1.0f);
        b.planned = planned;
        return b;
    }

    // A winning run shorter than `shorter_than` frames, within `allowance` frames stepped,
    // going on from `b`. A search that falls well behind `pace` (the best run's so far) gives
    // up. Where some run first takes the order's first m flags, for each m marked in `keep`,
    // the search as it stood is kept in `shared` for the orders to come.
    attempt search(beam &b, long shorter_than, long allowance, const std::vector<float> &pace,
                   const std::vector<bool> &keep)
    {
        attempt out;
        penalty = &b.penalty;
        const long rounds = (std::min(opt.max_frames, shorter_than - 1) + opt.epoch - 1) / opt.epoch;
        const long until = stepped + allowance;
        int kept_upto = b.shared;
        std::vector<std::pair<node, link>> next;
        std::vector<std::pair<float, int>> ranked;
        std::vector<int> table;  // open addressing by key(): the best run in each cell
        std::vector<uint64_t> keys;
        while (b.round < rounds) {
            const long round = b.round;
            next.clear();
            int lead = 0;
            for (int pi = 0; pi < (int)b.layer.size(); pi++) {
                if (!go_on(b, rounds) || stepped > until)
                    return out;
                round_now = round;
                for (int a = 0; a < choices; a++) {
                    game.load(b.layer[pi].s);
                    bool lost = false;
                    for (int k = 0; k < opt.epoch && !lost; k++) {
                        stepped++;
                        lost = play(a, k, nullptr);
                        if (lost || game.marble.flags_left > 0)
                            continue;
                        const long frames = round * opt.epoch + k + 1;
                        if (frames >= shorter_than)
                            return out;
                        std::vector<uint8_t> actions(1, (uint8_t)a);
                        for (long li = round - 1, at = pi; li >= 0; li--) {
                            actions.push_back(b.links[li][at].action);
                            at = b.links[li][at].parent;
                        }
                        std::reverse(actions.begin(), actions.end());
                        // A hand's win must hold under a hand's errors; else the search goes on.
                        if (opt.hand && !robust(actions, frames)) {
                            lost = true;
                            continue;
                        }
                        out.frames = frames;
                        out.actions = std::move(actions);
                        out.won = true;
                        out.pace = b.pace;
                        return out;
                    }
                    if (lost || game.marble.hole_pull.Langd() > 0)
                        continue;
                    next.emplace_back();
                    game.save(next.back().first.s);
                    if (opt.hand && !errors_hold(b.layer[pi].s, a, round)) {
                        next.pop_back();
                        continue;
                    }
                    next.back().second = link{pi, (uint8_t)a};
                    rate(next.back().first);
                    lead = std::max(lead, next.back().first.lead);
                }
            }
            // Up to here an order that begins with the same m flags would have searched alike.
            for (int m = kept_upto + 1; m <= lead && m < (int)keep.size(); m++)
                if (keep[m])
                    shared.push_back({std::vector<int>(order.begin(), order.begin() + m), b});
            kept_upto = std::max(kept_upto, lead);
            if (next.empty()) {
                // Every run fell or is falling: the cell where they were lost is made dearer,
                // so that the fields steer elsewhere, and the search goes back a few rounds,
                // further each time it happens again.
                b.falls = round > b.fell_at ? 1 : b.falls + 1;
                b.fell_at = std::max(b.fell_at, round);
                if (b.falls > 5)
                    return out;
                steer_from(b.layer.front().s);
                // Rounds before the last `memory` ever kept may have been overwritten.
                b.round = std::max(round - (2L << b.falls), b.top - memory + 2);
                if (b.round < 1) {
                    b.round = 0;
                    b.layer.assign(1, start_node());
                } else {
                    b.layer = b.recent[(b.round - 1) % memory];
                }
                b.links.resize(b.round);
                b.pace.resize(b.round);
                for (node &n : b.layer)
                    rate(n);
                if (opt.verbose)
                    std::fprintf(stderr, "  every run falls: back to frame %ld\n", b.round * opt.epoch);
                continue;
            }
            // Runs in one cell of position and speed are one run: the best of them stays.
            // Then the best opt.width of those, in order.
            size_t mask = 64;
            while (mask < 2 * next.size())
                mask <<= 1;
            table.assign(mask, -1);
            mask--;
            keys.resize(next.size());
            for (int i = 0; i < (int)next.size(); i++) {
                const uint64_t h = key(next[i].first.s);
                size_t at = (size_t)(h ^ (h >> 29)) & mask;
                while (table[at] >= 0 && keys[table[at]] != h)
                    at = (at + 1) & mask;
                keys[i] = h;
                if (table[at] < 0 || next[i].first.score < next[table[at]].first.score)
                    table[at] = i;
            }
            ranked.clear();
            for (int i : table)
                if (i >= 0)
                    ranked.push_back({next[i].first.score, i});
            const size_t width = std::min(ranked.size(), (size_t)opt.width);
            std::nth_element(ranked.begin(), ranked.begin() + (width - 1), ranked.end());
            std::sort(ranked.begin(), ranked.begin() + width);
            std::vector<node> &kept = b.recent[round % memory];
            b.top = std::max(b.top, round);
            kept.clear();
            b.links.emplace_back();
            float togo = round ? b.pace[round - 1] : planned;
            for (size_t i = 0; i < width; i++) {
                kept.push_back(next[ranked[i].second].first);
                b.links.back().push_back(next[ranked[i].second].second);
                togo = std::min(togo, kept.back().togo);
            }
            b.pace.push_back(togo);
            // Behind the best run by more than a twelfth of its length (and half a second at
            // least, for short runs): it was as near that many rounds before.
            const long then = std::upper_bound(pace.begin(), pace.end(), togo, std::greater<float>()) - pace.begin();
            if (!pace.empty() && round - then > std::max((long)pace.size() / 12, 48L / opt.epoch)) {
                if (opt.verbose)
                    std::fprintf(stderr, "  behind the best run at frame %ld\n", round * opt.epoch);
                return out;
            }
            if (kept.front().score < b.best_seen - 1.0f) {
                b.best_seen = kept.front().score;
                b.best_round = round;
            } else if ((round - b.best_round) * opt.epoch > opt.stall) {
                // No progress for a while: the field leads into a spot the marble cannot get
                // past (a bumper that throws it back, a slope it cannot climb from there). Make
                // that cell dearer and steer by the new fields; stuck again, this order is
                // given up.
                if (++b.stalls > 1)
                    return out;
                steer_from(kept.front().s);
                b.best_seen = 1e30f;
                for (node &n : kept) {
                    rate(n);
                    b.best_seen = std::min(b.best_seen, n.score);
                }
                b.best_round = round;
            }
            if (opt.verbose && round % 50 == 0)
                std::fprintf(stderr, "  frame %ld: best %.1f at (%.0f, %.0f)\n", round * opt.epoch,
                             kept.front().score, kept.front().s.x, kept.front().s.y);
            b.layer = kept;
            b.round++;
        }
        return out;
    }

    // Plays the chosen rounds again from the start and keeps the tilt of every frame.
    std::vector<run_tilt> record(const std::vector<uint8_t> &actions, long frames)
    {
        std::vector<run_tilt> tilts;
        game.load(game.start);
        round_now = 0;
        for (uint8_t a : actions) {
            for (int k = 0; k < opt.epoch && (long)tilts.size() < frames; k++)
                play(a, k, &tilts);
            round_now++;
        }
        return tilts;
    }

    // Choice `a` in `round` from `from` as a hand carries it out, under each shadow's errors,
    // until the hand can see and mend them: false when one of them drops the marble in a hole.
    bool errors_hold(const snapshot &from, int a, long round)
    {
        if (!hole_within_reach(from))
            return true;
        snapshot here;
        game.save(here);
        bool holds = true;
        for (int j = 0; j < hand_model::shadows && holds; j++) {
            game.load(from);
            const hand_error e = hand_error_at(noise_seed, j, round);
            const std::pair<int, int> aim{clamp_count(tilt_steps[a % 3] + e.dx), clamp_count(tilt_steps[a / 3] + e.dy)};
            for (int k = 0; k < opt.epoch + hand_model::reaction && holds; k++) {
                stepped++;
                holds = !game.hand_frame(k, first_move() + e.late, aim, nullptr);
            }
        }
        game.load(here);
        return holds;
    }

    // The frame of a round where the hand starts to carry out its decision: a reaction time
    // after it, but at once in the first, since the clock starts with the first move.
    int first_move() const { return round_now == 0 ? 0 : hand_model::reaction; }

    // Whether a hole lies where the marble can be before a hand mends its errors: as far as its
    // speed and full tilt take it in that time, and a cell more.
    bool hole_within_reach(const snapshot &s) const
    {
        const float t = (float)(opt.epoch + hand_model::reaction);
        const float speed = std::max(std::fabs(s.speed.x), std::fabs(s.speed.y));
        const int reach = 1 + (int)((speed * t + 0.5f * 0.125f * t * t) / grid::cell);
        const int r = board_cell(s.y, cells), c = board_cell(s.x, cells);
        for (int i = std::max(0, r - reach); i <= std::min(cells - 1, r + reach); i++)
            for (int j = std::max(0, c - reach); j <= std::min(cells - 1, c + reach); j++)
                if (level.code[i][j] == 'O')
                    return true;
        return false;
    }

    // Whether the run of these choices holds for a hand.
    bool robust(const std::vector<uint8_t> &actions, long frames)
    {
        snapshot here;
        game.save(here);
        run_record r;
        r.tilts = record(actions, frames);
        const bool holds = holds_for_a_hand(level_text, r, noise_seed + 1);
        if (opt.verbose)
            std::fprintf(stderr, "  a win in %ld frames: %d of %d replays under a hand's errors win\n", frames,
                         noisy_wins(level_text, r, noise_seed + 1), hand_model::trials);
        game.load(here);
        return holds;
    }

    // The flags orders `i` and `j` begin with alike.
    int common(size_t i, size_t j) const
    {
        int m = 0;
        while (m < (int)orders[i].size() && orders[i][m] == orders[j][m])
            m++;
        return m;
    }

    // The shortest winning run of the orders tried, or empty. Each later order is bounded by
    // the best run so far: it must be shorter, and keep its pace.
    std::vector<run_tilt> solve()
    {
        std::vector<run_tilt> best;
        std::vector<float> pace;
        for (size_t i = 0; i < orders.size() && !watch.stopped(); i++, tried++) {
            order = orders[i];
            planned = std::max(1.0f, length(order));
            if (opt.verbose) {
                std::fprintf(stderr, "order");
                for (int k : order)
                    std::fprintf(stderr, " (%d,%d)", level.flags[k].first, level.flags[k].second);
                std::fprintf(stderr, "\n");
            }
            // Go on from the search of an earlier order that begins the same, as far as it does.
            beam b = fresh_beam();
            for (auto &kept : shared)
                if ((int)kept.first.size() > b.shared &&
                    std::equal(kept.first.begin(), kept.first.end(), order.begin())) {
                    b = kept.second;
                    b.shared = (int)kept.first.size();
                }
            // The rests of the two tours differ by what their ends differ.
            for (float &p : b.pace)
                p += planned - b.planned;
            b.planned = planned;
            // Where a later order will want to go on from this one's search.
            std::vector<bool> keep(order.size(), false);
            for (size_t j = i + 1; j < orders.size(); j++) {
                int before = 0;
                for (size_t e = 0; e < i; e++)
                    before = std::max(before, common(e, j));
                if (common(i, j) > before && common(i, j) < (int)order.size())
                    keep[common(i, j)] = true;
            }
            fields = plain;
            const bool unsteered = std::all_of(b.penalty.begin(), b.penalty.end(), [](float p) { return p == 1.0f; });
            fresh.assign(fields.size(), unsteered);
            costs_fresh = false;
            penalty = &b.penalty;
            for (node &n : b.layer)
                rate(n);
            const long before = stepped;
            // An order that finds no win leaves its share of the budget to the next ones.
            const long allowance = (opt.budget - stepped) / (long)(orders.size() - i);
            attempt a = search(b, best.empty() ? opt.max_frames + 1 : (long)best.size(), allowance, pace, keep);
            if (opt.verbose)
                std::fprintf(stderr, "  %s, %ld frames stepped%s\n",
                             a.won ? ("won in " + std::to_string(a.frames) + " frames").c_str() : "no win",
                             stepped - before, b.shared ? ", going on from an earlier order" : "");
            if (a.won) {
                best = record(a.actions, a.frames);
                pace = std::move(a.pace);
            }
        }
        return best;
    }
};

// ---------------------------------------------------------------------------------------------

bool read_board(field *f, board &b)
{
    for (int i = 0; i < cells; i++)
        for (int j = 0; j < cells; j++) {
            b.code[i][j] = f->codes[i][j];
            if (b.code[i][j] == 'A') {
                b.start_r = i;
                b.start_c = j;
            }
            if (b.code[i][j] == 'F')
                b.flags.push_back({i, j});
        }
    return !b.flags.empty() && b.flags.size() <= 64;
}

}  // namespace

std::string tile_kinds_on(const field &f)
{
    std::string used;
    for (int k = 0; k < tile_kind_count; k++) {
        bool found = false;
        for (int i = 0; i < f.rows && !found; i++)
            for (int j = 0; j < f.columns && !found; j++)
                found = f.codes[i][j] == tile_kinds[k].code;
        if (found)
            used += tile_kinds[k].code;
    }
    return used;
}

bool solve_text(const std::string &level_text, const solve_settings &asked,
                const std::vector<std::pair<int, int>> &order, run_record &found, std::string &why,
                const std::function<bool(float)> &progress)
{
    // Within what a run file holds and what memory takes: each kept run holds nine children.
    solve_settings opt = asked;
    opt.max_frames = std::max(1L, std::min(opt.max_frames, run_max_frames));
    if (opt.hand) {
        opt.keys = false;
        opt.epoch = hand_model::decision;  // no decision sooner than a hand makes one
        opt.budget *= 5;                   // each decision near a hole is tried under errors too
    }
    if (opt.epoch <= 0)
        opt.epoch = opt.keys ? 12 : 8;
    opt.epoch = std::min<int>(opt.epoch, (int)opt.max_frames);
    opt.width = std::max(1, std::min(opt.width, 4096));
    opt.tries = std::max(1, std::min(opt.tries, 720));
    opt.budget = std::max(1L, opt.budget);
    progress_watch watch(progress);
    std::unique_ptr<field> made(field::from_text(level_text));
    if (!made) {
        why = "cannot build the level";
        return false;
    }
    board b;
    if (!read_board(made.get(), b)) {
        why = "needs between 1 and 64 flags";
        return false;
    }
    std::vector<int> forced;
    for (const auto &cell : order) {
        auto it = std::find(b.flags.begin(), b.flags.end(), cell);
        const std::string at = std::to_string(cell.first) + "," + std::to_string(cell.second);
        if (it == b.flags.end()) {
            why = "no flag at " + at;
            return false;
        }
        if (std::count(forced.begin(), forced.end(), (int)(it - b.flags.begin()))) {
            why = "the flag at " + at + " is named twice";
            return false;
        }
        forced.push_back((int)(it - b.flags.begin()));
    }
    const std::string board_key = level_key(*made);
    if (!watch.go_on(0) || !find_held(made.get(), b, watch)) {
        why = "stopped";
        return false;
    }
    run game(made.release());
    solver s(b, level_text, game, opt, watch);
    const std::vector<run_tilt> best = s.prepare(forced) ? s.solve() : std::vector<run_tilt>();
    if (watch.stopped()) {
        why = "stopped";
        return false;
    }
    watch.done();
    if (best.empty()) {
        why = "not solved: no winning run found within the search's budget";
        return false;
    }
    found = run_record();
    found.board = board_key;
    found.tilts = best;
    // The proof: stepped again on a board of its own, as vinkla-replay steps it.
    const replay_result proof = replay_run(field::from_text(level_text), found);
    if (!proof.won) {
        why = "the run found does not win when stepped again: " + proof.why;
        return false;
    }
    return true;
}

int noisy_wins(const std::string &level_text, const run_record &played, unsigned seed, int trials)
{
    const long frames = (long)played.tilts.size();
    if (frames == 0)
        return 0;
    std::unique_ptr<field> made(field::from_text(level_text));
    if (!made)
        return 0;
    run game(made.release());
    bead &b = game.marble;
    // Where the run itself has its marble at each decision: a hand that sees its marble off the
    // run steers it back, and what it cannot mend is a fall.
    std::vector<snapshot> planned;
    bool won = false;
    for (long i = 0; i < frames && !b.events.fell; i++) {
        if (i % hand_model::decision == 0) {
            planned.emplace_back();
            game.save(planned.back());
        }
        b.step(played.tilts[i].x, played.tilts[i].y);
        won = b.flags_left == 0 && !b.events.fell;
    }
    if (!won)
        return 0;
    int wins = 0;
    for (int t = 0; t < trials; t++) {
        bool fell = false;
        for (long d = 0; d < (long)planned.size() && !fell; d++) {
            game.load(planned[d]);
            const hand_error e = hand_error_at(seed, t, d);
            const long from = d * hand_model::decision, to = from + hand_model::decision + hand_model::reaction;
            for (long i = from; i < to && !fell && b.flags_left > 0; i++) {
                // Late: the tilt of some frames before still held; off: some counts beside it.
                const long at = std::min(i - e.late, frames - 1);
                const run_tilt meant = at < 0 ? run_tilt{} : played.tilts[at];
                b.step(clamp_tilt(meant.x + (float)e.dx), clamp_tilt(meant.y + (float)e.dy));
                fell = b.events.fell;
            }
        }
        wins += !fell;
    }
    return wins;
}

bool holds_for_a_hand(const std::string &level_text, const run_record &run, unsigned seed)
{
    return 2 * noisy_wins(level_text, run, seed) > hand_model::trials;
}

bool solve_level(const std::string &path, const solve_settings &opt, const std::vector<std::pair<int, int>> &order,
                 run_record &found, std::string &why, const std::function<bool(float)> &progress)
{
    std::string text;
    if (!read_level_text(path, text)) {
        why = "cannot read the level";
        return false;
    }
    return solve_text(text, opt, order, found, why, progress);
}

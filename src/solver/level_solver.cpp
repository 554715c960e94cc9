#include "solver/level_solver.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <numeric>
#include <queue>
#include <unordered_map>
#include <utility>
#include <vector>

#include "field/field.h"
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

enum key_bit : uint8_t { key_left = 1, key_right = 2, key_up = 4, key_down = 8 };

float clamp_tilt(float a)
{
    return std::max(-bead::tilt_limit, std::min(bead::tilt_limit, a));
}

// ---------------------------------------------------------------------------------------------
// Where the marble's centre can be: asked of the game's own rules on the game's own field.

struct board {
    char code[cells][cells];
    int start_r = 0, start_c = 0;
    std::vector<std::pair<int, int>> flags;  // row, column; row-major order
    std::vector<char> held;                  // board_px * board_px: the tiles move a centre here
};

// A marble of its own on a field of its own (a step over a flag takes it), stepped by the
// rules with nothing but a set speed and a level board: the step comes out different from the plain sum
// only where a face, a tube channel or a corner point stops or turns the marble.
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

// How much a pixel costs to cross, for the distance fields: walls and the reach of holes far
// more than anything, then the ground that slows or throws the marble.
struct cost_map {
    std::vector<float> weight;  // board_px * board_px
};

// `penalty` multiplies the weight of every pixel of a cell: cells where a search got stuck.
cost_map make_costs(const board &b, const std::vector<float> &penalty)
{
    cost_map m;
    m.weight.assign(board_px * board_px, 1.0f);
    for (int py = 0; py < board_px; py++)
        for (int px = 0; px < board_px; px++) {
            float &w = m.weight[py * board_px + px];
            if (px < grid::cell || py < grid::cell || px >= board_px - grid::cell || py >= board_px - grid::cell ||
                b.held[py * board_px + px]) {
                w = 60.0f;
                continue;
            }
            int r = py / grid::cell, c = px / grid::cell;
            char own = b.code[r][c];
            if (own == '#')
                w = 12.0f;
            else if (own == 'B')
                w = 6.0f;
            else if (own == 'V')
                w = 2.5f;
            else if (own == 'n' || own == 's' || own == 'e' || own == 'w')
                w = 1.5f;
            w = std::min(w * penalty[r * cells + c], 50.0f);
            // The reach of every hole within a cell, with a margin.
            for (int dr = -1; dr <= 1; dr++)
                for (int dc = -1; dc <= 1; dc++) {
                    int rr = r + dr, cc = c + dc;
                    if (rr < 0 || cc < 0 || rr >= cells || cc >= cells || b.code[rr][cc] != 'O')
                        continue;
                    float dx = px - grid::cell_centre(cc), dy = py - grid::cell_centre(rr);
                    if (dx * dx + dy * dy <= 27.0f * 27.0f)
                        w = 60.0f;
                }
        }
    return m;
}

struct distance_field {
    std::vector<float> d;
    float at(float x, float y) const
    {
        // Bilinear between the four pixels around the point.
        x = std::min(std::max(x, 0.0f), (float)board_px - 1.001f);
        y = std::min(std::max(y, 0.0f), (float)board_px - 1.001f);
        int ix = (int)x, iy = (int)y;
        float fx = x - ix, fy = y - iy;
        auto v = [&](int i, int j) { return d[j * board_px + i]; };
        return (v(ix, iy) * (1 - fx) + v(ix + 1, iy) * fx) * (1 - fy) +
               (v(ix, iy + 1) * (1 - fx) + v(ix + 1, iy + 1) * fx) * fy;
    }
};

// Cost-weighted distance from every pixel to the pick-up circle of the flag at (r, c).
distance_field distances_to_flag(const cost_map &m, int r, int c)
{
    distance_field f;
    const float inf = 1e30f;
    f.d.assign(board_px * board_px, inf);
    using item = std::pair<float, int>;
    std::priority_queue<item, std::vector<item>, std::greater<item>> q;
    int fx = grid::cell_centre(c), fy = grid::cell_centre(r);
    for (int py = fy - 25; py <= fy + 25; py++)
        for (int px = fx - 25; px <= fx + 25; px++) {
            if (px < 0 || py < 0 || px >= board_px || py >= board_px)
                continue;
            int dx = px - fx, dy = py - fy;
            if (dx * dx + dy * dy < 24 * 24 && m.weight[py * board_px + px] < 60.0f) {
                f.d[py * board_px + px] = 0;
                q.push({0.0f, py * board_px + px});
            }
        }
    const int ndx[8] = {1, -1, 0, 0, 1, 1, -1, -1};
    const int ndy[8] = {0, 0, 1, -1, 1, -1, 1, -1};
    const float nlen[8] = {1, 1, 1, 1, 1.41421f, 1.41421f, 1.41421f, 1.41421f};
    while (!q.empty()) {
        item it = q.top();
        q.pop();
        int i = it.second;
        if (it.first > f.d[i])
            continue;
        int px = i % board_px, py = i / board_px;
        for (int k = 0; k < 8; k++) {
            int nx = px + ndx[k], ny = py + ndy[k];
            if (nx < 0 || ny < 0 || nx >= board_px || ny >= board_px)
                continue;
            int j = ny * board_px + nx;
            float nd = it.first + nlen[k] * 0.5f * (m.weight[i] + m.weight[j]);
            if (nd < f.d[j]) {
                f.d[j] = nd;
                q.push({nd, j});
            }
        }
    }
    return f;
}

// ---------------------------------------------------------------------------------------------
// The game run without its input and drawing: the same frames the run plays, on one marble
// whose state can be saved and put back.

struct snapshot {
    float x, y, old_x, old_y;
    Vektor speed, tilt_acc, slope_acc, hole_pull, tile_push;
    int tilt_x, tilt_y, mickey_x, mickey_y;
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
        start = save();
    }

    snapshot save() const
    {
        const bead &b = marble;
        snapshot s;
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
        return s;
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
    // (levels_key bits); the tilt the rules were given goes to `tilts`. While a hole pulls the
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
        return true;
    }
};

// ---------------------------------------------------------------------------------------------
// The beam search.

struct plan {
    std::vector<int> order;  // indices into grid::flags
};

const int tilt_steps[5] = {-200, -100, 0, 100, 200};

// Keyboard play: each of the nine choices holds nothing, one arrow key or two at right angles.
uint8_t key_choice(int a)
{
    int dx = a % 3 - 1, dy = a / 3 - 1;
    return (uint8_t)((dx < 0 ? key_left : 0) | (dx > 0 ? key_right : 0) | (dy < 0 ? key_up : 0) |
                     (dy > 0 ? key_down : 0));
}

struct node {
    snapshot s;
    int parent;
    uint8_t action;
    float score;
};

struct solver {
    const board &level;
    run &game;
    solve_settings opt;
    std::vector<float> penalty = std::vector<float>(cells * cells, 1.0f);
    std::vector<distance_field> fields;  // one per flag

    solver(const board &b, run &g, solve_settings o) : level(b), game(g), opt(o) { rebuild(); }

    void rebuild()
    {
        cost_map costs = make_costs(level, penalty);
        fields.clear();
        for (auto &fl : level.flags)
            fields.push_back(distances_to_flag(costs, fl.first, fl.second));
    }

    // Lower is better: flags still to take, then the distance to the next one in the order.
    float score(const plan &p) const
    {
        const bead &b = game.marble;
        int untaken = 0;
        int next = -1;
        for (int k : p.order) {
            if (!flag_taken(k)) {
                untaken++;
                if (next < 0)
                    next = k;
            }
        }
        if (next < 0)
            return -1e9f;
        // Where the marble would be in a few frames at its speed, along the field's slope: a
        // run that is moving towards the flag beats one that stands a little nearer, so the
        // search also takes run-ups (a bumper in the way needs more than 6 pixels a frame).
        const distance_field &f = fields[next];
        float d = f.at(b.x, b.y);
        float gx = f.at(b.x + 1, b.y) - f.at(b.x - 1, b.y);
        float gy = f.at(b.x, b.y + 1) - f.at(b.x, b.y - 1);
        float g = std::sqrt(gx * gx + gy * gy);
        float ahead = 0;
        if (g > 0.5f && g < 4.0f)  // on open ground, not across a wall's edge
            ahead = (b.speed.x * gx + b.speed.y * gy) / g;
        return untaken * 1e6f + d + opt.lookahead * ahead;
    }

    bool flag_taken(int k) const
    {
        // Flags of the board and flag tiles are both in row-major order.
        return game.flag_tiles[k]->taken;
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

    // The tilts of a winning run, one per round, or empty.
    std::vector<uint8_t> search(const plan &p, long &frames_out)
    {
        std::vector<std::vector<node>> layers;
        layers.push_back({node{game.start, -1, 0, 0}});
        long max_rounds = opt.max_frames / opt.epoch;
        float best_seen = 1e30f;
        long best_round = 0;
        for (long round = 0; round < max_rounds; round++) {
            const std::vector<node> &layer = layers.back();
            std::vector<node> next;
            const int choices = opt.keys ? 9 : 25;
            next.reserve(layer.size() * choices);
            for (int pi = 0; pi < (int)layer.size(); pi++) {
                for (int a = 0; a < choices; a++) {
                    game.load(layer[pi].s);
                    std::pair<int, int> target(tilt_steps[a % 5], tilt_steps[a / 5]);
                    bool lost = false;
                    for (int k = 0; k < opt.epoch; k++) {
                        if (opt.keys ? game.frame({0, 0}, key_choice(a), nullptr) : game.frame(target, 0, nullptr)) {
                            lost = true;
                            break;
                        }
                        if (game.marble.flags_left <= 0) {
                            std::vector<uint8_t> actions{(uint8_t)a};
                            int at = pi;
                            for (int li = (int)layers.size() - 1; li > 0; li--) {
                                actions.push_back(layers[li][at].action);
                                at = layers[li][at].parent;
                            }
                            std::reverse(actions.begin(), actions.end());
                            frames_out = round * opt.epoch + k + 1;
                            return actions;
                        }
                    }
                    if (lost || game.marble.hole_pull.Langd() > 0)
                        continue;
                    next.push_back(node{game.save(), pi, (uint8_t)a, score(p)});
                }
            }
            if (next.empty())
                return {};
            std::sort(next.begin(), next.end(),
                      [](const node &l, const node &r) { return l.score < r.score; });
            std::vector<node> kept;
            std::unordered_map<uint64_t, bool> seen;
            for (const node &n : next) {
                if ((int)kept.size() >= opt.width)
                    break;
                if (!seen.emplace(key(n.s), true).second)
                    continue;
                kept.push_back(n);
            }
            // No progress for a while: the field leads into a spot the marble cannot get past
            // (a bumper that throws it back, a slope it cannot climb from there). Make that cell
            // dearer and steer by the new fields.
            if (kept.front().score < best_seen - 1.0f) {
                best_seen = kept.front().score;
                best_round = round;
            } else if ((round - best_round) * opt.epoch > opt.stall) {
                int r = board_cell(kept.front().s.y, cells), c = board_cell(kept.front().s.x, cells);
                penalty[r * cells + c] *= 8.0f;
                if (opt.verbose)
                    std::fprintf(stderr, "  stuck at cell (%d, %d), steering round it\n", r, c);
                rebuild();
                for (node &n : kept) {
                    game.load(n.s);
                    n.score = score(p);
                }
                std::sort(kept.begin(), kept.end(),
                          [](const node &l, const node &r2) { return l.score < r2.score; });
                best_seen = kept.front().score;
                best_round = round;
            }
            if (opt.verbose && round % 50 == 0)
                std::fprintf(stderr, "  frame %ld: best %.1f at (%.0f, %.0f)\n", round * opt.epoch,
                             kept.front().score, kept.front().s.x, kept.front().s.y);
            layers.push_back(std::move(kept));
        }
        return {};
    }

    // Plays the chosen rounds again from the start and keeps the tilt of every frame.
    std::vector<run_tilt> record(const std::vector<uint8_t> &actions, long frames)
    {
        std::vector<run_tilt> tilts;
        game.load(game.start);
        for (uint8_t a : actions) {
            std::pair<int, int> target(tilt_steps[a % 5], tilt_steps[a / 5]);
            for (int k = 0; k < opt.epoch && (long)tilts.size() < frames; k++) {
                if (opt.keys)
                    game.frame({0, 0}, key_choice(a), &tilts);
                else
                    game.frame(target, 0, &tilts);
            }
        }
        return tilts;
    }
};

// ---------------------------------------------------------------------------------------------

// The pixels of the inner board where the tiles move a marble's centre.
void find_held(const field *f, board &b)
{
    probe p(f);
    b.held.assign(board_px * board_px, 0);
    for (int py = grid::cell; py < board_px - grid::cell; py++)
        for (int px = grid::cell; px < board_px - grid::cell; px++)
            b.held[py * board_px + px] = p.held((float)px, (float)py);
}

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

// Orders of the flags, shortest first by the distance fields (start to the first flag, then
// flag to flag).
std::vector<plan> flag_orders(const board &b, const std::vector<distance_field> &fields, int want)
{
    int n = (int)b.flags.size();
    auto pos = [&](int k, float &x, float &y) {
        if (k < 0) {
            x = grid::cell_centre(b.start_c);
            y = grid::cell_centre(b.start_r);
        } else {
            x = grid::cell_centre(b.flags[k].second);
            y = grid::cell_centre(b.flags[k].first);
        }
    };
    auto leg = [&](int from, int to) {
        float x, y;
        pos(from, x, y);
        return fields[to].at(x, y);
    };
    std::vector<std::pair<float, std::vector<int>>> all;
    std::vector<int> perm(n);
    std::iota(perm.begin(), perm.end(), 0);
    if (n <= 8) {
        do {
            float len = leg(-1, perm[0]);
            for (int i = 1; i < n; i++)
                len += leg(perm[i - 1], perm[i]);
            all.push_back({len, perm});
        } while (std::next_permutation(perm.begin(), perm.end()));
    } else {
        // Nearest first, from each flag as the first one.
        for (int first = 0; first < n; first++) {
            std::vector<int> p{first};
            std::vector<bool> used(n, false);
            used[first] = true;
            float len = leg(-1, first);
            for (int i = 1; i < n; i++) {
                int best = -1;
                for (int k = 0; k < n; k++)
                    if (!used[k] && (best < 0 || leg(p.back(), k) < leg(p.back(), best)))
                        best = k;
                len += leg(p.back(), best);
                used[best] = true;
                p.push_back(best);
            }
            all.push_back({len, p});
        }
    }
    std::sort(all.begin(), all.end());
    std::vector<plan> plans;
    for (int i = 0; i < (int)all.size() && (int)plans.size() < want; i++)
        plans.push_back(plan{all[i].second});
    return plans;
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

bool solve_level(const std::string &path, const solve_settings &opt, const std::vector<std::pair<int, int>> &order,
                 run_record &found, std::string &why)
{
    field *f = field::load_field_file(path);
    if (!f || !f->start_point) {
        why = "cannot build the level";
        delete f;
        return false;
    }
    board b;
    if (!read_board(f, b)) {
        why = "needs between 1 and 64 flags";
        delete f;
        return false;
    }
    std::vector<int> forced;
    for (const auto &cell : order) {
        auto it = std::find(b.flags.begin(), b.flags.end(), cell);
        if (it == b.flags.end()) {
            why = "no flag at " + std::to_string(cell.first) + "," + std::to_string(cell.second);
            delete f;
            return false;
        }
        forced.push_back((int)(it - b.flags.begin()));
    }
    const std::string board_key = level_key(*f);
    find_held(f, b);
    run game(f);
    solver s(b, game, opt);
    std::vector<plan> plans;
    if (!forced.empty())
        plans.push_back(plan{forced});
    else
        plans = flag_orders(b, s.fields, opt.tries);
    std::vector<run_tilt> best;
    for (const plan &p : plans) {
        if (opt.verbose) {
            std::fprintf(stderr, "%s: order", path.c_str());
            for (int k : p.order)
                std::fprintf(stderr, " (%d,%d)", b.flags[k].first, b.flags[k].second);
            std::fprintf(stderr, "\n");
        }
        long frames = 0;
        std::vector<uint8_t> actions = s.search(p, frames);
        if (actions.empty())
            continue;
        std::vector<run_tilt> tilts = s.record(actions, frames);
        if (best.empty() || tilts.size() < best.size())
            best = tilts;
        if (opt.verbose)
            std::fprintf(stderr, "  won in %ld frames\n", frames);
        // Each order starts from the plain fields again.
        s.penalty.assign(cells * cells, 1.0f);
        s.rebuild();
    }
    if (best.empty()) {
        why = "no winning run found";
        return false;
    }
    found = run_record();
    found.board = board_key;
    found.tilts = best;
    // The proof: stepped again on a board of its own, as vinkla-replay steps it.
    const replay_result proof = replay_run(field::load_field_file(path), found);
    if (!proof.won) {
        why = "the run found does not win when stepped again: " + proof.why;
        return false;
    }
    return true;
}

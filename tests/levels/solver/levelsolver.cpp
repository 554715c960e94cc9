// levelsolver: finds a winning run of a level with the game's own physics, plays it through the
// game's run and keeps its tilts as a run file beside the level (LEVEL.vkl.mouse.run), which the
// level tests and vinkla-replay step again.
//
//   levelsolver [options] LEVEL.vkl...     solve each level and write its run file
//   levelsolver --keys [options] LEVEL...  the same with the arrow keys: LEVEL.vkl.keys.run
//   levelsolver --check LEVEL.vkl...       step each level's mouse run on the rules
//   levelsolver --audit FRAMES LEVEL...    random play, watching for the marble breaking through
//   levelsolver --picture OUT.bmp LEVEL    draw the board, with the mouse run's path if there is one
//
// The player: every flag gets a distance field over the positions the marble's centre can take
// (walls, tube channels and corner points as the tiles enforce them, the reach of every hole left
// out), weighted by how slow or awkward the ground is. A beam search then steers the tilt: every
// few frames each kept run tries a set of tilts, the real motion step runs them, and the runs that
// got nearest (along the field) to the next flag of the chosen order are kept, one per small box of
// position and speed. Runs that a hole catches are dropped, so a recorded run never falls.
#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <numeric>
#include <queue>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "field/field.h"
#include "field/grid.h"
#include "levels/replay.h"
#include "marble/bead.h"
#include "marble/board_cell.h"
#include "marble/run_replay.h"
#include "records/record_table.h"
#include "rules/run_file.h"
#include "shell/data1.h"
#include "shell/globals.h"
#include "soak/soak_checks.h"
#include "support/fakes.h"
#include "support/headless.h"
#include "support/levels.h"
#include "tiles/bumper_tile.h"
#include "tiles/flag_tile.h"
#include "tiles/tile.h"

namespace {

using grid::cells;
constexpr int board_px = grid::pixels;

// ---------------------------------------------------------------------------------------------
// Where the marble's centre can be: asked of the game's own motion step on the game's own field.

struct board {
    char code[cells][cells];
    int start_r = 0, start_c = 0;
    std::vector<std::pair<int, int>> flags;  // row, column; row-major order
    std::vector<char> held;                  // board_px * board_px: the tiles move a centre here
};

// A marble of its own on a field of its own (a step over a flag takes it), stepped by
// bead::move with nothing but a set speed: the step comes out different from the plain sum
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
        fake::mickeys.clear();
        b.move();
        fake::samples.clear();
        fake::stopped.clear();
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
// The game run without its drawing: the same frames start_bead plays, on one marble whose state
// can be saved and put back.

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
    std::vector<BITMAP *> flag_pictures;
    std::vector<bumper_tile *> bumper_tiles;
    snapshot start{};

    explicit run(field *f) : level(f)
    {
        marble.current_field = f;  // the marble deletes it
        for (int i = 0; i < f->rows; i++)
            for (int j = 0; j < f->columns; j++) {
                tile *t = f->tiles[i][j];
                if (auto *fl = dynamic_cast<flag_tile *>(t)) {
                    flag_tiles.push_back(fl);
                    flag_pictures.push_back(fl->picture);
                }
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
        for (size_t i = 0; i < flag_tiles.size(); i++) {
            bool t = (s.taken >> i) & 1;
            flag_tiles[i]->taken = t;
            flag_tiles[i]->picture = t ? (BITMAP *)data1[OBJ_FLOOR].dat : flag_pictures[i];
        }
        for (size_t i = 0; i < bumper_tiles.size(); i++)
            bumper_tiles[i]->fired = (s.fired >> i) & 1;
    }

    // One frame as start_bead plays it, the drawing left out. The mouse is asked to tilt the board
    // to `target`; the reads the game makes go to `reads`. True if the marble fell into a hole.
    bool frame(std::pair<int, int> target, std::vector<std::pair<int, int>> *reads)
    {
        bead &b = marble;
        std::pair<int, int> m(target.first - b.tilt_x, target.second - b.tilt_y);
        fake::mickeys.clear();
        fake::mickeys.push_back(m);
        b.move();
        if (fake::mickeys.empty() && reads)
            reads->push_back(m);
        return after_move(reads);
    }

    // One frame steered by the arrow keys alone (levels::key_bit), the mouse still.
    bool key_frame(uint8_t keys)
    {
        hold_keys(keys);
        fake::mickeys.clear();
        marble.move();
        hold_keys(0);
        return after_move(nullptr);
    }

    static void hold_keys(uint8_t keys)
    {
        key[KEY_LEFT] = (keys & levels::key_left) != 0;
        key[KEY_RIGHT] = (keys & levels::key_right) != 0;
        key[KEY_UP] = (keys & levels::key_up) != 0;
        key[KEY_DOWN] = (keys & levels::key_down) != 0;
    }

    bool after_move(std::vector<std::pair<int, int>> *reads)
    {
        bead &b = marble;
        fake::mickeys.clear();
        fake::mouse_positions.clear();
        fake::samples.clear();
        fake::stopped.clear();
        if (b.state != bead::fallen)
            return false;
        b.x = (float)b.restart_tile->x;
        b.y = (float)b.restart_tile->y;
        b.mickey_x = b.mickey_y = 0;  // the read that drops movement made during the fall
        if (reads)
            reads->push_back({0, 0});
        b.state = bead::rolling;
        b.stop_motion();
        return true;
    }
};

// ---------------------------------------------------------------------------------------------
// The beam search.

struct settings {
    int width = 160;    // runs kept after each round
    int epoch = 4;      // frames one chosen tilt is held
    long max_frames = 30000;
    int tries = 6;      // flag orders tried
    long stall = 800;   // frames without progress before the spot is marked as a dead end
    float lookahead = 6;  // frames of speed counted as progress
    bool keys = false;    // steer with the arrow keys instead of the mouse
    bool verbose = false;
};

struct plan {
    std::vector<int> order;  // indices into grid::flags
};

const int tilt_steps[5] = {-200, -100, 0, 100, 200};

// Keyboard play: each of the nine choices holds nothing, one arrow key or two at right angles.
uint8_t key_choice(int a)
{
    int dx = a % 3 - 1, dy = a / 3 - 1;
    return (uint8_t)((dx < 0 ? levels::key_left : 0) | (dx > 0 ? levels::key_right : 0) |
                     (dy < 0 ? levels::key_up : 0) | (dy > 0 ? levels::key_down : 0));
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
    settings opt;
    std::vector<float> penalty = std::vector<float>(cells * cells, 1.0f);
    std::vector<distance_field> fields;  // one per flag

    solver(const board &b, run &g, settings o) : level(b), game(g), opt(o) { rebuild(); }

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
                        if (opt.keys ? game.key_frame(key_choice(a)) : game.frame(target, nullptr)) {
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

    // Plays the chosen tilts again from the start and collects the game's reads.
    levels::replay record(const std::vector<uint8_t> &actions, long frames)
    {
        levels::replay r;
        game.load(game.start);
        r.reads.push_back({0, 0});  // the read start_bead makes before the first frame
        long f = 0;
        for (uint8_t a : actions) {
            std::pair<int, int> target(tilt_steps[a % 5], tilt_steps[a / 5]);
            for (int k = 0; k < opt.epoch && f < frames; k++, f++)
                game.frame(target, &r.reads);
        }
        r.frames = f;
        return r;
    }

    // The keys of the chosen rounds, frame by frame.
    levels::key_replay record_keys(const std::vector<uint8_t> &actions, long frames)
    {
        levels::key_replay r;
        for (uint8_t a : actions)
            for (int k = 0; k < opt.epoch && (long)r.frames.size() < frames; k++)
                r.frames.push_back(key_choice(a));
        return r;
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

// Plays a replay through the real game run; true if it took every flag within its frames.
// `kept` gets the tilt of every frame, the run as the game keeps it.
bool play_back(const std::string &path, const levels::replay &r, long &frames, int &falls, run_record &kept)
{
    fake::reset();
    fake::mickeys.assign(r.reads.begin(), r.reads.end());
    bead b;
    frames = 0;
    falls = 0;
    kept.tilts.clear();
    key[KEY_ESC] = 0;
    fake::on_rest = [&]() {
        if (teh_counter == 0) {
            frames++;
            kept.tilts.push_back(run_tilt{b.board_tilt_x, b.board_tilt_y});
        }
        if (b.state == bead::fallen && teh_counter == 0)
            falls++;
        if (frames >= r.frames && b.flags_left > 0)
            key[KEY_ESC] = 1;
    };
    b.start_bead(path);
    key[KEY_ESC] = 0;
    fake::on_rest = nullptr;
    return b.flags_left == 0 && b.state == bead::rolling && fake::alerts.empty();
}

// The same for a keyboard run: each frame's keys are held from the frame before it on.
bool play_back_keys(const std::string &path, const levels::key_replay &r, long &frames, int &falls,
                    run_record &kept)
{
    fake::reset();
    bead b;
    frames = 0;
    falls = 0;
    kept.tilts.clear();
    key[KEY_ESC] = 0;
    const long total = (long)r.frames.size();
    auto hold = [&](long f) { run::hold_keys(f < total ? r.frames[f] : 0); };
    hold(0);
    fake::on_rest = [&]() {
        if (teh_counter == 0) {
            frames++;
            kept.tilts.push_back(run_tilt{b.board_tilt_x, b.board_tilt_y});
            hold(frames);
        }
        if (b.state == bead::fallen && teh_counter == 0)
            falls++;
        if (frames >= total && b.flags_left > 0)
            key[KEY_ESC] = 1;
    };
    b.start_bead(path);
    run::hold_keys(0);
    key[KEY_ESC] = 0;
    fake::on_rest = nullptr;
    return b.flags_left == 0 && b.state == bead::rolling && fake::alerts.empty();
}

std::string kinds_used(const board &b)
{
    std::string used;
    for (char k : levels::all_codes()) {
        bool found = false;
        for (int i = 0; i < cells && !found; i++)
            for (int j = 0; j < cells && !found; j++)
                found = b.code[i][j] == k;
        if (found)
            used += k;
    }
    return used;
}

std::string read_text(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string base_name(const std::string &path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
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

int solve(const std::string &path, const std::string &out_path, settings opt,
          const std::vector<int> &forced_order)
{
    field *f = field::load_field_file(path);
    if (!f || !f->start_point) {
        std::fprintf(stderr, "%s: cannot build the level\n", path.c_str());
        delete f;
        return 1;
    }
    board b;
    if (!read_board(f, b)) {
        std::fprintf(stderr, "%s: needs between 1 and 64 flags\n", path.c_str());
        delete f;
        return 1;
    }
    find_held(f, b);
    run game(f);
    solver s(b, game, opt);
    std::vector<plan> plans;
    if (!forced_order.empty())
        plans.push_back(plan{forced_order});
    else
        plans = flag_orders(b, s.fields, opt.tries);
    levels::replay best;
    levels::key_replay best_keys;
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
        if (opt.keys) {
            levels::key_replay k = s.record_keys(actions, frames);
            if (best_keys.frames.empty() || k.frames.size() < best_keys.frames.size())
                best_keys = k;
        } else {
            levels::replay r = s.record(actions, frames);
            if (best.frames == 0 || r.frames < best.frames)
                best = r;
        }
        if (opt.verbose)
            std::fprintf(stderr, "  won in %ld frames\n", frames);
        // Each order starts from the plain fields again.
        s.penalty.assign(cells * cells, 1.0f);
        s.rebuild();
    }
    if (best.frames == 0 && best_keys.frames.empty()) {
        std::fprintf(stderr, "%s: no winning run found\n", path.c_str());
        return 1;
    }
    long frames = 0;
    int falls = 0;
    run_record kept;
    if (opt.keys ? !play_back_keys(path, best_keys, frames, falls, kept)
                 : !play_back(path, best, frames, falls, kept)) {
        std::fprintf(stderr, "%s: the run found does not win in the real game run\n", path.c_str());
        return 1;
    }
    field *level = field::load_field_file(path);
    kept.board = level_key(*level);
    delete level;
    std::ofstream out(out_path, std::ios::binary | std::ios::trunc);
    out << write_run(kept);
    if (!out) {
        std::fprintf(stderr, "%s: cannot write\n", out_path.c_str());
        return 1;
    }
    std::printf("%s: %zu flags, kinds %s, won in %ld frames -> %s\n", base_name(path).c_str(),
                b.flags.size(), kinds_used(b).c_str(), frames, out_path.c_str());
    return 0;
}

int check(const std::string &path)
{
    run_record r;
    std::string error;
    if (!read_run(read_text(path + ".mouse.run"), r, error)) {
        std::printf("%s: run: %s\n", base_name(path).c_str(), error.c_str());
        return 1;
    }
    field *f = field::load_field_file(path);
    board b;
    if (!f || !read_board(f, b)) {
        std::printf("%s: cannot build the level\n", base_name(path).c_str());
        delete f;
        return 1;
    }
    const replay_result stepped = replay_run(f, r);
    const bool won = stepped.won;
    const long frames = stepped.frames;
    const int falls = stepped.falls;
    std::printf("%-22s %2zu flags  %-22s %6ld frames (%.1f s)%s  %s\n", base_name(path).c_str(),
                b.flags.size(), kinds_used(b).c_str(), frames, frames / 100.0,
                falls ? " with falls" : "", won ? "wins" : "DOES NOT WIN");
    return won ? 0 : 1;
}

// Random play on a level, watching for what the tiles must never let happen: the marble's centre
// in a wall cell, beyond a face, outside a tube's channel, off the board, or not a number.
int audit(const std::string &path, long frames, unsigned seed)
{
    field *f = field::load_field_file(path);
    if (!f || !f->start_point) {
        std::fprintf(stderr, "%s: cannot build the level\n", path.c_str());
        delete f;
        return 1;
    }
    probe tiles(f);
    run game(f);
    game.load(game.start);
    std::srand(seed);
    std::pair<int, int> target(0, 0);
    long faults = 0, falls = 0, flags_taken = 0;
    bool outside_before = false;
    for (long k = 0; k < frames; k++) {
        // Long holds build up speed, quick changes throw the marble about.
        if (k % (std::rand() % 2 ? 5 : 60) == 0)
            target = {std::rand() % 401 - 200, std::rand() % 401 - 200};
        int before = game.marble.flags_left;
        if (game.frame(target, nullptr))
            falls++;
        const bead &m = game.marble;
        if (m.flags_left < before)
            flags_taken++;
        if (m.flags_left <= 0)
            game.load(game.start);  // a won board starts again
        std::string fault = soak::marble_problem(m);
        bool outside_now = false;
        if (fault.empty() && tiles.pushed(m.x, m.y)) {
            // A corner bounce can carry the centre over a cell edge after the tiles of the step
            // were chosen; the tiles of the new cell take it in the next step. Only a marble still
            // beyond a face or outside a channel then is a fault.
            if (outside_before)
                fault = "beyond a face or outside a tube's channel";
            outside_now = true;
        }
        outside_before = outside_now;
        if (!fault.empty()) {
            if (faults < 10)
                std::printf("%s: frame %ld: %s at (%.2f, %.2f), speed (%.2f, %.2f), from (%.2f, %.2f)\n",
                            base_name(path).c_str(), k, fault.c_str(), m.x, m.y, m.speed.x,
                            m.speed.y, m.old_x, m.old_y);
            faults++;
        }
    }
    std::printf("%-22s %ld frames of random tilt: %ld faults, %ld falls, %ld flags taken\n",
                base_name(path).c_str(), frames, faults, falls, flags_taken);
    return faults ? 1 : 0;
}

// The board as the game draws it, with the replay's path over it.
int picture(const std::string &path, const std::string &out)
{
    field *f = field::load_field_file(path);
    if (!f || !f->start_point) {
        std::fprintf(stderr, "%s: cannot build the level\n", path.c_str());
        delete f;
        return 1;
    }
    clear_bitmap(screen);
    f->test_draw();
    run_record r;
    std::string error;
    if (read_run(read_text(path + ".mouse.run"), r, error)) {
        bead b;
        b.current_field = f;  // the marble owns it now
        f = nullptr;
        b.place_on_start();
        int colour = makecol(255, 40, 40);
        for (const run_tilt &t : r.tilts) {
            const float x0 = b.x, y0 = b.y;
            b.step(t.x, t.y);
            line(screen, (int)x0, (int)y0, (int)b.x, (int)b.y, colour);
            if (b.state == bead::fallen) {
                b.come_back();
                colour = makecol(40, 40, 255);
            }
            if (b.flags_left <= 0)
                break;
        }
    }
    delete f;
    BITMAP *part = create_sub_bitmap(screen, 0, 0, board_px, board_px);
    int ok = save_bitmap(out.c_str(), part, nullptr);
    destroy_bitmap(part);
    return ok == 0 ? 0 : 1;
}

void usage()
{
    std::fprintf(stderr,
                 "usage: levelsolver [--width N] [--epoch N] [--tries N] [--stall N] [--max-frames N]\n"
                 "                   [--order R,C;R,C...] [--out FILE] [--keys] [-v] LEVEL.vkl...\n"
                 "       levelsolver --check LEVEL.vkl...\n"
                 "       levelsolver --audit FRAMES [--seed N] LEVEL.vkl...\n"
                 "       levelsolver --picture OUT.bmp LEVEL.vkl\n");
}

}  // namespace

int main(int argc, char **argv)
{
    if (!start_headless(make_temp_dir() + "/vinkla.cfg", VINKLA_DATA_FILE))
        return 1;

    settings opt;
    std::string mode = "solve", out, picture_out, order_text;
    long audit_frames = 0;
    unsigned seed = 1;
    std::vector<std::string> levels_given;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                usage();
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--check")
            mode = "check";
        else if (a == "--audit") {
            mode = "audit";
            audit_frames = std::atol(value().c_str());
        }
        else if (a == "--picture") {
            mode = "picture";
            picture_out = value();
        } else if (a == "--width")
            opt.width = std::atoi(value().c_str());
        else if (a == "--epoch")
            opt.epoch = std::atoi(value().c_str());
        else if (a == "--tries")
            opt.tries = std::atoi(value().c_str());
        else if (a == "--seed")
            seed = (unsigned)std::atol(value().c_str());
        else if (a == "--lookahead")
            opt.lookahead = (float)std::atof(value().c_str());
        else if (a == "--stall")
            opt.stall = std::atol(value().c_str());
        else if (a == "--max-frames")
            opt.max_frames = std::atol(value().c_str());
        else if (a == "--order")
            order_text = value();
        else if (a == "--out")
            out = value();
        else if (a == "-v")
            opt.verbose = true;
        else if (a == "--keys")
            opt.keys = true;
        else if (!a.empty() && a[0] == '-') {
            usage();
            return 2;
        } else
            levels_given.push_back(a);
    }
    if (levels_given.empty() || opt.width < 1 || opt.epoch < 1 || opt.tries < 1) {
        usage();
        return 2;
    }

    int failures = 0;
    if (mode == "picture")
        return picture(levels_given[0], picture_out);
    for (const std::string &path : levels_given) {
        if (mode == "check") {
            failures += check(path);
            continue;
        }
        if (mode == "audit") {
            failures += audit(path, audit_frames, seed);
            continue;
        }
        std::vector<int> order;
        if (!order_text.empty()) {
            field *f = field::load_field_file(path);
            board b;
            if (f)
                read_board(f, b);
            delete f;
            std::stringstream ss(order_text);
            std::string cell;
            while (std::getline(ss, cell, ';')) {
                int r = -1, c = -1;
                std::sscanf(cell.c_str(), "%d,%d", &r, &c);
                auto it = std::find(b.flags.begin(), b.flags.end(), std::make_pair(r, c));
                if (it == b.flags.end()) {
                    std::fprintf(stderr, "no flag at %s\n", cell.c_str());
                    return 2;
                }
                order.push_back((int)(it - b.flags.begin()));
            }
        }
        failures += solve(path, out.empty() ? path + (opt.keys ? ".keys.run" : ".mouse.run") : out, opt, order);
    }
    return failures ? 1 : 0;
}

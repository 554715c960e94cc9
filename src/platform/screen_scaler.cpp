#include "platform/screen_scaler.h"

#include <allegro/internal/aintern.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Rows enlarged in one go: bounds the band bitmap (3.3 MB at scale 4).
constexpr int band_rows = 64;

screen_scaler *hooked = nullptr;

// Every drawing routine of the library asks a bitmap for the address of each line it writes
// (the bank switch of the old video cards, a plain lookup for memory bitmaps). Answering it
// here tells which rows of the small screen were drawn, at the cost of one call per line.
uintptr_t note_line(BITMAP *bmp, int line)
{
    uintptr_t at = reinterpret_cast<uintptr_t>(bmp->line[line]);
    if (hooked) {
        BITMAP *s = hooked->small();
        // Sub-bitmaps share the hook: the row comes from the address, not from `line`.
        intptr_t offset = static_cast<intptr_t>(at - reinterpret_cast<uintptr_t>(s->line[0]));
        intptr_t pitch = s->line[1] - s->line[0];
        intptr_t row = offset / pitch;
        if (offset >= 0 && row < screen_scaler::height)
            hooked->note_row(static_cast<int>(row));
    }
    return at;
}

uint32_t *row_of(BITMAP *b, int row)
{
    return reinterpret_cast<uint32_t *>(b->line[row]);
}

}  // namespace

screen_scaler::screen_scaler(BITMAP *real, int scale)
    : real_(real), small_(create_bitmap_ex(32, width, height)),
      shadow_(create_bitmap_ex(32, width, height)),
      band_(create_bitmap_ex(32, width * scale, band_rows * scale)), scale_(scale)
{
    clear_bitmap(small_);
    clear_bitmap(shadow_);
    // Both start black, so the first picture drawn is all that needs copying.
    clear_bitmap(real_);
    for (auto &d : dirty_)
        d.store(false);
    hooked = this;
    small_->write_bank = reinterpret_cast<void *>(note_line);
    // The sprite routines skip the line lookup on a memory bitmap and write its rows directly;
    // on a system bitmap (a memory bitmap in every other respect) they ask for every line too.
    small_->id |= BMP_ID_SYSTEM;
}

screen_scaler::~screen_scaler()
{
    if (hooked == this)
        hooked = nullptr;
    destroy_bitmap(band_);
    destroy_bitmap(shadow_);
    // Freed as the memory bitmap it is: a system bitmap would be handed to the graphics driver.
    small_->id &= ~BMP_ID_SYSTEM;
    destroy_bitmap(small_);
}

// The first and last pixel of the row that differ from what the window shows; the shadow
// takes them over.
bool screen_scaler::changed_span(int row, int &x0, int &x1)
{
    const uint32_t *now = row_of(small_, row);
    uint32_t *was = row_of(shadow_, row);
    int first = 0;
    while (first < width && now[first] == was[first])
        first++;
    if (first == width)
        return false;
    int last = width - 1;
    while (now[last] == was[last])
        last--;
    std::memcpy(was + first, now + first, (last + 1 - first) * sizeof(uint32_t));
    x0 = first;
    x1 = last + 1;
    return true;
}

void screen_scaler::present(BITMAP *pointer, int px, int py)
{
    std::unique_lock<std::mutex> lock(busy_, std::try_to_lock);
    if (!lock.owns_lock())
        return;

    std::vector<span> spans;
    bool open = false;
    span cur{};
    for (int row = 0; row < height; row++) {
        int x0 = 0, x1 = 0;
        // Cleared before the row is read: a line drawn meanwhile is found next time.
        bool changed = dirty_[row].exchange(false, std::memory_order_relaxed) &&
                       changed_span(row, x0, x1);
        if (changed && open) {
            cur.x0 = std::min(cur.x0, x0);
            cur.x1 = std::max(cur.x1, x1);
            cur.y1 = row + 1;
        } else if (changed) {
            cur = {x0, row, x1, row + 1};
            open = true;
        } else if (open) {
            spans.push_back(cur);
            open = false;
        }
    }
    if (open)
        spans.push_back(cur);

    bool moved = pointer != shown_pointer_ || (pointer && (px != shown_x_ || py != shown_y_));
    if (moved) {
        auto add = [&](BITMAP *p, int x, int y) {
            span s{std::max(x, 0), std::max(y, 0), std::min(x + p->w, width),
                   std::min(y + p->h, height)};
            if (s.x0 < s.x1 && s.y0 < s.y1)
                spans.push_back(s);
        };
        if (shown_pointer_)
            add(shown_pointer_, shown_x_, shown_y_);
        if (pointer)
            add(pointer, px, py);
        shown_pointer_ = pointer;
        shown_x_ = px;
        shown_y_ = py;
    }
    for (const span &s : spans)
        copy_out(s, pointer, px, py);
}

// Enlarges one rectangle band by band, puts the pointer over it where they meet, and hands it
// to the window in one blit, so the pointer never flickers.
void screen_scaler::copy_out(const span &s, BITMAP *pointer, int px, int py)
{
    const int k = scale_;
    const int w = s.x1 - s.x0;
    for (int y = s.y0; y < s.y1; y += band_rows) {
        const int h = std::min(band_rows, s.y1 - y);
        set_clip_rect(band_, 0, 0, w * k - 1, h * k - 1);
        stretch_blit(small_, band_, s.x0, y, w, h, 0, 0, w * k, h * k);
        if (pointer && px < s.x1 && px + pointer->w > s.x0 && py < y + h && py + pointer->h > y)
            masked_stretch_blit(pointer, band_, 0, 0, pointer->w, pointer->h, (px - s.x0) * k,
                                (py - y) * k, pointer->w * k, pointer->h * k);
        blit(band_, real_, 0, 0, s.x0 * k, y * k, w * k, h * k);
    }
}

int fitting_scale(int desk_w, int desk_h)
{
    // A window as large as the desktop does not fit: its frame and the desktop's panels and
    // title bars need about this much beside it.
    constexpr int frame_w = 16;
    constexpr int frame_h = 80;
    for (int s = screen_scaler::max_scale; s >= 2; s--)
        if (screen_scaler::width * s + frame_w <= desk_w &&
            screen_scaler::height * s + frame_h <= desk_h)
            return s;
    return 1;
}

int config_scale()
{
    const char *text = get_config_string("settings", "scale", nullptr);
    if (!text)
        return 0;
    char *end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 10);
    while (end != text && (*end == ' ' || *end == '\t'))
        end++;
    if (end == text || *end != '\0' || errno || v < 0 || v > screen_scaler::max_scale)
        return 0;
    return static_cast<int>(v);
}

screen_scaler *active_scaler = nullptr;

namespace {

BITMAP *window_bitmap = nullptr;
GFX_DRIVER saved_driver;

// The library is told it has a hardware pointer, which these accept and leave to the presenter.
// Its software pointer would be drawn at window coordinates on the small screen, and even when
// switched off it puts back a save-under it never filled wherever it last took the pointer off.
int pointer_sprite(BITMAP *, int, int)
{
    return 0;
}
int pointer_show(BITMAP *, int, int)
{
    return 0;
}
void pointer_hide() {}
void pointer_move(int, int) {}

int scaled_mouse_x()
{
    return mouse_x / active_scaler->scale();
}

int scaled_mouse_y()
{
    return mouse_y / active_scaler->scale();
}

// The library still tracks whether a pointer should show (_mouse_screen, set by show_mouse and
// the dialog manager) and which sprite; this draws it.
void present_now()
{
    screen_scaler *s = active_scaler;
    if (!s)
        return;
    BITMAP *pointer = (_mouse_screen && _mouse_on) ? mouse_sprite : nullptr;
    s->present(pointer, mouse_x / s->scale() - mouse_x_focus, mouse_y / s->scale() - mouse_y_focus);
}

}  // namespace

void start_scaling(int scale)
{
    window_bitmap = screen;
    saved_driver = *gfx_driver;
    active_scaler = new screen_scaler(screen, scale);
    screen = active_scaler->small();
    // SCREEN_W and SCREEN_H: the dialog manager centres alerts and clips on them.
    gfx_driver->w = screen_scaler::width;
    gfx_driver->h = screen_scaler::height;
    gfx_driver->set_mouse_sprite = pointer_sprite;
    gfx_driver->show_mouse = pointer_show;
    gfx_driver->hide_mouse = pointer_hide;
    gfx_driver->move_mouse = pointer_move;
    gui_mouse_x = scaled_mouse_x;
    gui_mouse_y = scaled_mouse_y;
}

void start_scaled_mouse()
{
    if (!active_scaler)
        return;
    const int k = active_scaler->scale();
    set_mouse_range(0, 0, screen_scaler::width * k - 1, screen_scaler::height * k - 1);
    position_mouse(screen_scaler::width * k / 2, screen_scaler::height * k / 2);
}

void present_screen()
{
    present_now();
}

void place_pointer(int x, int y)
{
    const int k = active_scaler ? active_scaler->scale() : 1;
    position_mouse(x * k, y * k);
}

void stop_scaling()
{
    if (!active_scaler)
        return;
    screen = window_bitmap;
    gfx_driver->w = saved_driver.w;
    gfx_driver->h = saved_driver.h;
    gfx_driver->set_mouse_sprite = saved_driver.set_mouse_sprite;
    gfx_driver->show_mouse = saved_driver.show_mouse;
    gfx_driver->hide_mouse = saved_driver.hide_mouse;
    gfx_driver->move_mouse = saved_driver.move_mouse;
    delete active_scaler;
    active_scaler = nullptr;
}

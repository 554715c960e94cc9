#pragma once
#include <allegro.h>

#include <atomic>
#include <mutex>

// Everything is drawn at 800 by 600. On a large desktop the window is a whole multiple of that:
// the game then draws into a memory bitmap that stands in for `screen`, and this class copies
// what changed, enlarged, to the real window. It draws the mouse pointer there itself, at the
// pointer's place mapped back to 800 by 600, so the pointer always shows where a click lands.
class screen_scaler {
public:
    static constexpr int width = 800;
    static constexpr int height = 600;
    static constexpr int max_scale = 4;

    // `real` is the window's bitmap, scale times 800 by 600; not owned.
    screen_scaler(BITMAP *real, int scale);
    ~screen_scaler();
    screen_scaler(const screen_scaler &) = delete;
    screen_scaler &operator=(const screen_scaler &) = delete;

    BITMAP *small() const { return small_; }
    int scale() const { return scale_; }

    // Copies the rows drawn since the last call, as far as they changed, and moves the pointer.
    // `pointer` is the sprite to show at (x, y) in 800 by 600 terms (its focus already taken
    // off), or null when no pointer is shown. A call that finds another under way returns at once.
    void present(BITMAP *pointer, int x, int y);

    // Called by the small bitmap's line hook for every line that a drawing routine writes.
    void note_row(int row) { dirty_[row].store(true, std::memory_order_relaxed); }

private:
    struct span {
        int x0, y0, x1, y1;  // half-open, 800 by 600 pixels
    };
    void copy_out(const span &s, BITMAP *pointer, int px, int py);
    bool changed_span(int row, int &x0, int &x1);

    BITMAP *real_;
    BITMAP *small_;
    BITMAP *shadow_;  // what the window shows, at 800 by 600
    BITMAP *band_;    // one band of rows enlarged, before it goes to the window
    int scale_;
    std::atomic<bool> dirty_[height];
    std::mutex busy_;
    BITMAP *shown_pointer_ = nullptr;
    int shown_x_ = 0, shown_y_ = 0;
};

// Largest whole scale at which the window, with room for a title bar and the desktop's panels,
// fits a desktop of desk_w by desk_h; 1 when even 2 does not fit.
int fitting_scale(int desk_w, int desk_h);

// Key "scale" of [settings]: 0 (or anything that is not 1 to 4) chooses automatically.
int config_scale();

// The game's one scaler while the window is enlarged, else null.
extern screen_scaler *active_scaler;

// After set_gfx_mode: opens the window at `scale` (already done by the caller) and puts a
// memory bitmap in place of `screen`, so the whole game draws at 800 by 600 unchanged.
void start_scaling(int scale);
// After install_mouse and install_timer: the pointer's range, the dialog manager's mouse hooks,
// the library's own pointer switched off. Every wait of the game presents the picture.
void start_scaled_mouse();
// Shows in the enlarged window what was drawn since the last call; nothing when not enlarged.
void present_screen();
// position_mouse in 800 by 600 terms.
void place_pointer(int x, int y);
// Before allegro_exit: the window's own bitmap back in `screen`.
void stop_scaling();

#pragma once
#include <csignal>
#include <functional>

// How the game ends when the session ends under it: a logout, Ctrl+C, kill.

// Set by SIGTERM, SIGINT, SIGQUIT or SIGHUP. The waits then press Esc for every screen on the
// way back to the main loop, as the close button does, but nothing is asked: the editor keeps
// its board in a recovery file, the win panel stores the run under the name in its field, and
// the main loop saves the settings and exits 0.
extern volatile sig_atomic_t end_signal;

// Installs the game's handlers for those four signals in place of the library's, which calls
// allegro_exit inside the signal and aborts when its X11 thread holds the display lock. A
// handler only sets end_signal and wakes the waits. Call it after allegro_init.
void catch_end_signals();

// The waits call this: once a signal has come, the screen in front is asked to close. True
// while the game is ending that way.
bool leave_on_end_signal();

// Something held only in memory (the settings, a record, the editor's board) that must reach
// the disk should the X server go away: the game cannot draw or ask anything then, so each
// saver runs and the process exits 0. A saver is registered for as long as its object lives.
class end_saver {
public:
    explicit end_saver(std::function<void()> save);
    ~end_saver();
    end_saver(const end_saver &) = delete;
    end_saver &operator=(const end_saver &) = delete;

private:
    friend void run_end_savers();
    std::function<void()> save_;
    end_saver *older_;
};

// Runs every saver, newest first; each runs at most once per call.
void run_end_savers();

// Makes a lost X connection run the savers and exit 0, in place of Xlib's exit 1.
void catch_lost_display();

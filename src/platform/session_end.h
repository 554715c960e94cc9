#pragma once
#include <csignal>
#include <functional>

// How the game ends when the session ends under it: a logout, Ctrl+C, kill.

// Set by SIGTERM, SIGINT, SIGQUIT or SIGHUP. The first wait after it runs the savers below
// before it draws anything; then the waits press Esc for every screen on the way back to the
// main loop, as the close button does, but nothing is asked: the editor keeps its board in a
// recovery file, the win panel stores the run under the name in its field, and the main loop
// saves the settings and exits 0.
extern volatile sig_atomic_t end_signal;

// Installs the game's handlers for those four signals in place of the library's, which calls
// allegro_exit inside the signal and aborts when its X11 thread holds the display lock. A
// handler only sets end_signal and wakes the waits. Call it after allegro_init.
void catch_end_signals();

// The waits call this: once a signal has come, what must reach the disk is saved (without a
// word to the X server, which may not answer) and the screen in front is asked to close. True
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
    friend void save_before_end();
    std::function<void()> save_;
    end_saver *older_;
    bool saved_ = false;  // by save_before_end
};

// Runs every saver, newest first; each runs at most once per call.
void run_end_savers();

// Runs, newest first, each saver that has not run yet, one thread at a time: the main thread
// at its first wait after an end signal, or whichever thread finds the X server gone.
void save_before_end();

// Makes a lost X connection save what save_before_end saves and exit 0, in place of Xlib's
// exit 1. And an end signal that has not ended the game within 0.7 s (an X server that stopped
// answering holds every thread that draws) cuts the connection, which then ends the game as a
// lost one; a game still there 0.6 s later (held by something else) saves and exits 0 from the
// watch. Call it after catch_end_signals, once the library has opened the display.
void catch_lost_display();

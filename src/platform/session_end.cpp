#include "platform/session_end.h"

#include <allegro.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>

#include "platform/globals.h"

volatile sig_atomic_t end_signal = 0;

namespace {

end_saver *newest = nullptr;

void on_end_signal(int number)
{
    end_signal = number;
    wake_waits();
}

// Xlib calls this from whichever thread found the connection gone, perhaps holding the
// library's display lock; it must not return (Xlib would exit 1) and nothing may touch X.
int on_lost_display(Display *)
{
    static volatile sig_atomic_t running = 0;
    if (running)  // a second thread meeting the same end waits for the first to finish
        for (;;)
            pause();
    running = 1;
    std::fputs("vinkla: the X server is gone; saving and ending\n", stderr);
    run_end_savers();
    _exit(0);
}

}  // namespace

void catch_end_signals()
{
    struct sigaction action = {};
    action.sa_handler = on_end_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGTERM, SIGINT, SIGQUIT, SIGHUP})
        sigaction(number, &action, nullptr);
}

bool leave_on_end_signal()
{
    if (!end_signal)
        return false;
    close_requested = true;
    // One Esc at a time: each closes the screen in front, then the next wait presses another.
    if (!keypressed())
        simulate_keypress((KEY_ESC << 8) | 27);
    return true;
}

end_saver::end_saver(std::function<void()> save) : save_(std::move(save)), older_(newest)
{
    newest = this;
}

end_saver::~end_saver()
{
    for (end_saver **s = &newest; *s; s = &(*s)->older_)
        if (*s == this) {
            *s = older_;
            break;
        }
}

void run_end_savers()
{
    for (end_saver *s = newest; s; s = s->older_)
        if (s->save_)
            s->save_();
}

void catch_lost_display()
{
    XSetIOErrorHandler(on_lost_display);
}

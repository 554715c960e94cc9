#include "platform/globals.h"

#include <semaphore.h>
#include <time.h>
#include <unistd.h>

#include "platform/config.h"
#include "platform/screen_scaler.h"
#include "platform/session_end.h"
#include "platform/window.h"

DATAFILE *data1 = nullptr;
volatile int teh_counter = 0;
int globalsound = default_volume;
int globalmusic = default_volume;
bool quit = false;
volatile bool close_requested = false;

namespace {

timespec now()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t;
}

timespec after(timespec t, long ns)
{
    t.tv_sec += ns / 1000000000L;
    t.tv_nsec += ns % 1000000000L;
    if (t.tv_nsec >= 1000000000L) {
        t.tv_nsec -= 1000000000L;
        t.tv_sec += 1;
    }
    return t;
}

bool before(const timespec &a, const timespec &b)
{
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// Before any sleep, what was drawn goes to the window: enlarged, and on to the X server.
void show_drawn()
{
    present_screen();
    send_drawing();
}

// Posted by the library's input thread, waited on by the main thread. It never holds more than
// about one post, so a wait after a long pause does not race through a backlog.
struct wake_signal {
    sem_t sem;
    wake_signal() { sem_init(&sem, 0, 0); }
    void post()
    {
        int pending = 0;
        if (sem_getvalue(&sem, &pending) == 0 && pending > 0)
            return;
        sem_post(&sem);
    }
    // False when the deadline (on the monotonic clock) passed without a post.
    bool wait_until(const timespec &deadline)
    {
        return sem_clockwait(&sem, CLOCK_MONOTONIC, &deadline) == 0;
    }
    // Only sem_post: a signal handler calls it.
    void post_now() { sem_post(&sem); }
};

wake_signal clicks;   // the mouse buttons
wake_signal input;    // whatever the dialog manager answers to

// The frame clock: ticks fall due every 10 ms on an absolute schedule, so frames keep exactly
// 100 a second whatever a frame costs, and the main thread counts them itself as it wakes. A
// library timer would wake a thread of its own 100 times a second on top of the main thread.
const long tick_ns = 10000000L;
timespec next_tick = {0, 0};

}  // namespace

void my_timer()
{
    teh_counter = teh_counter - 1;
}
END_OF_FUNCTION(my_timer)

void wake_on_mouse(int flags)
{
    const int buttons = MOUSE_FLAG_LEFT_DOWN | MOUSE_FLAG_LEFT_UP | MOUSE_FLAG_RIGHT_DOWN |
                        MOUSE_FLAG_RIGHT_UP | MOUSE_FLAG_MIDDLE_DOWN | MOUSE_FLAG_MIDDLE_UP;
    if (flags & buttons) {
        clicks.post();
        input.post();
    }
    // A move matters to a dialog while a button drags something, and in an enlarged window,
    // where the pointer is drawn with the screen; in play it is read each frame.
    if ((flags & (MOUSE_FLAG_MOVE | MOUSE_FLAG_MOVE_Z)) && (mouse_b || active_scaler))
        input.post();
}
END_OF_FUNCTION(wake_on_mouse)

void wake_on_key(int)
{
    input.post();
}
END_OF_FUNCTION(wake_on_key)

void wake_waits()
{
    clicks.post_now();
    input.post_now();
}

void wait_tick()
{
    leave_on_end_signal();
    show_drawn();
    const timespec t = now();
    // After a pause (a dialog, a stopped process) the schedule starts anew rather than
    // catching up with a burst of ticks.
    if (before(after(next_tick, 5 * tick_ns), t))
        next_tick = after(t, tick_ns);
    if (clicks.wait_until(next_tick))
        return;
    next_tick = after(next_tick, tick_ns);
    my_timer();
}

void wait_input(int ms)
{
    // The dialog manager's double-click timer asks for the buttons too, every 20 ms after a
    // click, from the library's timer thread: sleeping there held up every library timer (the
    // music's among them) and took the wake-up meant for the dialog. Only the main thread waits.
    if (gettid() != getpid())
        return;
    if (leave_on_end_signal()) {
        show_drawn();
        return;
    }
    show_drawn();
    // The dialog manager asks again before it shows what the input did (a button tracking a
    // press asks for the button first, then draws itself pressed): the round after a wake-up
    // runs at once, or a press would show only when the wait ran out.
    static bool woken = false;
    if (woken) {
        woken = false;
        return;
    }
    woken = input.wait_until(after(now(), ms * 1000000L));
}

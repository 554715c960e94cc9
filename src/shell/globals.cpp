#include "shell/globals.h"

#include <semaphore.h>
#include <time.h>

#include "shell/config.h"

DATAFILE *data1 = nullptr;
volatile int teh_counter = 0;
int globalsound = default_volume;
int globalmusic = default_volume;
bool quit = false;
volatile bool close_requested = false;

namespace {

// Posted by the timer and the library's input thread, waited on by the main thread. It never
// holds more than about one post, so a wait after a long pause does not race through a backlog.
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
    void wait(int ms)
    {
        timespec deadline;
        clock_gettime(CLOCK_REALTIME, &deadline);
        deadline.tv_sec += ms / 1000;
        deadline.tv_nsec += (ms % 1000) * 1000000L;
        if (deadline.tv_nsec >= 1000000000L) {
            deadline.tv_nsec -= 1000000000L;
            deadline.tv_sec += 1;
        }
        sem_timedwait(&sem, &deadline);
    }
};

wake_signal tick;   // my_timer and the mouse buttons
wake_signal input;  // whatever the dialog manager answers to

}  // namespace

void my_timer()
{
    teh_counter = teh_counter - 1;
    tick.post();
}
END_OF_FUNCTION(my_timer)

void wake_on_mouse(int flags)
{
    const int buttons = MOUSE_FLAG_LEFT_DOWN | MOUSE_FLAG_LEFT_UP | MOUSE_FLAG_RIGHT_DOWN |
                        MOUSE_FLAG_RIGHT_UP | MOUSE_FLAG_MIDDLE_DOWN | MOUSE_FLAG_MIDDLE_UP;
    if (flags & buttons) {
        tick.post();
        input.post();
    }
    // A move matters to a dialog while a button drags something; in play it is read each frame.
    if ((flags & (MOUSE_FLAG_MOVE | MOUSE_FLAG_MOVE_Z)) && mouse_b)
        input.post();
}
END_OF_FUNCTION(wake_on_mouse)

void wake_on_key(int)
{
    input.post();
}
END_OF_FUNCTION(wake_on_key)

// The deadline only guards against a wake-up that never comes (a mouse driver that does not
// report its buttons): with the timer installed a post arrives every 10 ms.
void wait_tick()
{
    tick.wait(100);
}

void wait_input(int ms)
{
    input.wait(ms);
}

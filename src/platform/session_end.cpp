#include "platform/session_end.h"

#include <allegro.h>
#include <xalleg.h>
#include <X11/Xlib.h>
#include <pthread.h>
#include <semaphore.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/globals.h"

volatile sig_atomic_t end_signal = 0;

namespace {

end_saver *newest = nullptr;

// Held while the savers run. Recursive: a saver that met the lost display itself must not wait
// for its own thread.
pthread_mutex_t saving = PTHREAD_RECURSIVE_MUTEX_INITIALIZER_NP;

// Posted by the first end signal; the watch of catch_lost_display waits on it.
sem_t end_came;
bool end_came_ready = false;

int display_fd = -1;
volatile sig_atomic_t display_cut = 0;

void on_end_signal(int number)
{
    const bool first = !end_signal;
    end_signal = number;
    wake_waits();
    if (first && end_came_ready)
        sem_post(&end_came);
}

// Xlib calls this from whichever thread found the connection gone, perhaps holding the
// library's display lock; it must not return (Xlib would exit 1) and nothing may touch X.
// Another thread meeting the same end waits in save_before_end until the first has saved.
int on_lost_display(Display *)
{
    static volatile sig_atomic_t told = 0;
    if (!told) {
        told = 1;
        std::fputs(display_cut ? "vinkla: the X server does not answer; saving and ending\n"
                               : "vinkla: the X server is gone; saving and ending\n",
                   stderr);
    }
    save_before_end();
    _exit(0);
}

void sleep_ms(long ms)
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    t.tv_sec += ms / 1000;
    t.tv_nsec += (ms % 1000) * 1000000L;
    if (t.tv_nsec >= 1000000000L) {
        t.tv_nsec -= 1000000000L;
        t.tv_sec += 1;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr) == EINTR) {
    }
}

// The game ends an end signal by itself within a few frames (0.1 to 0.25 s measured). Still
// here 0.7 s later, it is held by an X server that does not answer (stopped, or a display hung
// at logout): the thread waiting for its reply holds the library's display lock, and every
// other thread that draws waits for that. Cut off, the connection fails in the waiting thread
// as a lost one does.
void *watch_end(void *)
{
    while (sem_wait(&end_came) != 0) {
    }
    sleep_ms(700);
    display_cut = 1;
    signal(SIGPIPE, SIG_IGN);  // a write on the cut connection fails instead of killing
    if (display_fd >= 0)
        shutdown(display_fd, SHUT_RDWR);
    sleep_ms(600);
    std::fputs("vinkla: the game did not end after the signal; saving and ending\n", stderr);
    save_before_end();
    _exit(0);
}

}  // namespace

void catch_end_signals()
{
    if (!end_came_ready) {
        sem_init(&end_came, 0, 0);
        end_came_ready = true;
    }
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
    save_before_end();
    close_requested = true;
    // One Esc at a time: each closes the screen in front, then the next wait presses another.
    if (!keypressed())
        simulate_keypress((KEY_ESC << 8) | 27);
    return true;
}

// The list changes under the lock: another thread may be walking it to save.
end_saver::end_saver(std::function<void()> save) : save_(std::move(save))
{
    pthread_mutex_lock(&saving);
    older_ = newest;
    newest = this;
    pthread_mutex_unlock(&saving);
}

end_saver::~end_saver()
{
    pthread_mutex_lock(&saving);
    for (end_saver **s = &newest; *s; s = &(*s)->older_)
        if (*s == this) {
            *s = older_;
            break;
        }
    pthread_mutex_unlock(&saving);
}

void run_end_savers()
{
    for (end_saver *s = newest; s; s = s->older_)
        if (s->save_)
            s->save_();
}

void save_before_end()
{
    pthread_mutex_lock(&saving);
    for (end_saver *s = newest; s; s = s->older_)
        if (!s->saved_ && s->save_) {
            s->saved_ = true;
            s->save_();
        }
    pthread_mutex_unlock(&saving);
}

void catch_lost_display()
{
    XSetIOErrorHandler(on_lost_display);
    if (_xwin.display)
        display_fd = ConnectionNumber(_xwin.display);
    pthread_t watch;
    if (end_came_ready && pthread_create(&watch, nullptr, watch_end, nullptr) == 0)
        pthread_detach(watch);
}

// Times a program's start from the X server's side for `make perf`: starts the command, and
// prints the milliseconds until the first top-level window is mapped and until a given pixel of
// the screen is no longer black. Then waits for the command and exits with its status.
// usage: vinkla_startup_watch X Y -- COMMAND [ARGS...]
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

#include "x_screen.h"

int main(int argc, char **argv)
{
    if (argc < 5 || std::string_view(argv[3]) != "--") {
        std::fprintf(stderr, "usage: %s X Y -- COMMAND [ARGS...]\n", argv[0]);
        return 2;
    }
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    Display *d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "startup_watch: no display\n");
        return 2;
    }
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, False);
    const unsigned long black = pixel_at(d, x, y);

    const double t0 = now_ms();
    pid_t child = fork();
    if (child == 0) {
        execvp(argv[4], argv + 4);
        _exit(127);
    }
    std::printf("pid %d\n", (int)child);
    std::fflush(stdout);

    // The map, as the server reports it; the waiting is done by the server, not by polling.
    for (;;) {
        XEvent e;
        XNextEvent(d, &e);
        if (e.type == MapNotify && !e.xmap.override_redirect)
            break;
    }
    std::printf("map %.1f ms\n", now_ms() - t0);
    std::fflush(stdout);
    // The first pixel of the title: read back every half millisecond for up to 10 s.
    for (int i = 0; i < 20000; i++) {
        if (pixel_at(d, x, y) != black) {
            std::printf("pixel %.1f ms\n", now_ms() - t0);
            break;
        }
        usleep(500);
    }
    std::fflush(stdout);
    XCloseDisplay(d);

    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

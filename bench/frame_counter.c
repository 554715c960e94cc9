/* Counts the frames of the real program for scripts/perf.sh: preloaded into the game, it counts
 * the game's calls of get_mouse_mickeys (one per frame of a run while no hole pulls the marble)
 * in a shared 8-byte file named by VINKLA_FRAME_COUNT, which the script reads while the game
 * runs. Blits are no measure: a frame where nothing changed blits nothing. */
#define _GNU_SOURCE
#include <allegro.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

static volatile long *count;

static void open_counter(void)
{
    const char *path = getenv("VINKLA_FRAME_COUNT");
    int fd = path ? open(path, O_RDWR | O_CREAT, 0644) : -1;
    if (fd < 0 || ftruncate(fd, sizeof(long)) != 0)
        return;
    void *p = mmap(NULL, sizeof(long), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    close(fd);
    if (p != MAP_FAILED)
        count = p;
}

void get_mouse_mickeys(int *mickeyx, int *mickeyy)
{
    static void (*real)(int *, int *);
    if (!real) {
        real = (void (*)(int *, int *))dlsym(RTLD_NEXT, "get_mouse_mickeys");
        open_counter();
    }
    if (count)
        __atomic_add_fetch(count, 1, __ATOMIC_RELAXED);
    real(mickeyx, mickeyy);
}

#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// A window manager that is still starting can lose a window's request to be shown: the window
// then never appears, and the library's set_gfx_mode waits for it for ever (seen under Openbox
// when the game starts with the desktop). While a map_watch lives, a thread with an X connection
// of its own asks once a second for the library's window to be shown, as long as the library
// has asked for it and it is not shown.
// Make one after allegro_init and keep it until set_gfx_mode has returned.
class map_watch {
public:
    map_watch();
    ~map_watch();
    map_watch(const map_watch &) = delete;
    map_watch &operator=(const map_watch &) = delete;

private:
    void watch(unsigned long window, const std::string &display_name);

    std::mutex lock;
    std::condition_variable stop;
    bool done = false;
    std::thread thread;
};

#include "support/fakes.h"

#include "platform/globals.h"

#include <semaphore.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fake {

std::vector<AlertCall> alerts;
int alert_result = 1;
std::deque<int> alert_answers;
std::function<void()> on_alert;
std::vector<SampleCall> samples;
std::vector<const SAMPLE *> stopped;
std::vector<MidiCall> midis;
int stop_midi_calls = 0;
std::vector<std::pair<int, int>> volumes;
std::deque<std::pair<int, int>> mickeys;
std::vector<std::pair<int, int>> mouse_positions;
std::vector<BITMAP *> shown_mouse;
std::vector<BITMAP *> mouse_sprites;
void (*timer)() = nullptr;
std::vector<long> install_int_speeds;
int remove_int_calls = 0;
int rest_calls = 0;
long rest_ms = 0;
int vsync_calls = 0;
int tick_waits = 0;
std::vector<timespec> wait_deadlines;
bool deadline_passes = false;
std::function<void()> on_rest;
std::function<int(DIALOG *, int)> dialog_hook;
std::vector<std::string> dialogs;
std::function<int(char *, int)> file_select_hook;
std::vector<FileSelectCall> file_selects;
std::vector<const RGB *> palettes;
std::deque<int> keys;
int joystick_polls = 0;

void reset()
{
    alerts.clear();
    alert_result = 1;
    alert_answers.clear();
    on_alert = nullptr;
    samples.clear();
    stopped.clear();
    midis.clear();
    stop_midi_calls = 0;
    volumes.clear();
    mickeys.clear();
    mouse_positions.clear();
    shown_mouse.clear();
    mouse_sprites.clear();
    timer = nullptr;
    install_int_speeds.clear();
    remove_int_calls = 0;
    rest_calls = 0;
    rest_ms = 0;
    vsync_calls = 0;
    tick_waits = 0;
    wait_deadlines.clear();
    deadline_passes = false;
    on_rest = nullptr;
    dialog_hook = nullptr;
    dialogs.clear();
    file_select_hook = nullptr;
    file_selects.clear();
    palettes.clear();
    keys.clear();
    joystick_polls = 0;
}

}  // namespace fake

static std::string str(const char *s)
{
    return s ? std::string(s) : std::string("(null)");
}

static int next_answer()
{
    if (fake::on_alert)
        fake::on_alert();
    if (fake::alert_answers.empty())
        return fake::alert_result;
    int a = fake::alert_answers.front();
    fake::alert_answers.pop_front();
    return a;
}

extern "C" {

int poll_joystick(void)
{
    fake::joystick_polls++;
    return 0;
}

int alert(const char *s1, const char *s2, const char *s3, const char *b1, const char *b2, int c1, int c2)
{
    fake::alerts.push_back({str(s1), str(s2), str(s3), str(b1), str(b2), c1, c2, ""});
    return next_answer();
}

int alert3(const char *s1, const char *s2, const char *s3, const char *b1, const char *b2, const char *b3, int c1,
           int c2, int)
{
    fake::alerts.push_back({str(s1), str(s2), str(s3), str(b1), str(b2), c1, c2, str(b3)});
    return next_answer();
}

int play_sample(const SAMPLE *spl, int vol, int pan, int freq, int loop)
{
    fake::samples.push_back({spl, vol, pan, freq, loop});
    return 0;
}

void stop_sample(const SAMPLE *spl)
{
    fake::stopped.push_back(spl);
}

int play_midi(MIDI *midi, int loop)
{
    fake::midis.push_back({midi, loop});
    return 0;
}

void stop_midi(void)
{
    fake::stop_midi_calls++;
}

void set_volume(int digi_volume, int midi_volume)
{
    fake::volumes.emplace_back(digi_volume, midi_volume);
}

void get_mouse_mickeys(int *mx, int *my)
{
    if (fake::mickeys.empty()) {
        *mx = 0;
        *my = 0;
        return;
    }
    *mx = fake::mickeys.front().first;
    *my = fake::mickeys.front().second;
    fake::mickeys.pop_front();
}

void position_mouse(int x, int y)
{
    fake::mouse_positions.emplace_back(x, y);
}

void show_mouse(BITMAP *bmp)
{
    fake::shown_mouse.push_back(bmp);
}

void set_mouse_sprite(BITMAP *sprite)
{
    fake::mouse_sprites.push_back(sprite);
}

int install_int_ex(void (*proc)(void), long speed)
{
    fake::timer = proc;
    fake::install_int_speeds.push_back(speed);
    return 0;
}

int install_int(void (*proc)(void), long speed)
{
    fake::timer = proc;
    fake::install_int_speeds.push_back(speed);
    return 0;
}

void remove_int(void (*proc)(void))
{
    if (fake::timer == proc)
        fake::timer = nullptr;
    fake::remove_int_calls++;
}

// One rest is one tick of the installed timer: waiting loops run instantly and deterministically.
void rest(unsigned int time)
{
    fake::rest_calls++;
    fake::rest_ms += time;
    if (fake::timer)
        fake::timer();
    if (fake::on_rest)
        fake::on_rest();
}

// The game's waits sleep on a semaphore until a deadline. Here each wait is over at once: by
// default it is one tick of the frame clock, counted here as the real wait would count it, so
// the game's waits run instantly and deterministically; with deadline_passes the deadline is
// reported as passed and the game counts the tick itself.
int sem_clockwait(sem_t *, clockid_t, const struct timespec *deadline)
{
    fake::tick_waits++;
    fake::wait_deadlines.push_back(*deadline);
    if (fake::deadline_passes) {
        if (fake::on_rest)
            fake::on_rest();
        errno = ETIMEDOUT;
        return -1;
    }
    my_timer();
    if (fake::on_rest)
        fake::on_rest();
    return 0;
}

void vsync(void)
{
    fake::vsync_calls++;
}

int do_dialog(DIALOG *dialog, int focus_obj)
{
    fake::dialogs.push_back("do_dialog");
    if (!fake::dialog_hook)
        throw std::runtime_error("do_dialog called without a dialog_hook");
    return fake::dialog_hook(dialog, focus_obj);
}

int popup_dialog(DIALOG *dialog, int focus_obj)
{
    fake::dialogs.push_back("popup_dialog");
    if (!fake::dialog_hook)
        throw std::runtime_error("popup_dialog called without a dialog_hook");
    return fake::dialog_hook(dialog, focus_obj);
}

int file_select_ex(const char *message, char *path, const char *ext, int size, int w, int h)
{
    fake::file_selects.push_back({str(message), str(path), str(ext), size, w, h});
    if (!fake::file_select_hook)
        return 0;
    return fake::file_select_hook(path, size);
}

void set_palette(const RGB *p)
{
    fake::palettes.push_back(p);
}

int keypressed(void)
{
    return !fake::keys.empty();
}

int readkey(void)
{
    if (fake::keys.empty())
        return 0;
    int k = fake::keys.front();
    fake::keys.pop_front();
    return k;
}

void clear_keybuf(void)
{
    fake::keys.clear();
}

void simulate_keypress(int k)
{
    fake::keys.push_back(k);
}

}  // extern "C"

std::string make_temp_dir()
{
    char templ[] = "/tmp/vinkla-test-XXXXXX";
    char *dir = mkdtemp(templ);
    if (!dir)
        throw std::runtime_error("mkdtemp failed");
    return dir;
}

std::string read_file(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

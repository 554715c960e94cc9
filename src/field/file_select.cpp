#include "field/file_select.h"

#include <allegro.h>

#include <algorithm>
#include <cstring>

#include "platform/text_encoding.h"

namespace {
const int path_limit = path_buffer_size - 1;  // what the selector may fill, terminator included

// The chooser's own edit field refuses every letter past ASCII, even in the UTF-8 format; the
// library's plain edit field takes them. The chooser's field is found by its text, the path
// buffer, the first time the dialog manager reads the buttons, and given this procedure.
char *chooser_path = nullptr;
DIALOG_PROC chooser_edit = nullptr;
int (*library_buttons)() = nullptr;
bool letter_refused = false;  // a typed letter did not get into the name

int letter_edit(int msg, DIALOG *d, int c)
{
    if (msg != MSG_UCHAR || c < ' ')
        return chooser_edit(msg, d, c);
    const int before = ustrlen(static_cast<char *>(d->dp));
    const int used = c > 127 ? d_edit_proc(msg, d, c) : chooser_edit(msg, d, c);
    // A full field drops the letter too.
    if (ustrlen(static_cast<char *>(d->dp)) == before)
        letter_refused = true;
    return used;
}

int buttons_and_letters()
{
    if (active_dialog)
        for (DIALOG *d = active_dialog; d->proc; d++)
            if (d->dp == chooser_path && d->proc != letter_edit) {
                chooser_edit = d->proc;
                d->proc = letter_edit;
            }
    return library_buttons();
}

// The game's text is Latin-1, but file names on disk are UTF-8. In its Latin-1 format the
// library converts the folder it starts in and every listed name, and the path it hands back
// then names no file. In its UTF-8 format nothing is converted: the path comes back byte for
// byte, Finnish letters in names show as letters, and letters typed into it are written as
// the disk expects.
int choose_file(const char *title, char *path, int w, int h, const char *extensions = "vkl")
{
    // The start comes from the configuration, which may hold bytes that are no UTF-8; the
    // library's UTF-8 reading does not survive all of them.
    const std::string start = utf8_prefix(well_formed_utf8(path), path_limit - 1);
    std::memcpy(path, start.c_str(), start.size() + 1);
    const std::string utf8_title = utf8_prefix(utf8_from_latin1(title), 255);
    const int text_format = get_uformat();
    const int name_format = get_filename_encoding();
    set_uformat(U_UTF8);
    set_filename_encoding(U_UTF8);
    chooser_path = path;
    letter_refused = false;
    library_buttons = gui_mouse_b;
    gui_mouse_b = buttons_and_letters;
    const int chosen = file_select_ex(utf8_title.c_str(), path, extensions, path_limit, w, h);
    gui_mouse_b = library_buttons;
    chooser_path = nullptr;
    set_filename_encoding(name_format);
    set_uformat(text_format);
    path[path_limit] = 0;
    return chosen;
}

}  // namespace

std::string load_field_file(std::string current)
{
    std::string chosen;
    return choose_field_file(current, chosen) ? chosen : current;
}

bool choose_field_file(const std::string &current, std::string &chosen)
{
    // The level played now is offered, so that the chooser opens in its folder.
    char path[path_buffer_size] = "standardfile.vkl";
    if (!current.empty())
        std::strncpy(path, current.c_str(), path_limit - 1);
    // An accepted empty name names no level: treated like a cancel.
    if (choose_file("Valitse labyrintti", path, 500, 400, "vkl;vkr") == 0 || path[0] == 0)
        return false;
    chosen = path;
    return true;
}

namespace {

void save_name(std::string current, char *path, const char *title, const char *extension, const char *lost)
{
    // The name may come from the configuration file, so it can be longer than the buffer.
    size_t n = std::min(std::strlen(current.c_str()), static_cast<size_t>(path_limit - 1));
    std::memcpy(path, current.c_str(), n);
    path[n] = 0;
    if (choose_file(title, path, 400, 300, extension) == 0) {
        path[0] = 0;
    } else if (letter_refused) {
        // Saved under another name than the one typed, it would be lost to the player.
        alert(L1("Kaikki kirjoitetut kirjaimet eivät mahtuneet nimeen"), shown_file_name(path).c_str(), lost, "Ok",
              nullptr, 0, 0);
        path[0] = 0;
    }
}

}  // namespace

void set_save_file_name(std::string current, char *path)
{
    save_name(current, path, L1("Tallenna kenttä"), "vkl", L1("Kenttää ei tallennettu."));
}

void set_save_run_name(std::string suggested, char *path)
{
    save_name(suggested, path, "Tallenna suoritus", "vkr", "Suoritusta ei tallennettu.");
}

std::string shown_file_name(const std::string &path)
{
    std::string shown = latin1_name(get_filename(path.c_str()));
    if (shown.size() > 60)
        shown = shown.substr(0, 57) + "...";
    return shown;
}

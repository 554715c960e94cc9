#include "menu/editor.h"

#include <cstring>

#include "field/file_select.h"
#include "field/grid.h"
#include "field/level_file.h"
#include "field/tile_kind.h"
#include "menu/editor_help.h"
#include "shell/error.h"
#include "shell/globals.h"

BITMAP *switch_pointer = nullptr;
BITMAP *mysha = nullptr;

namespace {

// The reader can fill 484 characters and a terminator; the buffer keeps a margin beyond that.
const int level_buffer = 547;

// Palette order: tool t (1..16) paints tool_codes[t - 1] and shows that kind's palette picture.
const char tool_codes[] = "A.*OCVFI-WENS+B#";

enum EditorObject {
    BOARD = 0,
    FIRST_TOOL = 1,
    LAST_TOOL = 16,
    OPEN = 17,
    SAVE = 18,
    LEAVE = 19,
    NEW = 20,
    HELP = 21,
    OBJECT_COUNT = 22
};

// Codes with no tool in the palette are not drawn.
BITMAP *picture_of(char code)
{
    if (code == 0 || !std::strchr(tool_codes, code))
        return nullptr;
    return static_cast<BITMAP *>(data1[tile_kind_of(code)->palette].dat);
}

void set_button(DIALOG &d, int y, const char *text)
{
    d = DIALOG{d_button_proc, 592, y, 88, 24, 0, 0xaaaaaa, 0, D_EXIT, 0, 0, const_cast<char *>(text), nullptr, nullptr};
}

// Level text of the blank board; the rest of the buffer stays zero.
void take_blank(char *text, int size)
{
    std::memset(text, 0, size);
    std::memcpy(text, blank_level, grid::level_chars);
}

// The window's close button was pressed over a board that is not saved. True when the game
// may quit: the board was saved or the player let it go. Esc, or another press of the close
// button, answers "Peruuta" and keeps the editor open.
template <typename Save> bool keep_or_drop(Save save)
{
    close_requested = false;
    switch (alert3("Kenttää ei ole tallennettu.", "Tallennetaanko se ennen lopettamista?", "", "Tallenna",
                   "Hylkää", "Peruuta", 0, 0, 0)) {
    case 1:
        return save();
    case 2:
        return true;
    default:
        close_requested = false;
        return false;
    }
}

}  // namespace

void draw_myfield(BITMAP *bmp, char *board)
{
    for (int i = 0; i < grid::level_chars && board[i]; i++) {
        BITMAP *picture = picture_of(board[i]);
        if (picture)
            draw_sprite(bmp, picture, grid::cell * (i % grid::cells), grid::cell * (i / grid::cells));
    }
}

int d_my_bitmap_proc(int msg, DIALOG *d, int c)
{
    switch (msg) {
    case MSG_GOTMOUSE:
    case MSG_GOTFOCUS:
        // Never set_mouse_sprite(NULL): the library would destroy the arrow that mysha holds.
        set_mouse_sprite(switch_pointer ? switch_pointer : mysha);
        break;
    case MSG_LOSTMOUSE:
    case MSG_LOSTFOCUS:
        set_mouse_sprite(mysha);
        break;
    case MSG_CLICK: {
        // The cell under the pointer counted from the screen's corner, not the board's; the
        // dialog manager's reading maps an enlarged window back to 800 by 600.
        int row = gui_mouse_y() / grid::cell;
        int column = gui_mouse_x() / grid::cell;
        const char *tool = static_cast<const char *>(d->dp3);
        if (row >= 1 && row <= grid::cells - 2 && column >= 1 && column <= grid::cells - 2 && tool && *tool) {
            char *text = static_cast<char *>(d->dp2);
            text[grid::cells * row + column] = *tool;
            draw_myfield(static_cast<BITMAP *>(d->dp), text);
        }
        return D_REDRAWME;
    }
    default:
        break;
    }
    return d_bitmap_proc(msg, d, c);
}

std::string editor(std::string current)
{
    BITMAP *board = create_bitmap(grid::pixels, grid::pixels);
    if (!board) {
        alert("Editorin avaaminen epäonnistui", "", "", "Ok", nullptr, -1, -1);
        return current;
    }
    clear_bitmap(board);

    char level[level_buffer];
    char tool = 0;  // no tool until one is chosen: clicks on the board paint nothing

    DIALOG dialog[OBJECT_COUNT + 1];
    std::memset(dialog, 0, sizeof dialog);
    dialog[BOARD] = DIALOG{d_my_bitmap_proc, 16, 16, grid::pixels, grid::pixels, 0, 0, 0, D_EXIT, 0, 0, board, level, &tool};
    for (int t = FIRST_TOOL; t <= LAST_TOOL; t++) {
        int row = (t - 1) / 4, column = (t - 1) % 4;
        dialog[t] = DIALOG{d_icon_proc, 592 + 48 * column, 56 + 48 * row, grid::cell, grid::cell, 0, 0, 0, D_EXIT, 0, 0,
                           data1[tile_kind_of(tool_codes[t - 1])->palette].dat, nullptr, nullptr};
    }
    set_button(dialog[OPEN], 288, "Avaa");
    set_button(dialog[SAVE], 320, "Tallenna");
    set_button(dialog[LEAVE], 384, "Lopeta");
    set_button(dialog[NEW], 256, "Uusi");
    set_button(dialog[HELP], 352, "Apua");

    mysha = mouse_sprite;
    // The pointer over the board matches the tool: none chosen yet in this run.
    switch_pointer = nullptr;
    take_blank(level, sizeof level);
    draw_myfield(board, level);
    std::string file_name = current;
    // The board as last opened, saved or cleared: anything else would be lost by quitting.
    char kept[grid::level_chars];
    std::memcpy(kept, level, grid::level_chars);
    auto save_level = [&] {
        char path[path_buffer_size];
        set_save_file_name(file_name, path);
        if (path[0] == 0) {
            Error::Out1("Väärä palautus");
            return false;
        }
        file_name = path;
        Error::Out1("Yritys");
        if (save_file(file_name, level) != 0) {
            alert("Virhe kentän tallennuksessa", "", "", "Ok", nullptr, -1, -1);
            return false;
        }
        std::memcpy(kept, level, grid::level_chars);
        return true;
    };
    scare_mouse();
    clear_to_color(screen, 0);
    unscare_mouse();

    int r;
    do {
        r = do_dialog(dialog, -1);
        if (r >= FIRST_TOOL && r <= LAST_TOOL) {
            switch_pointer = static_cast<BITMAP *>(dialog[r].dp);
            tool = tool_codes[r - 1];
            Error::Out1("Clicked on tool");
        } else if (r == OPEN) {
            std::string chosen = load_field_file("");
            if (!chosen.empty()) {
                // A board that could not be read must not take the file's name: a later save
                // would overwrite that file with the board still on screen.
                if (load_thedata(chosen, level) == 0) {
                    draw_myfield(board, level);
                    std::memcpy(kept, level, grid::level_chars);
                    file_name = chosen;
                } else {
                    alert("Kentän avaaminen epäonnistui", shown_file_name(chosen).c_str(), "", "Ok", nullptr, -1, -1);
                }
            }
        } else if (r == SAVE) {
            save_level();
        } else if (r == NEW) {
            take_blank(level, sizeof level);
            std::memcpy(kept, level, grid::level_chars);
            file_name = "nimeton.vkl";
            draw_myfield(board, level);
        } else if (r == HELP) {
            editor_help();
        }
        if (close_requested && std::memcmp(level, kept, grid::level_chars) != 0)
            close_requested = keep_or_drop(save_level);
    } while (r != LEAVE && !close_requested);

    // The pointer may still be a tool's picture if the board had the focus at the end.
    set_mouse_sprite(mysha);
    destroy_bitmap(board);
    return current;
}

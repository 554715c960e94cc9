#pragma once
#include <allegro.h>
#include <string>
#include <vector>

// The palette's codes in its order, four to a row: the sixteen tools of old, then the slopes
// and the shutter.
extern const char editor_tools[];
extern BITMAP *switch_pointer;  // the last chosen tool's picture, the pointer over the board
extern BITMAP *mysha;           // the pointer in use when the editor started

// One editor run's board: what the board, palette, status line and keys objects share.
struct editor_board {
    static const int text_size = 547;  // the reader fills up to 484 characters and a terminator

    char text[text_size];             // the level text; the board is its first 196 characters
    char tool = 0;                    // the code a click paints; 0 until a tool is chosen
    BITMAP *picture = nullptr;        // the board as drawn, 546 by 546
    std::string file_name;            // empty for a new board never saved
    std::string saved_text;           // the board as last opened, saved or started
    std::vector<std::string> strokes; // the board before each paint stroke, newest last
    bool just_saved = false;          // the status line confirms the save until the next change
    std::string verdict;              // what the solver said of the board verdict_board, shown
    std::string verdict_board;        // in the status line while the board is that one
    DIALOG *board_object = nullptr;

    bool changed() const;
    void take(const char *level, const std::string &name);
    void undo();
};

std::string editor(std::string current);
void draw_myfield(BITMAP *bmp, char *board);
int d_my_bitmap_proc(int msg, DIALOG *d, int c);

// The inner cell under screen point (x, y) on the editor's board, which lies at (16, 16);
// false on the outer ring and off the board.
bool editor_cell_at(int x, int y, int *row, int *column);

#include "field/field.h"
#include "marble/bead.h"
#include "marble/board_cell.h"
#include "shell/data1.h"
#include "shell/globals.h"
#include "tiles/tile.h"

namespace {

// The fall straight onto the screen: seven frames of the marble sinking, the last frame shrunk
// into the hole, then the hole alone and its sound.
void play_fall(const tile *hole)
{
    int left = hole ? hole->x - 20 : 0;
    int top = hole ? hole->y - 20 : 0;
    BITMAP *under = hole ? hole->picture : nullptr;
    for (int k = OBJ_FALL1; k <= OBJ_FALL7; k++) {
        rest(5);
        vsync();
        if (under)
            draw_sprite(screen, under, left, top);
        draw_sprite(screen, (BITMAP *)data1[k].dat, left, top);
    }
    BITMAP *last = (BITMAP *)data1[OBJ_FALL7].dat;
    for (int i = 0; i < 10; i++) {
        rest(3);
        vsync();
        if (under)
            draw_sprite(screen, under, left, top);
        masked_stretch_blit(last, screen, 0, 0, 39, 39, left + i, top + i, 39 - 2 * i, 39 - 2 * i);
    }
    if (under)
        draw_sprite(screen, under, left, top);
    play_sample((SAMPLE *)data1[OBJ_SND_HOLE].dat, 255, 128, 1000, 0);
    rest(2000);
}

}  // namespace

void bead::show()
{
    int column = board_cell(x, current_field->columns);
    int row = board_cell(y, current_field->rows);
    tile ***tiles = current_field->tiles;

    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++) {
            tile *t = tiles[row + dy][column + dx];
            if (t && t->picture)
                draw_sprite(buffer, t->picture, 39 * dx + 39, 39 * dy + 39);
        }
    if (state == 1)
        draw_sprite(buffer, sprite, (int)x - 39 * column + 19, (int)y - 39 * row + 19);
    if (state == 0)
        return;  // Esc: the last frame stays as it was
    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++) {
            tile *t = tiles[row + dy][column + dx];
            if (t && t->overlay)
                draw_sprite(buffer, t->overlay, 39 * dx + 39, 39 * dy + 39);
        }
    blit(buffer, screen, 0, 0, 39 * column - 39, 39 * row - 39, 117, 117);

    if (state == 2) {
        play_fall(tiles[row][column]);
        // The block without the marble, so the hole is empty when the marble restarts.
        blit(buffer, screen, 0, 0, 39 * column - 39, 39 * row - 39, 117, 117);
    }
}

void bead::draw()
{
    draw_sprite(screen, sprite, (int)x - 20, (int)y - 20);
}

#include "platform/frame.h"

void Frame(BITMAP *bmp, int x1, int y1, int x2, int y2, int color)
{
    const int X1 = x1 - 1, Y1 = y1 - 1, X2 = x2 + 1, Y2 = y2 + 1;
    const int r = getr(color), g = getg(color), b = getb(color);
    const int shade[5] = {
        makecol(r + 2 * ((255 - r) / 3), g + 2 * ((255 - g) / 3), b + 2 * ((255 - b) / 3)),
        makecol(r + (255 - r) / 3, g + (255 - g) / 3, b + (255 - b) / 3),
        color,
        makecol(2 * (r / 3), 2 * (g / 3), 2 * (b / 3)),
        makecol(r / 3, g / 3, b / 3),
    };
    // Ring 0 hugs the rectangle; light falls from the upper left, so the outer ring is lit
    // on top and left and the inner ring on bottom and right: a ridge.
    for (int i = 0; i < 5; ++i) {
        line(bmp, X1 - i, Y1 - i, X2 + i, Y1 - i, shade[4 - i]);
        line(bmp, X1 - i, Y1 - i, X1 - i, Y2 + i, shade[4 - i]);
        line(bmp, X1 - i, Y2 + i, X2 + i, Y2 + i, shade[i]);
        line(bmp, X2 + i, Y1 - i, X2 + i, Y2 + i, shade[i]);
    }
}

void keycap(BITMAP *bmp, FONT *f, int x, int y, int w, const char *label)
{
    const int h = text_height(f) + 4;
    rectfill(bmp, x, y, x + w - 1, y + h - 1, makecol(0xaa, 0xaa, 0xaa));
    hline(bmp, x, y, x + w - 1, makecol(0xe2, 0xe2, 0xe2));
    vline(bmp, x, y, y + h - 1, makecol(0xe2, 0xe2, 0xe2));
    hline(bmp, x, y + h - 1, x + w - 1, makecol(0x55, 0x55, 0x55));
    vline(bmp, x + w - 1, y, y + h - 1, makecol(0x55, 0x55, 0x55));
    textout_centre_ex(bmp, f, label, x + w / 2, y + 2, makecol(0, 0, 0), -1);
}

std::vector<std::string> wrapped_lines(FONT *f, const std::string &text, int width)
{
    std::vector<std::string> lines;
    std::string line;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(' ', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty())
            continue;
        const std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && text_length(f, longer.c_str()) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

void medal_disc(BITMAP *bmp, int rank, int x, int y)
{
    if (rank < 1 || rank > 3)
        return;
    const int face = rank == 1 ? makecol(224, 178, 40) : rank == 2 ? makecol(190, 194, 204) : makecol(184, 110, 56);
    circlefill(bmp, x, y, 8, makecol(70, 40, 20));
    circlefill(bmp, x, y, 7, face);
    circlefill(bmp, x - 2, y - 2, 2, makecol(255, 250, 230));
}

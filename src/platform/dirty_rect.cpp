#include "platform/dirty_rect.h"

#include <algorithm>

void dirty_rect::add(int x, int y, int w, int h)
{
    if (w <= 0 || h <= 0)
        return;
    if (empty()) {
        x1 = x;
        y1 = y;
        x2 = x + w;
        y2 = y + h;
        return;
    }
    x1 = std::min(x1, x);
    y1 = std::min(y1, y);
    x2 = std::max(x2, x + w);
    y2 = std::max(y2, y + h);
}

void dirty_rect::clip(int x, int y, int w, int h)
{
    x1 = std::max(x1, x);
    y1 = std::max(y1, y);
    x2 = std::min(x2, x + w);
    y2 = std::min(y2, y + h);
    if (empty())
        clear();
}

void present(BITMAP *from, int at_x, int at_y, dirty_rect &changed)
{
    if (!changed.empty())
        blit(from, screen, changed.x1 - at_x, changed.y1 - at_y, changed.x1, changed.y1,
             changed.x2 - changed.x1, changed.y2 - changed.y1);
    changed.clear();
}

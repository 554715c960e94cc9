"""Font grid images for dat: Latin-1 glyphs in cells bounded by palette index 255."""
import numpy as np
from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
RANGES = [(0x20, 0x7E), (0xA0, 0xFF)]
BORDER = 255
PER_ROW = 16


def _chars():
    return [chr(c) for lo, hi in RANGES for c in range(lo, hi + 1)]


def render_grid(font_file, size, levels, extra_gap=0):
    """Rasterise Latin-1 into a grid image.

    levels: list of palette indices from full ink to faintest edge; a single
    entry gives a mono font, several give an antialiased colour font.
    Returns (indexed pixel array, cell height).
    """
    f = ImageFont.truetype(FONT_DIR + font_file, size)
    ascent, descent = f.getmetrics()
    h = ascent + descent
    glyphs = []
    for ch in _chars():
        shown = "-" if ch == "\xad" else (" " if ch == "\xa0" else ch)
        w = max(1, int(round(f.getlength(shown))) + extra_gap)
        big = 1 if len(levels) == 1 else 4
        im = Image.new("L", (w * big + 4 * big, h * big), 0)
        d = ImageDraw.Draw(im)
        if big == 1:
            d.fontmode = "1"
            d.text((0, 0), shown, font=f, fill=255)
        else:
            fb = ImageFont.truetype(FONT_DIR + font_file, size * big)
            d.text((0, 0), shown, font=fb, fill=255)
            im = im.resize((w + 4, h), Image.BOX)
        cov = np.asarray(im, float)[:, :w] / 255
        if len(levels) == 1:
            g = np.where(cov > 0.5, levels[0], 0)
        else:
            n = len(levels)
            q = np.clip(np.floor(cov * n + 0.35), 0, n).astype(int)  # 0..n
            lut = np.array([0] + list(reversed(levels)))
            g = lut[q]
        glyphs.append(g.astype(np.uint8))
    rows = [glyphs[i:i + PER_ROW] for i in range(0, len(glyphs), PER_ROW)]
    width = max(sum(g.shape[1] + 1 for g in r) + 1 for r in rows)
    height = len(rows) * (h + 1) + 1
    img = np.zeros((height, width), np.uint8)
    y = 0
    for r in rows:
        x = 0
        img[y, :sum(g.shape[1] + 1 for g in r) + 1] = BORDER
        img[y + h + 1, :sum(g.shape[1] + 1 for g in r) + 1] = BORDER
        for g in r:
            img[y:y + h + 2, x] = BORDER
            img[y + 1:y + 1 + h, x + 1:x + 1 + g.shape[1]] = g
            x += g.shape[1] + 1
        img[y:y + h + 2, x] = BORDER
        y += h + 1
    return img, h


def save_grid(path, pixels, palette):
    im = Image.fromarray(pixels, "P")
    flat = []
    for c in palette:
        flat.extend(c)
    im.putpalette(flat)
    im.save(path, format="BMP")


def write_script(path, bmp_name):
    lo, hi = RANGES[0]
    lines = [f"{bmp_name} 0x{lo:02X} 0x{hi:02X}"]
    for lo, hi in RANGES[1:]:
        lines.append(f"- 0x{lo:02X} 0x{hi:02X}")
    with open(path, "w") as fp:
        fp.write("\n".join(lines) + "\n")

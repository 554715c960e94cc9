"""Font grid images for dat: Latin-1 glyphs in cells bounded by palette index 255."""
import numpy as np
from PIL import Image, ImageDraw, ImageFont

from . import system

RANGES = [(0x20, 0x7E), (0xA0, 0xFF)]
BORDER = 255
PER_ROW = 16


def _chars():
    return [chr(c) for lo, hi in RANGES for c in range(lo, hi + 1)]


def render_grid(font_file, size, levels):
    """Rasterise Latin-1 into a grid image.

    levels: palette indices from full ink to faintest edge; one entry gives a
    mono font, several an antialiased colour font (hinted, so stems stay solid).
    Rows without ink in any glyph are trimmed, keeping one blank row below
    for line spacing. Returns (indexed pixel array, cell height).
    """
    f = ImageFont.truetype(system.font(font_file), size)
    ascent, descent = f.getmetrics()
    full_h = ascent + descent + 2
    covs = []
    for ch in _chars():
        shown = "-" if ch == "\xad" else (" " if ch == "\xa0" else ch)
        adv = int(round(f.getlength(shown)))
        # measure the hinted ink: cells cannot overlap, so a real overhang widens the cell
        probe = Image.new("L", (adv + 16, full_h), 0)
        pd = ImageDraw.Draw(probe)
        pd.fontmode = "1"
        pd.text((8, 1), shown, font=f, fill=255)
        cols = np.nonzero(np.asarray(probe).max(axis=0))[0]
        left, right = (cols[0] - 8, cols[-1] - 8 + 1) if len(cols) else (0, adv)
        if left < 0 and right - left <= adv:
            x0, w = left, adv             # slide a small overhang back inside the advance
        else:
            x0 = min(0, left)
            w = max(1, max(adv, right) - x0)
        mono = Image.new("L", (w, full_h), 0)
        d = ImageDraw.Draw(mono)
        d.fontmode = "1"
        d.text((-x0, 1), shown, font=f, fill=255)
        core = np.asarray(mono, float) / 255
        if len(levels) == 1:
            covs.append(core)
            continue
        # a crisp hinted core with a soft edge taken from a 4x supersampled render
        big = Image.new("L", (w * 4, full_h * 4), 0)
        fb = ImageFont.truetype(system.font(font_file), size * 4)
        ImageDraw.Draw(big).text((-x0 * 4, 4), shown, font=fb, fill=255)
        soft = np.asarray(big.resize((w, full_h), Image.BOX), float) / 255
        covs.append(np.maximum(core, np.minimum(soft, 0.74)))
    rows_with_ink = np.nonzero(np.max([c.max(axis=1) for c in covs], axis=0) > 0.1)[0]
    top, bottom = rows_with_ink[0], rows_with_ink[-1] + 2
    h = bottom - top
    glyphs = []
    for cov in covs:
        cov = cov[top:bottom]
        if len(levels) == 1:
            g = np.where(cov > 0.5, levels[0], 0)
        else:
            n = len(levels)
            q = np.clip(np.floor(cov * n + 0.3), 0, n).astype(int)  # 0..n
            lut = np.array([0] + list(reversed(levels)))
            g = lut[q]
        glyphs.append(g.astype(np.uint8))
    # Each row has its own border and a blank line below it: a border shared with
    # a wider row above would make the importer see a phantom cell at the row's end.
    rows = [glyphs[i:i + PER_ROW] for i in range(0, len(glyphs), PER_ROW)]
    width = max(sum(g.shape[1] + 1 for g in r) + 1 for r in rows)
    height = len(rows) * (h + 3)
    img = np.zeros((height, width), np.uint8)
    y = 0
    for r in rows:
        row_w = sum(g.shape[1] + 1 for g in r) + 1
        img[y, :row_w] = BORDER
        img[y + h + 1, :row_w] = BORDER
        x = 0
        for g in r:
            img[y:y + h + 2, x] = BORDER
            img[y + 1:y + 1 + h, x + 1:x + 1 + g.shape[1]] = g
            x += g.shape[1] + 1
        img[y:y + h + 2, x] = BORDER
        y += h + 3
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

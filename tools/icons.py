#!/usr/bin/python3
"""Draw the game's icon:  icons.py HEADER ICON_DIR

ICON_DIR gets hicolor/NxN/apps/vinkla.png for every size and hicolor/scalable/apps/vinkla.svg,
as a desktop installs them; HEADER the sizes up to 128 as ARGB words, which the game puts on its
window, so the window and the desktop entry show the same picture.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen import system  # noqa: E402

system.check()
from PIL import Image  # noqa: E402

from gen.icon import SIZES, icon_rgba, icon_svg  # noqa: E402

WINDOW_SIZES = tuple(s for s in SIZES if s <= 128)


def write_replacing(path, data):
    """Writes a whole file beside the old one, then puts it in place."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    tmp = path + ".tmp"
    with open(tmp, "wb") as fp:
        fp.write(data)
    os.replace(tmp, path)


def header_text():
    words = []
    for s in WINDOW_SIZES:
        px = icon_rgba(s).astype("uint32")
        argb = (px[..., 3] << 24) | (px[..., 0] << 16) | (px[..., 1] << 8) | px[..., 2]
        words.extend(int(v) for v in argb.ravel())
    rows = ",\n".join(", ".join("0x%08xu" % v for v in words[i:i + 8]) for i in range(0, len(words), 8))
    sizes = ", ".join(str(s) for s in WINDOW_SIZES)
    return ("// Drawn by tools/icons.py at build time.\n#pragma once\n#include <cstdint>\n\n"
            f"constexpr int window_icon_count = {len(WINDOW_SIZES)};\n"
            f"constexpr int window_icon_sizes[window_icon_count] = {{{sizes}}};\n"
            "// Each size's pixels row by row, 0xAARRGGBB, one size after the other.\n"
            f"constexpr std::uint32_t window_icon_argb[] = {{\n{rows}}};\n")


def main(header, icon_dir):
    import io
    for s in SIZES:
        buf = io.BytesIO()
        Image.fromarray(icon_rgba(s), "RGBA").save(buf, format="PNG")
        write_replacing(os.path.join(icon_dir, f"hicolor/{s}x{s}/apps/vinkla.png"), buf.getvalue())
    write_replacing(os.path.join(icon_dir, "hicolor/scalable/apps/vinkla.svg"), icon_svg().encode())
    write_replacing(header, header_text().encode())


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: icons.py HEADER ICON_DIR")
    main(sys.argv[1], sys.argv[2])

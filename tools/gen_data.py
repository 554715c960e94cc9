#!/usr/bin/python3
"""Write every source of data1.dat into OUTDIR, plus manifest.txt for build-data.sh.

Each manifest line: kind file, in the order of the game's list of objects (src/platform/data1.h).
Kinds are dat's -t types.
"""
import colorsys
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen import system  # noqa: E402

system.check()
import numpy as np  # noqa: E402
from PIL import Image  # noqa: E402

from gen import fonts, music, pictures as P, sounds  # noqa: E402
from gen.common import save_bmp  # noqa: E402
import game_tables  # noqa: E402


def palette():
    """Allegro-like general palette; 16..23 hold the text font's ink ramp."""
    pal = [(0, 0, 0)] * 256
    ega = [(0, 0, 0), (0, 0, 170), (0, 170, 0), (0, 170, 170), (170, 0, 0), (170, 0, 170),
           (170, 85, 0), (170, 170, 170), (85, 85, 85), (85, 85, 255), (85, 255, 85),
           (85, 255, 255), (255, 85, 85), (255, 85, 255), (255, 255, 85), (255, 255, 255)]
    pal[:16] = ega
    for i, c in enumerate(TEXT_INK):
        pal[16 + i] = c
    for i in range(24, 32):
        g = int((i - 24) * 255 / 7)
        pal[i] = (g, g, g)
    for i in range(32, 248):
        k = i - 32
        hue, band = (k % 24) / 24.0, k // 24
        light = 0.25 + 0.6 * band / 8.0
        r, g, b = colorsys.hls_to_rgb(hue, light, 0.75)
        pal[i] = (int(r * 255), int(g * 255), int(b * 255))
    pal[255] = (255, 255, 255)
    return pal


# Ink of the info/help font, darkest first, fading towards the cream of the text boxes.
TEXT_INK = [(34, 18, 8), (72, 50, 34), (128, 104, 84), (188, 168, 144),
            (0, 0, 0), (0, 0, 0), (0, 0, 0), (0, 0, 0)]


def main(out):
    os.makedirs(out, exist_ok=True)
    items = []

    def bmp(name, img, mask=None):
        fn = f"a{len(items):02d}_{name}.bmp"
        save_bmp(os.path.join(out, fn), img, mask)
        items.append(("BMP", fn))

    def wav(name, key):
        fn = f"a{len(items):02d}_{name}.wav"
        sounds.write_wav(os.path.join(out, fn), sounds.ALL[key]())
        items.append(("SAMP", fn))

    def mid(name, data):
        fn = f"a{len(items):02d}_{name}.mid"
        with open(os.path.join(out, fn), "wb") as fp:
            fp.write(data)
        items.append(("MIDI", fn))

    def font(name, face, size, levels):
        base = f"a{len(items):02d}_{name}"
        pix, _ = fonts.render_grid(face, size, levels)
        grid_pal = [(0, 0, 0)] * 256
        grid_pal[1] = (255, 255, 255)
        for i, c in enumerate(TEXT_INK[:4]):
            grid_pal[16 + i] = c
        grid_pal[255] = (255, 255, 0)
        fonts.save_grid(os.path.join(out, base + "_grid.bmp"), pix, grid_pal)
        fonts.write_script(os.path.join(out, base + ".txt"), base + "_grid.bmp")
        items.append(("FONT", base + ".txt"))

    def pal(name):
        fn = f"a{len(items):02d}_{name}.bmp"
        im = Image.fromarray(np.arange(256, dtype=np.uint8).reshape(16, 16), "P")
        flat = [v for c in palette() for v in c]
        im.putpalette(flat)
        im.save(os.path.join(out, fn), format="BMP")
        items.append(("PAL", fn))

    floor = P.floor()
    knob, knob_mask = P.knob_layer()
    marble, marble_mask = P.marble_picture()
    bumper_whole = floor.copy()
    bumper_whole[knob_mask] = knob[knob_mask]

    # How each object of the game's list is made, by its name there.
    make = {
        "MARBLE": lambda n: bmp(n, marble, marble_mask),
        "SND_SLIDER": lambda n: wav(n, "slider"),
        "BUMPER_TOOL": lambda n: bmp(n, bumper_whole),
        "BUMPER_KNOB": lambda n: bmp(n, knob, knob_mask),
        "SND_BUMPER": lambda n: wav(n, "bumper"),
        "BOWL": lambda n: bmp(n, P.dome_or_bowl(True)),
        "DOME": lambda n: bmp(n, P.dome_or_bowl(False)),
        "FLAG": lambda n: bmp(n, P.flag()),
        "SND_FLAG": lambda n: wav(n, "flag"),
        "FLOOR": lambda n: bmp(n, floor),
        "HOLE": lambda n: bmp(n, P.hole()),
        "SND_HOLE": lambda n: wav(n, "hole"),
        "TITLE_LOGO": lambda n: bmp(n, P.logo()),
        "TITLE_2": lambda n: bmp(n, *P.tagline()),
        "TITLE_3": lambda n: bmp(n, P.marble_strip()),
        "FONT_MENU": lambda n: font(n, "DejaVuSans-Bold.ttf", 13, [1]),
        "MIDI_PREVIEW": lambda n: mid(n, music.preview_piece()),
        "SND_SILENT": lambda n: wav(n, "silent"),
        "SLOPE_RIGHT": lambda n: bmp(n, P.slope("right")),
        "SLOPE_UP": lambda n: bmp(n, P.slope("up")),
        "SLOPE_DOWN": lambda n: bmp(n, P.slope("down")),
        "SLOPE_LEFT": lambda n: bmp(n, P.slope("left")),
        "CLOTH": lambda n: bmp(n, P.cloth()),
        "START": lambda n: bmp(n, P.start_marker()),
        "MIDI_RUN": lambda n: mid(n, music.run_piece()),
        "FONT_TEXT": lambda n: font(n, "DejaVuSans.ttf", 12, [16, 17, 18, 19]),
        "PALETTE": lambda n: pal(n),
        "WALL": lambda n: bmp(n, P.wall()),
        "SND_BOUNCE": lambda n: wav(n, "knock"),
        "SHUTTER": lambda n: bmp(n, P.shutter()),
        "BUBBLE": lambda n: bmp(n, *P.bubble()),
        "GHOST": lambda n: bmp(n, *P.ghost_picture()),
    }
    for k in range(7):
        make[f"FALL{k + 1}"] = lambda n, k=k: bmp(n, *P.fall_frame(k))
    for name, opens in (("TUBE_NS", "ns"), ("TUBE_NSE", "nse"), ("TUBE_NSW", "nsw"), ("TUBE_WE", "we"),
                        ("TUBE_WEN", "wen"), ("TUBE_WES", "wes"), ("TUBE_X", "nsew")):
        make[name] = lambda n, opens=opens: bmp(n, P.tube(opens))

    dat_kind = {"BITMAP": "BMP", "SAMPLE": "SAMP", "MIDI": "MIDI", "FONT": "FONT", "PALETTE": "PAL"}
    listed = game_tables.data_objects_list()
    unused = set(make) - {name for name, _ in listed}
    assert not unused, f"made but not in the game's list: {sorted(unused)}"
    for name, kind in listed:
        assert name in make, f"no maker for the game's object {name}"
        make[name](name.lower())
        assert items[-1][0] == dat_kind[kind], f"{name} is listed as {kind}, made as {items[-1][0]}"

    with open(os.path.join(out, "manifest.txt"), "w") as fp:
        for kind, fn in items:
            fp.write(f"{kind} {fn}\n")


if __name__ == "__main__":
    main(sys.argv[1])

#!/usr/bin/python3
"""Write every source of data1.dat into OUTDIR, plus manifest.txt for build-data.sh.

Each manifest line: kind file  (in object order 0..43). Kinds are dat's -t types.
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

    bmp("marble", marble, marble_mask)                       # 0
    wav("snd_slider", "slider")                              # 1
    bumper_whole = floor.copy()
    bumper_whole[knob_mask] = knob[knob_mask]
    bmp("bumper_tool", bumper_whole)                         # 2
    bmp("bumper_knob", knob, knob_mask)                      # 3
    wav("snd_bumper", "bumper")                              # 4
    bmp("bowl", P.dome_or_bowl(True))                        # 5
    bmp("dome", P.dome_or_bowl(False))                       # 6
    for k in range(7):                                       # 7..13
        col, m = P.fall_frame(k)
        bmp(f"fall{k + 1}", col, m)
    bmp("flag", P.flag())                                    # 14
    wav("snd_flag", "flag")                                  # 15
    bmp("floor", floor)                                      # 16
    bmp("hole", P.hole())                                    # 17
    wav("snd_hole", "hole")                                  # 18
    bmp("title_logo", P.logo())                              # 19
    bmp("title_2", *P.tagline())                              # 20
    bmp("title_3", P.marble_strip())                         # 21
    font("font_menu", "DejaVuSans-Bold.ttf", 13, [1])        # 22
    mid("midi_preview", music.preview_piece())               # 23
    wav("snd_silent", "silent")                              # 24
    bmp("slope_right", P.slope("right"))                     # 25
    bmp("slope_up", P.slope("up"))                           # 26
    bmp("slope_down", P.slope("down"))                       # 27
    bmp("slope_left", P.slope("left"))                       # 28
    bmp("cloth", P.cloth())                                  # 29
    bmp("start", P.start_marker())                           # 30
    mid("midi_run", music.run_piece())                       # 31
    font("font_text", "DejaVuSans.ttf", 12, [16, 17, 18, 19])  # 32
    pal("palette")                                           # 33
    for name, opens in (("tube_ns", "ns"), ("tube_nse", "nse"), ("tube_nsw", "nsw"),
                        ("tube_we", "we"), ("tube_wen", "wen"), ("tube_wes", "wes"),
                        ("tube_x", "nsew")):                 # 34..40
        bmp(name, P.tube(opens))
    bmp("wall", P.wall())                                    # 41
    wav("snd_bounce", "knock")                               # 42
    bmp("shutter", P.shutter())                              # 43

    assert len(items) == 44, len(items)
    with open(os.path.join(out, "manifest.txt"), "w") as fp:
        for kind, fn in items:
            fp.write(f"{kind} {fn}\n")


if __name__ == "__main__":
    main(sys.argv[1])

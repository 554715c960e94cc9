#!/usr/bin/python3
"""Compares cells of a screenshot of a game run with the pictures their tiles must show.

usage: board_cells.py SHOT[:SHOT...] LEVEL DATAFILE [ROW,COL ...]
Each listed cell (every cell when none is listed) of the board at the screen's top-left corner
must equal its tile's lower picture with the upper picture drawn over it, pixel for pixel.
Prints, a line for each screenshot, "ok" or the cells that differ. The pictures come from the
data file through `dat`.
"""
import os
import subprocess
import sys
import tempfile

import numpy as np
from PIL import Image

# Code -> (lower picture, upper picture) as data file object names.
PICTURES = {
    "*": ("A41_WALL_BMP", None), ".": ("A16_FLOOR_BMP", None), "A": ("A16_FLOOR_BMP", None),
    "X": ("A43_SHUTTER_BMP", None), "#": ("A29_CLOTH_BMP", None), "O": ("A17_HOLE_BMP", None),
    "F": ("A14_FLAG_BMP", None), "n": ("A26_SLOPE_UP_BMP", None),
    "s": ("A27_SLOPE_DOWN_BMP", None), "w": ("A28_SLOPE_LEFT_BMP", None),
    "e": ("A25_SLOPE_RIGHT_BMP", None), "V": ("A06_DOME_BMP", None), "C": ("A05_BOWL_BMP", None),
    "B": ("A16_FLOOR_BMP", "A03_BUMPER_KNOB_BMP"), "I": (None, "A34_TUBE_NS_BMP"),
    "-": (None, "A37_TUBE_WE_BMP"), "+": (None, "A40_TUBE_X_BMP"), "E": (None, "A35_TUBE_NSE_BMP"),
    "W": (None, "A36_TUBE_NSW_BMP"), "N": (None, "A38_TUBE_WEN_BMP"), "S": (None, "A39_TUBE_WES_BMP"),
}
MASK = 0xFF00FF


def packed(path):
    a = np.array(Image.open(path).convert("RGB")).astype(np.int64)
    return (a[:, :, 0] << 16) | (a[:, :, 1] << 8) | a[:, :, 2]


def main():
    rows = open(sys.argv[2], encoding="latin-1").read().split()[:14]
    datafile = sys.argv[3]
    cells = [tuple(int(v) for v in c.split(",")) for c in sys.argv[4:]]
    if not cells:
        cells = [(i, j) for i in range(14) for j in range(14)]
    pictures = {}
    with tempfile.TemporaryDirectory() as tmp:
        for names in PICTURES.values():
            for name in names:
                if name and name not in pictures:
                    out = os.path.join(tmp, name + ".bmp")
                    subprocess.run(["dat", "-x", datafile, name, "-o", out], check=True,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                    pictures[name] = packed(out)
    for path in sys.argv[1].split(":"):
        shot = packed(path)
        bad = []
        for i, j in cells:
            lower, upper = PICTURES[rows[i][j]]
            region = shot[39 * i:39 * i + 39, 39 * j:39 * j + 39]
            want = np.full((39, 39), -1, dtype=np.int64)  # -1: anything (nothing drawn there)
            for name in (lower, upper):
                if name:
                    p = pictures[name][:39, :39]
                    want = np.where(p != MASK, p, want)
            if np.any((want != -1) & (region != want)):
                bad.append("%d,%d" % (i, j))
        print("ok" if not bad else " ".join(bad))


main()

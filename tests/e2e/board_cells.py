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

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import game_tables  # noqa: E402

# Code -> (lower picture, upper picture) as data file object names.
PICTURES = {code: (picture, overlay) for code, (_, picture, overlay) in game_tables.tile_kinds().items()}
CELL = game_tables.cell()
CELLS = game_tables.cells()
MASK = 0xFF00FF


def packed(path):
    a = np.array(Image.open(path).convert("RGB")).astype(np.int64)
    return (a[:, :, 0] << 16) | (a[:, :, 1] << 8) | a[:, :, 2]


def main():
    rows = open(sys.argv[2], encoding="latin-1").read().split()[:CELLS]
    datafile = sys.argv[3]
    cells = [tuple(int(v) for v in c.split(",")) for c in sys.argv[4:]]
    if not cells:
        cells = [(i, j) for i in range(CELLS) for j in range(CELLS)]
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
            region = shot[CELL * i:CELL * i + CELL, CELL * j:CELL * j + CELL]
            want = np.full((CELL, CELL), -1, dtype=np.int64)  # -1: anything (nothing drawn there)
            for name in (lower, upper):
                if name:
                    p = pictures[name][:CELL, :CELL]
                    want = np.where(p != MASK, p, want)
            if np.any((want != -1) & (region != want)):
                bad.append("%d,%d" % (i, j))
        print("ok" if not bad else " ".join(bad))


main()

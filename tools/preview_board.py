#!/usr/bin/python3
"""Compose a sample board from the generated sources (gen_data.py's folder) into a PNG.

Usage: preview_board.py SRCDIR OUT.png [scale]
Draws pictures the way the game does: 39-pixel pitch, mask colour skipped,
the marble and the overlays on top. For looking at, not for the build.
"""
import sys

import numpy as np
from PIL import Image

SRC, OUT = sys.argv[1], sys.argv[2]
SCALE = int(sys.argv[3]) if len(sys.argv) > 3 else 2

names = [l.split()[1] for l in open(f"{SRC}/manifest.txt")]


def pic(i):
    return np.asarray(Image.open(f"{SRC}/{names[i]}").convert("RGB")).astype(np.uint8)


def sprite(dst, src, x, y):
    h, w = src.shape[:2]
    m = ~((src[..., 0] == 255) & (src[..., 1] == 0) & (src[..., 2] == 255))
    sub = dst[y:y + h, x:x + w]
    mm = m[:sub.shape[0], :sub.shape[1]]
    sub[mm] = src[:sub.shape[0], :sub.shape[1]][mm]


CODES = {"*": 41, ".": 16, "A": 16, "O": 17, "F": 14, "C": 5, "V": 6, "B": 16, "#": 29, "S": 43,
         "<": 28, ">": 25, "^": 26, "v": 27, "I": None, "-": None, "+": None, "N": None, "E": None,
         "W": None, "U": None}
OVER = {"B": 3, "I": 34, "-": 37, "+": 40, "E": 35, "W": 36, "N": 38, "U": 39}
BOARD = [
    "**************",
    "*A...*..O..F.*",
    "*.**.*.###...*",
    "*.*F.I.###.O.*",
    "*.*..I...>>>.*",
    "*....+--E....*",
    "*.VC.I..I.**.*",
    "*.CV.N..U.*F.*",
    "*......O..*..*",
    "*.B.^^.....v.*",
    "*...^^.SSS.v.*",
    "*.O.<<..F..W-*",
    "*F.......*.I.*",
    "**************",
]

board = np.zeros((546 + 80, 546 + 200, 3), np.uint8)
marble_at = (39 * 6 + 20, 39 * 4 + 20)
for r, row in enumerate(BOARD):
    for c, ch in enumerate(row):
        p = CODES[ch]
        if p is not None:
            sprite(board, pic(p), 39 * c, 39 * r)
sprite(board, pic(0), marble_at[0] - 20, marble_at[1] - 20)
sprite(board, pic(0), 39 * 5 + 20 - 20, 39 * 6 + 20 - 20 + 10)  # one inside a tube
sprite(board, pic(0), 39 * 2 + 20 - 20 + 10, 39 * 9 + 20 - 20 + 4)  # one under the bumper
for r, row in enumerate(BOARD):
    for c, ch in enumerate(row):
        if ch in OVER:
            sprite(board, pic(OVER[ch]), 39 * c, 39 * r)
# tool palette of the editor, 4 by 4, and the fall frames
tools = [30, 16, 41, 17, 5, 6, 14, 34, 37, 36, 35, 38, 39, 40, 2, 29]
for t, o in enumerate(tools):
    sprite(board, pic(o), 560 + 45 * (t % 4), 10 + 45 * (t // 4))
for k in range(7):
    sprite(board, pic(17), 560 + 45 * (k % 4), 200 + 45 * (k // 4))
    sprite(board, pic(7 + k), 560 + 45 * (k % 4), 200 + 45 * (k // 4))
for k, o in enumerate((25, 26, 27, 28, 43, 3)):
    sprite(board, pic(o), 560 + 45 * (k % 4), 300 + 45 * (k // 4))
Image.fromarray(board).resize((board.shape[1] * SCALE, board.shape[0] * SCALE), Image.NEAREST).save(OUT)

# the title pictures on black, as the info screen puts them
title = np.zeros((600, 800, 3), np.uint8)
sprite(title, pic(19), 235, 150)
sprite(title, pic(20), 195, 240)
sprite(title, pic(21), 235, 300)
title[325:556, 95:706] = (170, 120, 100)
title[330:551, 100:701] = (255, 238, 221)
Image.fromarray(title).save(OUT.replace(".png", "_title.png"))

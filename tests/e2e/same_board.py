#!/usr/bin/python3
"""Compares the board of a game run with the board of the editor, cell by cell.

usage: same_board.py RUN_SHOT EDITOR_SHOT LEVEL
The run draws the board at the screen's corner, the editor at (16, 16). Every cell but the
start's (where the run shows the marble and the editor the start marker) must match pixel for
pixel. Prints "ok" or the cells that differ.
"""
import sys

import numpy as np
from PIL import Image


def main():
    run = np.array(Image.open(sys.argv[1]).convert("RGB"))[0:546, 0:546]
    editor = np.array(Image.open(sys.argv[2]).convert("RGB"))[16:562, 16:562]
    rows = open(sys.argv[3], encoding="latin-1").read().split()[:14]
    bad = []
    for i in range(14):
        for j in range(14):
            if rows[i][j] == "A":
                continue
            a = run[39 * i:39 * i + 39, 39 * j:39 * j + 39]
            b = editor[39 * i:39 * i + 39, 39 * j:39 * j + 39]
            if not np.array_equal(a, b):
                bad.append("%d,%d" % (i, j))
    print("ok" if not bad else " ".join(bad))


main()

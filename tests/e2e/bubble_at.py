#!/usr/bin/python3
"""Finds the spirit level's bubble on a screenshot of a game run.

usage: bubble_at.py SHOT BUBBLE_BMP
Prints the bubble's centre relative to the vial's centre (727, 414), "DX DY", where the bubble's
picture matches best: the vial's marks are drawn over it, so a few of its pixels may differ,
but a bubble a pixel off matches far worse. "none" when no place matches nine in ten pixels.
"""
import sys

import numpy as np
from PIL import Image

VIAL = (727, 414)
TRAVEL = 27          # the bubble's centre stays this near the vial's


def packed(path):
    a = np.array(Image.open(path).convert("RGB")).astype(np.int64)
    return (a[:, :, 0] << 16) | (a[:, :, 1] << 8) | a[:, :, 2]


def main():
    shot = packed(sys.argv[1])
    bubble = packed(sys.argv[2])
    h, w = bubble.shape
    opaque = bubble != 0xFF00FF
    best, at = -1, None
    for dy in range(-TRAVEL, TRAVEL + 1):
        for dx in range(-TRAVEL, TRAVEL + 1):
            if dx * dx + dy * dy > TRAVEL * TRAVEL + 1:
                continue
            x, y = VIAL[0] + dx - w // 2, VIAL[1] + dy - h // 2
            same = int(np.count_nonzero((shot[y:y + h, x:x + w] == bubble) & opaque))
            if same > best:
                best, at = same, (dx, dy)
    print("%d %d" % at if best * 10 >= 9 * int(np.count_nonzero(opaque)) else "none")


main()

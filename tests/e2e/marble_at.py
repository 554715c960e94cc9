#!/usr/bin/python3
"""Finds the marble on a screenshot of a game run.

usage: marble_at.py SHOT[:SHOT...] MARBLE_BMP
Prints, a line for each screenshot, the marble's centre "X Y" (its picture's top-left corner
plus 20) where every opaque pixel of the marble's picture appears exactly, or "none" when the
whole marble is nowhere on the board (hidden under a tube, or not drawn). Pixels are exact on a
24-bit Xvfb screen.
"""
import sys

import numpy as np
from PIL import Image


def packed(path):
    a = np.array(Image.open(path).convert("RGB")).astype(np.int64)
    return (a[:, :, 0] << 16) | (a[:, :, 1] << 8) | a[:, :, 2]


def find(shot, sprite):
    shot = shot[:546, :546]  # the board lies at the screen's top-left corner
    mask = 0xFF00FF
    js, is_ = np.nonzero(sprite != mask)
    values = sprite[js, is_]
    h, w = sprite.shape
    # Every top-left corner at which the first opaque pixel matches, narrowed pixel by pixel.
    cy, cx = np.nonzero(shot[js[0]:shot.shape[0] - h + 1 + js[0], is_[0]:shot.shape[1] - w + 1 + is_[0]] == values[0])
    for j, i, v in zip(js[1:], is_[1:], values[1:]):
        keep = shot[cy + j, cx + i] == v
        cy, cx = cy[keep], cx[keep]
        if len(cy) == 0:
            break
    if len(cy) == 0:
        return "none"
    return "%d %d" % (cx[0] + 20, cy[0] + 20)


def main():
    sprite = packed(sys.argv[2])
    for path in sys.argv[1].split(":"):
        print(find(packed(path), sprite))


main()

#!/usr/bin/python3
"""Moves the pointer by relative steps the way the game can count every one of them.

usage: hand.py STATE DX,DY [DX,DY ...]
STATE is a file this keeps between calls (delete it when a run starts).

While a program reads mickeys, the library's X11 driver puts the pointer back in the window's
centre on four motion events of every eight (a fixed cycle), and then drops every motion event
that does not report the centre until the one caused by its own warp comes: a step the X server
takes after the driver decided to warp but before its warp arrives is lost. So after a step that
warps, the next one waits until the pointer is seen in the centre; the other steps go at once.
The first steps find where in the cycle the driver is (a step that warps shows within
CALIBRATE seconds), from then on it is counted.
Exits 1 with a reason when the pointer is not where it must be.
"""
import ctypes
import ctypes.util
import os
import sys
import time

CENTRE = (400, 300)     # the 800 by 600 window at the screen's corner
CALIBRATE = 2.0         # a warp later than this is taken for none
LIMIT = 20.0            # a warp that is due

X = ctypes.CDLL(ctypes.util.find_library("X11"))
XT = ctypes.CDLL(ctypes.util.find_library("Xtst"))
X.XOpenDisplay.restype = ctypes.c_void_p
X.XOpenDisplay.argtypes = [ctypes.c_char_p]
X.XDefaultRootWindow.restype = ctypes.c_ulong
X.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
X.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
X.XQueryPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 7
XT.XTestFakeRelativeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]

display = X.XOpenDisplay(None)
if not display:
    sys.exit("hand.py: cannot open the display")
root = X.XDefaultRootWindow(display)


def pointer():
    r, c = ctypes.c_ulong(), ctypes.c_ulong()
    rx, ry, wx, wy = ctypes.c_int(), ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
    m = ctypes.c_uint()
    X.XQueryPointer(display, root, ctypes.byref(r), ctypes.byref(c), ctypes.byref(rx),
                    ctypes.byref(ry), ctypes.byref(wx), ctypes.byref(wy), ctypes.byref(m))
    return (rx.value, ry.value)


def centred_within(seconds):
    end = time.monotonic() + seconds
    while True:
        if pointer() == CENTRE:
            return True
        if time.monotonic() > end:
            return False
        time.sleep(0.002)


class Hand:
    def __init__(self, path):
        self.path = path
        self.at = pointer()
        self.count = None       # the driver's motion count, once known
        self.last = None        # "warp" or "still", while it is not
        if os.path.exists(path):
            with open(path) as f:
                words = f.read().split()
            self.count = None if words[0] == "-" else int(words[0])
            self.last = None if words[1] == "-" else words[1]

    def save(self):
        with open(self.path, "w") as f:
            f.write("%s %s\n" % ("-" if self.count is None else self.count, self.last or "-"))

    def warps(self):
        return self.count is None or self.count % 8 >= 4

    def move(self, dx, dy):
        if (dx, dy) == (0, 0):
            return
        landing = (self.at[0] + dx, self.at[1] + dy)
        if landing == CENTRE and self.warps():
            # Landing on the centre hides the warp: one pixel aside first.
            for e in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                if (self.at[0] + e[0], self.at[1] + e[1]) != CENTRE and e != (dx, dy):
                    break
            self.move(*e)
            self.move(dx - e[0], dy - e[1])
            return
        XT.XTestFakeRelativeMotionEvent(display, dx, dy, 0)
        X.XSync(display, 0)
        if self.count is None:
            warped = centred_within(CALIBRATE)
            seen = "warp" if warped else "still"
            if self.last is not None and seen != self.last:
                self.count = 4 if warped else 0     # the first of a half cycle
            self.last = seen
        elif self.count % 8 >= 4:
            warped = True
            if not centred_within(LIMIT):
                sys.exit("hand.py: step %d of the driver's cycle did not bring the pointer back to "
                         "the centre (it is at %s)" % (self.count % 8, pointer()))
        else:
            warped = False
        if self.count is not None:
            self.count += 1
        self.at = CENTRE if warped else landing
        if pointer() != self.at:
            sys.exit("hand.py: the pointer is at %s, not at %s" % (pointer(), self.at))


def main():
    hand = Hand(sys.argv[1])
    for step in sys.argv[2:]:
        dx, dy = (int(v) for v in step.split(","))
        hand.move(dx, dy)
    hand.save()


main()

#!/usr/bin/python3
"""Moves the mouse as a fast hand does: relative motion events at a fixed rate, each sent at once.

usage: flick.py EVENTS DX DY RATE
Sends EVENTS relative motion events of (DX, DY) counts through XTest, RATE of them a second (a
gaming mouse reports at 500 to 1,000), each on its own deadline from the first, so a late one
does not push the rest back.
"""
import ctypes
import ctypes.util
import sys
import time

X = ctypes.CDLL(ctypes.util.find_library("X11"))
XT = ctypes.CDLL(ctypes.util.find_library("Xtst"))
X.XOpenDisplay.restype = ctypes.c_void_p
X.XOpenDisplay.argtypes = [ctypes.c_char_p]
X.XFlush.argtypes = [ctypes.c_void_p]
X.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
X.XCloseDisplay.argtypes = [ctypes.c_void_p]
XT.XTestFakeRelativeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]


def main():
    events, dx, dy = (int(a) for a in sys.argv[1:4])
    rate = float(sys.argv[4])
    display = X.XOpenDisplay(None)
    if not display:
        sys.exit("flick.py: cannot open the display")
    start = time.monotonic()
    for i in range(events):
        wait = start + i / rate - time.monotonic()
        if wait > 0:
            time.sleep(wait)
        XT.XTestFakeRelativeMotionEvent(display, dx, dy, 0)
        X.XFlush(display)
    X.XSync(display, 0)
    X.XCloseDisplay(display)


main()

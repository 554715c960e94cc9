#!/usr/bin/python3
"""What a window manager reads of a window and asks of it.

wm_window.py icon WINDOW ICON_DIR: every size of the window's _NET_WM_ICON is pixel for pixel
  ICON_DIR/hicolor/NxN/apps/vinkla.png; prints the sizes.
wm_window.py fullscreen WINDOW on|off: asks for fullscreen as a window manager's menu does.
"""
import ctypes
import ctypes.util
import subprocess
import sys

from PIL import Image


def icon(window, icon_dir):
    out = subprocess.run(["xprop", "-id", window, "-notype", "-f", "_NET_WM_ICON", "32c", "=$0+",
                          "_NET_WM_ICON"], capture_output=True, text=True, check=True).stdout
    if "=" not in out:
        sys.exit("wm_window: no _NET_WM_ICON: " + out.strip())
    words = [int(v) for v in out.split("=", 1)[1].split(",")]
    sizes, at = [], 0
    while at < len(words):
        w, h = words[at], words[at + 1]
        png = Image.open(f"{icon_dir}/hicolor/{w}x{h}/apps/vinkla.png").convert("RGBA")
        want = [a << 24 | r << 16 | g << 8 | b for r, g, b, a in png.getdata()]
        if png.size != (w, h) or words[at + 2:at + 2 + w * h] != want:
            sys.exit(f"wm_window: the {w}x{h} icon differs from the installed picture")
        sizes.append(w)
        at += 2 + w * h
    print(" ".join(str(s) for s in sizes))


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]


def fullscreen(window, on):
    x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                             ctypes.POINTER(Event)]
    x.XFlush.argtypes = [ctypes.c_void_p]
    d = x.XOpenDisplay(None)
    e = Event()
    e.xclient.type = 33  # ClientMessage
    e.xclient.window = int(window, 0)
    e.xclient.message_type = x.XInternAtom(d, b"_NET_WM_STATE", 0)
    e.xclient.format = 32
    e.xclient.l[0] = 1 if on == "on" else 0
    e.xclient.l[1] = x.XInternAtom(d, b"_NET_WM_STATE_FULLSCREEN", 0)
    e.xclient.l[3] = 1  # from an application
    # to the root, where the window manager listens (SubstructureRedirect | SubstructureNotify)
    x.XSendEvent(d, x.XDefaultRootWindow(d), 0, (1 << 19) | (1 << 20), ctypes.byref(e))
    x.XFlush(d)


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] not in ("icon", "fullscreen"):
        sys.exit(__doc__)
    (icon if sys.argv[1] == "icon" else fullscreen)(sys.argv[2], sys.argv[3])

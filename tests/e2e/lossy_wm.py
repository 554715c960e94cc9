#!/usr/bin/python3
"""A window manager that loses the first request to show a window, as one that is still starting
can: it takes the requests in place of the X server and grants every later one as it comes.

usage: lossy_wm.py LOG   (LOG gets "ready" once it takes the requests, then a line a request)
"""
import ctypes
import ctypes.util
import sys


class MapRequest(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("parent", ctypes.c_ulong), ("window", ctypes.c_ulong)]


class ConfigureRequest(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("parent", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int), ("above", ctypes.c_ulong),
                ("detail", ctypes.c_int), ("value_mask", ctypes.c_ulong)]


class Changes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int), ("sibling", ctypes.c_ulong),
                ("stack_mode", ctypes.c_int)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xmaprequest", MapRequest),
                ("xconfigurerequest", ConfigureRequest), ("pad", ctypes.c_long * 24)]


MAP_REQUEST, CONFIGURE_REQUEST = 20, 23
SUBSTRUCTURE_REDIRECT = 1 << 20

x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(Event)]
x.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XConfigureWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_uint, ctypes.POINTER(Changes)]
x.XFlush.argtypes = [ctypes.c_void_p]

display = x.XOpenDisplay(None)
if not display:
    sys.exit("lossy_wm: cannot open the display")
x.XSelectInput(display, x.XDefaultRootWindow(display), SUBSTRUCTURE_REDIRECT)
x.XSync(display, 0)
log = open(sys.argv[1], "w", buffering=1)
log.write("ready\n")
lost = False
event = Event()
while True:
    x.XNextEvent(display, ctypes.byref(event))
    if event.type == MAP_REQUEST:
        if lost:
            x.XMapWindow(display, event.xmaprequest.window)
            log.write("shown\n")
        else:
            lost = True
            log.write("lost\n")
    elif event.type == CONFIGURE_REQUEST:
        c = event.xconfigurerequest
        changes = Changes(c.x, c.y, c.width, c.height, c.border_width, c.above, c.detail)
        x.XConfigureWindow(display, c.window, c.value_mask & 0x7f, ctypes.byref(changes))
    x.XFlush(display)

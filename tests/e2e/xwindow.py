"""Asks an X window to close, as a window manager's close button does: a
WM_DELETE_WINDOW client message. There is no window manager on the test server."""
import ctypes
import ctypes.util

CLIENT_MESSAGE = 33


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _Event(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


def _xlib():
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(_Event)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return x11


def request_close(window_id):
    x11 = _xlib()
    display = x11.XOpenDisplay(None)
    if not display:
        raise RuntimeError("cannot open the X display")
    try:
        event = _Event()
        event.xclient.type = CLIENT_MESSAGE
        event.xclient.window = window_id
        event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", False)
        event.xclient.format = 32
        event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", False)
        event.xclient.data[1] = 0  # CurrentTime
        if not x11.XSendEvent(display, window_id, False, 0, ctypes.byref(event)):
            raise RuntimeError(f"cannot send the close request to window {window_id:#x}")
        x11.XFlush(display)
    finally:
        x11.XCloseDisplay(display)

#!/usr/bin/python3
"""Whether a window's program still handles events: sends the window a
_NET_WM_PING, which a program answers from its event loop, and waits for the
answer. Exits 0 when it comes within the time limit, 1 when it does not, so a
hung program is found without waiting for it.

usage: window_responds.py WINDOW-ID [SECONDS]    (on $DISPLAY; 5 seconds by default)
"""
import os
import select
import sys
import time

from Xlib import X, display, protocol


def main():
    window_id = int(sys.argv[1], 0)
    limit = float(sys.argv[2]) if len(sys.argv) > 2 else 5.0
    xdisplay = display.Display()
    root = xdisplay.screen().root
    # The answer goes to the root window, for the window manager; listen there.
    root.change_attributes(event_mask=X.StructureNotifyMask)
    protocols = xdisplay.intern_atom("WM_PROTOCOLS")
    ping = xdisplay.intern_atom("_NET_WM_PING")
    stamp = int.from_bytes(os.urandom(4), "little") | 1  # tells this ping's answer from others
    window = xdisplay.create_resource_object("window", window_id)
    window.send_event(
        protocol.event.ClientMessage(
            window=window, client_type=protocols, data=(32, [ping, stamp, window_id, 0, 0])),
        event_mask=X.NoEventMask)
    xdisplay.flush()

    deadline = time.monotonic() + limit
    while True:
        while xdisplay.pending_events():
            event = xdisplay.next_event()
            if (event.type == X.ClientMessage and event.client_type == protocols
                    and list(event.data[1][:2]) == [ping, stamp]):
                return 0
        remaining = deadline - time.monotonic()
        if remaining <= 0:
            return 1
        select.select([xdisplay], [], [], remaining)


if __name__ == "__main__":
    sys.exit(main())

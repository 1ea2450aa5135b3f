#!/usr/bin/python3
"""Prints every move of the keyboard focus in the running program, as a screen reader hears it.

Listens on AT-SPI for the objects of one application that gain the focus and
prints, for each, the time since the start, the object's role, its name, and
the words a screen reader such as Orca speaks for it: the name, the role and
"grayed" when the object is disabled ("red circle push button", "push button
grayed"). A name given to the object with the focus is printed too, as a
screen reader reads it out.

Needs the Debian packages at-spi2-core and python3-pyatspi, a D-Bus session
(dbus-run-session) and the program started with QT_ACCESSIBILITY=1.

    atspi-focus.py SECONDS [--app quorvellearning]
"""

import argparse
import time

import pyatspi


def spoken(accessible):
    words = [accessible.name, accessible.getRoleName()]
    if not accessible.getState().contains(pyatspi.STATE_SENSITIVE):
        words.append("grayed")
    return " ".join(word for word in words if word)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("seconds", type=float)
    parser.add_argument("--app", default="quorvellearning")
    args = parser.parse_args()

    start = time.monotonic()
    focused = [None]

    def ours(source):
        return source.getApplication().name == args.app

    def print_row(kind, source, name=None):
        # A name change carries the name given; the object, asked later, may
        # have another by then.
        name = source.name if name is None else name
        words = spoken(source) if name == source.name else f"{name} (renamed)"
        print(f"| {time.monotonic() - start:7.3f} | {kind} | {source.getRoleName()} "
              f"| {name} | {words} |", flush=True)

    def gained(event):
        try:
            if event.detail1 != 1 or not ours(event.source):
                return
            focused[0] = event.source
            print_row("focus", event.source)
        except Exception:  # an object gone before it could be read
            pass

    def renamed(event):
        try:
            if focused[0] is not None and event.source == focused[0] and ours(event.source):
                given = event.any_data if isinstance(event.any_data, str) else None
                print_row("name", event.source, given)
        except Exception:
            pass

    print("| seconds | event | role | name | spoken |")
    print("|---|---|---|---|---|", flush=True)
    pyatspi.Registry.registerEventListener(gained, "object:state-changed:focused")
    pyatspi.Registry.registerEventListener(renamed, "object:property-change:accessible-name")
    from gi.repository import GLib
    GLib.timeout_add(int(args.seconds * 1000), lambda: pyatspi.Registry.stop())
    pyatspi.Registry.start()
    return 0


if __name__ == "__main__":
    raise SystemExit(main())

#!/usr/bin/python3
"""Prints what a screen reader is told about the running program's windows.

Walks the accessibility tree of an application through AT-SPI, as Orca does,
and prints every object of each window as a Markdown table: its role, its
name, its description, the caption that labels it, its states and its
actions. Only objects on the screen are listed (as a screen reader reads
them); --all lists the hidden ones too.

Needs the Debian packages at-spi2-core and python3-pyatspi, a D-Bus session
(dbus-run-session) and the program started with QT_ACCESSIBILITY=1.

    atspi-tree.py [--app quorvellearning] [--window TITLE] [--all]
    atspi-tree.py --names SECONDS    prints every change of an object's name
                                     (a picture renamed as it changes) meanwhile
"""

import argparse
import sys
import time

import pyatspi

# States worth reading in a table; the rest are noise.
SHOWN_STATES = [
    ("focused", pyatspi.STATE_FOCUSED),
    ("checked", pyatspi.STATE_CHECKED),
    ("selected", pyatspi.STATE_SELECTED),
    ("disabled", None),
    ("modal", pyatspi.STATE_MODAL),
]


def find_application(name, wait_seconds):
    deadline = time.monotonic() + wait_seconds
    while True:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == name:
                return app
        if time.monotonic() > deadline:
            return None
        time.sleep(0.5)


def states_of(accessible):
    state_set = accessible.getState()
    states = []
    for label, state in SHOWN_STATES:
        if state is None:
            if not state_set.contains(pyatspi.STATE_SENSITIVE):
                states.append(label)
        elif state_set.contains(state):
            states.append(label)
    return states


def labels_of(accessible):
    labels = []
    for relation in accessible.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for k in range(relation.getNTargets()):
                labels.append(relation.getTarget(k).name)
    return labels


def actions_of(accessible):
    try:
        action = accessible.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(k) for k in range(action.nActions)]


def showing(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


def walk(accessible, depth, everything):
    yield depth, accessible
    for child in accessible:
        if child is None:
            continue
        if not everything and not showing(child):
            continue
        yield from walk(child, depth + 1, everything)


def cell(text):
    return (text or "").replace("|", "\\|").replace("\n", " ")


def print_window(window, everything):
    print(f"### {window.getRoleName()} \"{window.name}\"\n")
    print("| role | name | description | labelled by | states | actions |")
    print("|---|---|---|---|---|---|")
    for depth, accessible in walk(window, 0, everything):
        role = "\u00a0\u00a0" * depth + accessible.getRoleName()
        print(
            "| "
            + " | ".join(
                cell(part)
                for part in (
                    role,
                    accessible.name,
                    accessible.description,
                    ", ".join(labels_of(accessible)),
                    ", ".join(states_of(accessible)),
                    ", ".join(actions_of(accessible)),
                )
            )
            + " |"
        )
    print()


def listen_to_names(app_name, seconds):
    def changed(event):
        source = event.source
        try:
            if source.getApplication().name != app_name:
                return
            name = event.any_data if isinstance(event.any_data, str) else source.name
            print(f"| {time.monotonic() - start:7.2f} | {source.getRoleName()} | {name} |",
                  flush=True)
        except Exception:  # an object gone before it could be read
            pass

    print("| seconds | role | new name |")
    print("|---|---|---|", flush=True)
    start = time.monotonic()
    pyatspi.Registry.registerEventListener(changed, "object:property-change:accessible-name")
    # The registry's loop runs until stopped; a timer stops it.
    from gi.repository import GLib
    GLib.timeout_add(int(seconds * 1000), lambda: pyatspi.Registry.stop())
    pyatspi.Registry.start()
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--app", default="quorvellearning")
    parser.add_argument("--window", help="only the window with this title")
    parser.add_argument("--all", action="store_true", help="hidden objects too")
    parser.add_argument("--wait", type=float, default=10.0, help="seconds to wait for the app")
    parser.add_argument("--names", type=float, metavar="SECONDS",
                        help="print the names objects are given for this long")
    args = parser.parse_args()

    if args.names is not None:
        return listen_to_names(args.app, args.names)

    app = find_application(args.app, args.wait)
    if app is None:
        print(f"atspi-tree: no application {args.app!r} on the accessibility bus", file=sys.stderr)
        return 1
    printed = 0
    for window in app:
        if window is None:
            continue
        if args.window is not None and window.name != args.window:
            continue
        if args.window is None and not showing(window):
            continue
        print_window(window, args.all)
        printed += 1
    if printed == 0:
        print("atspi-tree: no such window", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

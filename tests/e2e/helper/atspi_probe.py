#!/usr/bin/python3
# Reads and drives the game through the accessibility bus, for the
# end-to-end tests. One command per run:
#   tree                  every object of the game: window, role, name,
#                         states and actions, tab-separated, one a line
#   press WINDOW NAME     runs the Press action of the named object
#   focused               the window and name of the object with the focus
# Exits 2 when the game or the object is not on the bus.
import sys

import pyatspi


def game():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == "tarvik-kxv":
            return app
    return None


def states(obj):
    return [pyatspi.stateToString(s) for s in obj.getState().getStates()]


def actions(obj):
    try:
        action = obj.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(k) for k in range(action.nActions)]


def objects():
    """(window name, object) for every object below the windows, windows included."""
    app = game()
    if app is None:
        sys.exit(2)
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        if window is None:
            continue
        stack = [window]
        while stack:
            obj = stack.pop(0)
            yield window.name, obj
            stack[0:0] = [c for c in (obj.getChildAtIndex(k) for k in range(obj.childCount)) if c is not None]


def line(*fields):
    print("\t".join(f.replace("\t", " ").replace("\n", " ") for f in fields))


command = sys.argv[1] if len(sys.argv) > 1 else ""
if command == "tree":
    for window, obj in objects():
        line(window, obj.getRoleName(), obj.name, ",".join(states(obj)), ",".join(actions(obj)))
elif command == "press":
    for window, obj in objects():
        if window == sys.argv[2] and obj.name == sys.argv[3]:
            action = obj.queryAction()
            for k in range(action.nActions):
                if action.getName(k) == "Press":
                    action.doAction(k)
                    sys.exit(0)
    sys.exit(2)
elif command == "focused":
    for window, obj in objects():
        if "focused" in states(obj):
            line(window, obj.name)
            sys.exit(0)
    sys.exit(2)
else:
    sys.exit("usage: atspi_probe.py tree | press WINDOW NAME | focused")

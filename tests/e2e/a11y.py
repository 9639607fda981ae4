"""What the end-to-end scripts share to work the program as a screen reader's tool does: the
controls of the program's windows on the desktop's accessibility bus, found by their spoken
names and pressed by their actions. Import it after pyatspi, which a script without the bus
skips on."""

import time

import pyatspi

TIMEOUT = 30


def walk(acc, out, fresh=False):
    """Every control under acc. With `fresh`, names and states are read anew: they follow the
    game, and a tool that does not listen for their changes would keep the old ones."""
    try:
        if fresh:
            acc.clear_cache()
        out.append(acc)
        for i in range(acc.childCount):
            walk(acc.getChildAtIndex(i), out, fresh)
    except Exception:  # a control that went away while we looked
        pass
    return out


def has_state(acc, state):
    try:
        return acc.getState().contains(state)
    except Exception:
        return False


def showing(acc):
    return has_state(acc, pyatspi.STATE_SHOWING)


def app():
    desk = pyatspi.Registry.getDesktop(0)
    for i in range(desk.childCount):
        a = desk.getChildAtIndex(i)
        if a is not None and a.name == "Backgammon":
            return a
    return None


def window(prefix):
    """The program's showing window whose name starts with `prefix`."""
    a = app()
    if a is None:
        return None
    for i in range(a.childCount):
        w = a.getChildAtIndex(i)
        if w is not None and w.name.startswith(prefix) and showing(w):
            return w
    return None


def find(name, prefix=False, within=None, fresh=False):
    """Showing controls named `name` (or starting with it), in one window or in all."""
    top = within or app()
    if top is None:
        return []
    return [x for x in walk(top, [], fresh)
            if (x.name.startswith(name) if prefix else x.name == name) and showing(x)]


def wait_for(fn, what, timeout=TIMEOUT):
    end = time.time() + timeout
    while time.time() < end:
        r = fn()
        if r:
            return r
        time.sleep(0.1)
    raise SystemExit("timed out waiting for " + what)


def press(acc):
    action = acc.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click"):
            return action.doAction(i)
    return action.doAction(0)

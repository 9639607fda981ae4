"""An outside tool on the desktop's accessibility bus plays the solo game: it finds the
controls by their spoken names, starts a game, says ready, throws the dice and makes a move,
and sees the checker's name follow it. Run through atspi_test.sh, which provides a display
and a bus; exits 77 (skipped) where the bus or pyatspi is missing."""

import os
import subprocess
import sys
import tempfile
import time

try:
    import pyatspi
except ImportError:
    sys.exit(77)

TIMEOUT = 30


def walk(acc, out):
    try:
        out.append(acc)
        for i in range(acc.childCount):
            walk(acc.getChildAtIndex(i), out)
    except Exception:  # a control that went away while we looked
        pass
    return out


def showing(acc):
    try:
        return acc.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def app():
    desk = pyatspi.Registry.getDesktop(0)
    for i in range(desk.childCount):
        a = desk.getChildAtIndex(i)
        if a is not None and a.name == "Backgammon":
            return a
    return None


def find(name, prefix=False):
    """Showing controls named `name` (or starting with it)."""
    a = app()
    if a is None:
        return []
    return [x for x in walk(a, []) if (x.name.startswith(name) if prefix else x.name == name)
            and showing(x)]


def wait_for(fn, what):
    end = time.time() + TIMEOUT
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
            action.doAction(i)
            return
    action.doAction(0)


def main():
    binary = sys.argv[1]
    with tempfile.TemporaryDirectory() as tmp:
        # A runtime folder of its own: no other copy's single-instance guard can turn it away.
        os.chmod(tmp, 0o700)
        env = dict(os.environ, BG_CONFIG_DIR=tmp, XDG_RUNTIME_DIR=tmp, XDG_DATA_HOME=tmp, BG_BOT_DELAY_MS="5",
                   BG_TICK_MS="40", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   BG_PORT=str(20000 + os.getpid() % 20000))
        proc = subprocess.Popen([binary], env=env)
        try:
            press(wait_for(lambda: find("Start Game"), "the start button")[0])
            press(wait_for(lambda: find("Start the game"), "the dialog's start")[0])
            press(wait_for(lambda: find("Ready to roll for the first move"), "ready")[0])

            def my_turn():
                cup = find("Throw the dice")
                if cup:
                    press(cup[0])
                    return None
                # Thrown: the dice say so, and the status line invites the move.
                dice = find("Die: ", prefix=True)
                status = find("You play first - Your Turn Now") + find("Your Turn.")
                return dice if dice and (status or not cup) else None

            wait_for(my_turn, "this seat's throw")

            def move_once():
                for checker in find("White checker on point", prefix=True):
                    press(checker)
                    targets = find("Move to point", prefix=True)
                    if targets:
                        return checker, targets[0]
                return None

            checker, target = wait_for(move_once, "a checker with a target")
            point = target.name[len("Move to point "):]
            before = len(find("White checker on point " + point))
            press(target)
            wait_for(lambda: len(find("White checker on point " + point)) == before + 1,
                     "the moved checker's new name")
            print("moved a white checker to point", point, "over the accessibility bus")
        finally:
            proc.terminate()
            proc.wait(10)


if __name__ == "__main__":
    main()

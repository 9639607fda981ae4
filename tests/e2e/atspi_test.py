"""An outside tool on the desktop's accessibility bus plays the solo game: it finds the
controls by their spoken names, starts a game, says ready, throws the dice and makes a move,
and sees the checker's name follow it. Run through atspi_test.sh, which provides a display
and a bus; exits 77 (skipped) where the bus or pyatspi is missing."""

import os
import subprocess
import sys
import tempfile

try:
    import pyatspi
except ImportError:
    sys.exit(77)

from a11y import find, press, wait_for  # noqa: E402


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

"""A game record over the desktop's accessibility bus: an outside tool plays a few turns of a
solo game by the controls' spoken names, concedes it, finds the game saved by itself in the data
folder, opens it through File, "Open Game Record...", steps the replay window to its last
position and reads the board there from the checkers' names, which must be the main window's
final board. Run through desktop_session.sh; exits 77 where the bus or pyatspi is missing."""

import os
import subprocess
import sys
import tempfile
import time

try:
    import pyatspi
except ImportError:
    sys.exit(77)

from a11y import TIMEOUT, find, press, showing, wait_for, walk, window  # noqa: E402

TURNS = 3  # turns this seat plays before it concedes


def board(within):
    return sorted(x.name for x in walk(within, [])
                  if x.name.startswith(("White checker", "Black checker")) and showing(x))


def play_turn():
    """Throws and moves until the turn passes; False when the turn never came."""
    def thrown():
        cup = find("Throw the dice")
        if cup:
            press(cup[0])
            return None
        return find("Die: ", prefix=True)

    wait_for(thrown, "this seat's throw")
    tried = set()
    end = time.time() + TIMEOUT
    while time.time() < end:
        if find("Throw the dice") or not find("Die: ", prefix=True):
            return True  # the turn is over: the bot's turn or the next throw
        moved = False
        for checker in find("White checker on point", prefix=True) + \
                find("White checker on the bar"):
            press(checker)
            targets = find("Move to point", prefix=True) + find("Bear off with", prefix=True)
            for t in targets:
                key = (checker.name, t.name, tuple(d.name for d in find("Die: ", prefix=True)))
                if key in tried:
                    continue
                tried.add(key)
                press(t)
                time.sleep(0.3)
                moved = True
                break
            if moved:
                break
        if not moved:
            time.sleep(0.2)  # no move left to try: the host passes the turn
    return False


def main():
    binary = sys.argv[1]
    with tempfile.TemporaryDirectory() as tmp:
        os.chmod(tmp, 0o700)
        env = dict(os.environ, BG_CONFIG_DIR=tmp, XDG_RUNTIME_DIR=tmp, XDG_DATA_HOME=tmp,
                   BG_BOT_DELAY_MS="5", BG_TICK_MS="100", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   QT_QPA_PLATFORM="xcb", BG_PORT=str(20000 + os.getpid() % 20000))
        games = os.path.join(tmp, "Backgammon", "games")
        proc = subprocess.Popen([binary], env=env)
        try:
            press(wait_for(lambda: find("Start Game"), "the start button")[0])
            press(wait_for(lambda: find("Start the game"), "the dialog's start")[0])
            press(wait_for(lambda: find("Ready to roll for the first move"), "ready")[0])
            for _ in range(TURNS):
                if not play_turn():
                    raise SystemExit("a turn did not end")
            press(wait_for(lambda: find("Concede the game"), "the concede button")[0])
            # The record is written to a temporary name first and renamed when whole.
            finished = lambda: [n for n in os.listdir(games) if not n.endswith(".part")] \
                if os.path.isdir(games) else []
            wait_for(finished, "the saved game")
            saved = os.listdir(games)
            assert len(saved) == 1 and saved[0].endswith(" You vs Zobo.mat"), saved
            with open(os.path.join(games, saved[0])) as f:
                text = f.read()
            assert " 1 point match" in text and "Wins 1 point" in text, text
            main_window = wait_for(lambda: window("Backgammon"), "the main window")
            final = board(main_window)
            assert len(final) == 30, final

            # File, Open Game Record..., the file's name typed into the dialog, Open.
            press(wait_for(lambda: find("File"), "the File menu")[0])
            press(wait_for(lambda: find("Open Game Record..."), "the menu item")[0])
            dialog = wait_for(lambda: window("Open Game Record"), "the file dialog")
            edits = [x for x in walk(dialog, []) if x.getRole() == pyatspi.ROLE_TEXT
                     and showing(x) and "name" in x.name.lower()]
            edit = edits[0] if edits else \
                [x for x in walk(dialog, []) if x.getRole() == pyatspi.ROLE_TEXT and showing(x)][0]
            edit.queryEditableText().setTextContents(os.path.join(games, saved[0]))
            opens = wait_for(lambda: find("Open", within=dialog), "the dialog's Open")
            press(opens[0])
            replay = wait_for(lambda: window("Replay of "), "the replay window")
            first = board(replay)
            assert first.count("White checker on point 12") == 5, first
            press(wait_for(lambda: find("Last position", within=replay), "Last position")[0])
            wait_for(lambda: find("After turn", prefix=True, within=replay), "the last turn")
            replayed = board(replay)
            assert replayed == final, (replayed, final)
            print("replayed the saved game to the final board over the accessibility bus:",
                  len(text.splitlines()), "lines,", replayed.count("White checker on point 12"),
                  "white checkers left on point 12")
        finally:
            proc.terminate()
            proc.wait(10)


if __name__ == "__main__":
    main()

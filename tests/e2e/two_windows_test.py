"""Two real windows play each other over the accessibility bus while a raw spectator records
every broadcast. Run through desktop_session.sh, which provides a display and a bus.

  two_windows_test.py BINARY game   Alice hosts, Bob joins, the two windows play a whole game;
                                    the spectator's record replays into that game, and both
                                    windows' banners name its winner
  two_windows_test.py BINARY kill   Bob's copy is killed in the middle of his turn with dice
                                    left: the host's bot finishes that turn once, the game goes
                                    on to a winner, and Alice's chat says Bob left

Exits 77 (skipped) where pyatspi is missing. Walking the accessibility tree costs a bus round
trip per property, so each window's tree is walked once: the board's controls are fixed
widgets whose names change, and only the names and states of the kept objects are read again.
"""
import os
import random
import signal
import subprocess
import sys
import tempfile
import time

try:
    import pyatspi
except ImportError:
    sys.exit(77)

from a11y import press, showing  # noqa: E402
from gamestream import MOVES, Client, Replay, board_counts, check_game, free_port, wait_for

COLOUR = {1: "White", 2: "Black"}
NAMES = {1: "Alice", 2: "Bob"}


def walk(acc, out):
    try:
        out.append((acc, acc.name, acc.getRole()))
        for i in range(acc.childCount):
            walk(acc.getChildAtIndex(i), out)
    except Exception:  # a control that went away while we looked
        pass
    return out


def name_of(acc):
    try:
        return acc.name
    except Exception:
        return ""


class NotOnTheBus(SystemExit):
    """A window that never showed up on the accessibility bus: the desktop session failed,
    not the program; the whole run is tried once more from the start."""


def app_of(pid):
    desk = pyatspi.Registry.getDesktop(0)
    try:
        desk.clear_cache()  # the list of applications is otherwise only refreshed by events
    except Exception:
        pass
    for i in range(desk.childCount):
        a = desk.getChildAtIndex(i)
        try:
            if a is not None and a.get_process_id() == pid:
                return a
        except Exception:
            pass
    return None


class Window:
    """One copy's main window, its controls kept from one walk of its tree."""

    def __init__(self, proc, seat):
        self.proc, self.seat = proc, seat
        def app():
            if proc.poll() is not None:
                raise SystemExit(f"seat {seat}'s copy ended with {proc.returncode}")
            return app_of(proc.pid)

        try:
            self.app = wait_for(app, 120, f"seat {seat}'s window on the bus", 0.3)
        except SystemExit as e:
            if proc.poll() is not None:
                raise
            raise NotOnTheBus(str(e)) from None

        def complete():
            objs = walk(self.app, [])
            return objs if sum(1 for o in objs if o[1].endswith(" checker")
                               or " checker " in o[1]) == 30 else None

        objs = wait_for(complete, 60, f"seat {seat}'s board", 0.5)
        self.checkers = {p: [a for a, n, _ in objs if n.startswith(COLOUR[p] + " checker")]
                         for p in (1, 2)}
        self.targets = [a for a, n, _ in objs
                        if n.startswith("Move to point") or n.startswith("Bear off with")]
        self.cup = [a for a, n, _ in objs if n == "Throw the dice"]
        self.ready = [a for a, n, _ in objs if n == "Ready to roll for the first move"]
        self.doubles = [a for a, n, _ in objs if n.startswith("Double ")]
        self.start = [a for a, n, r in objs if n == "Start Game" and r == pyatspi.ROLE_PUSH_BUTTON]
        self.labels = [a for a, _, r in objs if r == pyatspi.ROLE_LABEL]
        self.chat = [a for a, n, _ in objs if n == "Chat"]
        assert len(self.targets) == 6, [name_of(t) for t in self.targets]
        assert self.cup and self.ready and self.chat, "board controls missing"

    def alive(self):
        return self.proc.poll() is None

    def label_texts(self):
        return [name_of(a) for a in self.labels]

    def chat_text(self):
        text = self.chat[0].queryText()
        return text.getText(0, text.characterCount)

    def counts(self, player):
        return board_counts([name_of(c) for c in self.checkers[player]], COLOUR[player])

    def banner(self):
        for t in self.label_texts():
            if t.endswith("Won the Game!"):
                return t
        return None

    def throw(self):
        for cup in self.cup:
            if showing(cup):
                press(cup)
                return True
        return False

    def move(self, player):
        """Selects own checkers until one shows a target, and presses that target."""
        names = [name_of(c) for c in self.checkers[player]]
        bar = [i for i, n in enumerate(names) if n.endswith("on the bar")]
        board = [i for i, n in enumerate(names) if " on point " in n]
        seen, picks = set(), []
        for i in bar or board:
            if names[i] not in seen:
                seen.add(names[i])
                picks.append(i)
        random.shuffle(picks)
        for i in picks:
            press(self.checkers[player][i])
            shown = [t for t in self.targets if showing(t)]
            home = [t for t in shown if name_of(t).startswith("Bear off")]
            if home or shown:
                press((home or shown)[0])
                return True
        for d in self.doubles:  # a double to choose (Acey-Deucey only)
            if showing(d):
                press(d)
                return True
        return False


def launch(binary, top, name, host, port):
    runtime = os.path.join(top, "run-" + name)
    os.makedirs(runtime, mode=0o700)
    env = dict(os.environ, BG_PORT=str(port), BG_CONFIG_DIR=os.path.join(top, "cfg-" + name),
               XDG_RUNTIME_DIR=runtime, XDG_DATA_HOME=runtime, QT_QPA_PLATFORM="xcb", BG_TICK_MS="200",
               BG_BOT_DELAY_MS="20", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    log = open(os.path.join(top, name + ".log"), "w")
    return subprocess.Popen([binary, name, "127.0.0.1", host], env=env,
                            stdout=log, stderr=subprocess.STDOUT)


def open_game(alice):
    """Alice opens the start dialog, gives each turn the longest time and starts."""
    wait_for(lambda: alice.start and showing(alice.start[0]), 60, "Alice's start button", 0.2)
    press(alice.start[0])

    def dialog():
        for i in range(alice.app.childCount):
            objs = walk(alice.app.getChildAtIndex(i), [])
            go = [a for a, n, _ in objs if n == "Start the game" and showing(a)]
            if go:
                return objs, go[0]
        return None

    objs, go = wait_for(dialog, 60, "the game start dialog", 0.3)
    for a, n, _ in objs:
        if n == "Time per turn":
            a.queryValue().currentValue = 1000.0
    press(go)


class Game:
    def __init__(self, spectator, windows):
        self.spy, self.windows = spectator, windows
        self.replay, self.fed = Replay(), 0

    def catch_up(self):
        lines = self.spy.snapshot()
        for line in lines[self.fed:]:
            self.replay.feed(line)
        self.fed = len(lines)

    def await_news(self, seconds):
        try:
            self.spy.wait(lambda l: True, seconds, "news", start=self.fed)
        except SystemExit:
            if self.spy.closed:
                raise

    def step(self):
        """One action by the window whose turn it is; False when the game is over."""
        self.catch_up()
        r = self.replay
        if r.winner is not None:
            return False
        w = self.windows.get(r.current)
        if w is None or not w.alive() or r.phase == "wait":
            self.await_news(10)
        elif r.phase == "throw":
            if not w.throw():
                time.sleep(0.1)
            self.await_news(3)
        elif w.move(r.current):
            self.await_news(5)
        else:
            time.sleep(0.2)  # the window has not shown the last broadcast yet
        return True

    def ready(self):
        """Both windows press the start arrow until the opening throw is broadcast."""
        def go():
            for w in self.windows.values():
                for r in w.ready:
                    if showing(r):
                        press(r)
            return any(l.startswith("CMD_firstroll+") for l in self.spy.snapshot())
        wait_for(go, 120, "the opening throw", 0.5)


def expected_banner(window_name, winner):
    return "You have Won the Game!" if winner == window_name else f"{winner} has Won the Game!"


def main():
    try:
        run()
    except NotOnTheBus as e:
        print(f"{e}; starting again", flush=True)
        run()


def run():
    binary, mode = sys.argv[1], sys.argv[2]
    port = free_port()
    began = time.time()
    with tempfile.TemporaryDirectory() as top:
        procs = []
        try:
            procs.append(launch(binary, top, "Alice", "true", port))
            alice = Window(procs[0], 1)
            procs.append(launch(binary, top, "Bob", "false", port))
            bob = Window(procs[1], 2)
            wait_for(lambda: "Bob" in alice.label_texts(), 60, "Bob at Alice's table", 0.3)
            spy = Client(port, "Spy")
            assert spy.seat == 3, spy.seat
            print(f"both windows up after {time.time() - began:.0f} s", flush=True)

            open_game(alice)
            game = Game(spy, {1: alice, 2: bob})
            game.ready()
            killed_at = None
            # Every click goes through the accessibility bus, so a whole game of two people
            # takes minutes, more on a loaded machine; a sanitizer build plays several times
            # slower still. Only a stalled game comes near these limits.
            deadline = time.time() + (1400 if os.environ.get("BG_SANITIZED") else 840)
            while game.step():
                assert time.time() < deadline, f"no winner; last: {spy.snapshot()[-5:]}"
                r = game.replay
                if (mode == "kill" and killed_at is None and r.current == 2 and r.turn
                        and r.phase == "move" and r.turn[2]):
                    bob.proc.send_signal(signal.SIGKILL)
                    bob.proc.wait(20)
                    killed_at = (game.fed, r.turn, len(r.turn[2]))
            lines = spy.snapshot()
            r = game.replay
            print(f"game over after {time.time() - began:.0f} s: {len(lines)} broadcasts,"
                  f" {sum(1 for l in lines if l.startswith(MOVES))} moves, winner {r.winner}")

            if mode == "game":
                check_game(lines, NAMES)
                assert r.timeouts == 0, "a turn timed out"
                for w, who in ((alice, "Alice"), (bob, "Bob")):
                    text = wait_for(w.banner, 30, f"{who}'s banner", 0.3)
                    assert text == expected_banner(who, r.winner), (who, text)
                    # The window's last board is the one the spectator's record replays to.
                    for p in (1, 2):
                        want = +r.counts[p]
                        wait_for(lambda: w.counts(p) == want, 30, f"{who}'s board for {p}")
            else:
                assert killed_at is not None, "Bob never had a turn to leave in"
                at, turn, his = killed_at
                check_game(lines, {1: "Alice", 2: "Zobo"})
                assert f"CMD_playerdisconnected+2+Bob" in lines[at:], "no departure broadcast"
                # The bot finished Bob's turn within his dice, and the turn passed once.
                after = [l for l in lines[at:] if l.startswith(("CMD_nextplayer+", "CMD_winner+"))]
                assert after[0] in ("CMD_nextplayer+1+", "CMD_winner+Zobo+"), after[:3]
                assert len(turn[2]) <= (4 if turn[1][2] else 2), turn
                text = wait_for(alice.banner, 30, "Alice's banner", 0.3)
                assert text == expected_banner("Alice", r.winner), text
                wait_for(lambda: "Bob disconnected." in alice.chat_text(), 30,
                         "Alice's chat line about Bob")
                print(f"Bob left after {his} moves of {turn[1]}; the bot made {len(turn[2]) - his}")
            spy.close()
        except BaseException:
            for name in NAMES.values():
                log = os.path.join(top, name + ".log")
                if os.path.exists(log):
                    print(f"--- {name}'s output:\n" + open(log).read()[-2000:])
            raise
        finally:
            for p in procs:
                if p.poll() is None:
                    p.terminate()
                    try:
                        p.wait(20)
                    except subprocess.TimeoutExpired:
                        p.kill()
    print("ok")


if __name__ == "__main__":
    main()

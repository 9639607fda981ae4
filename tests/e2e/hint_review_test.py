"""Hints and the game review over the desktop's accessibility bus: an outside tool plays a
solo game against the bot by the controls' spoken names, asks for a hint on every turn that
offers one (the Hint button then speaks the hint's play, the chat shows it) and plays it by the
board's targets, ends the game (by its end or by conceding after a few turns), presses
"Review" on the winner's banner and reads the review window: every turn of the game reviewed
and both players' summaries. Run through desktop_session.sh; exits 77 where the bus or pyatspi
is missing. With BG_SCREENSHOT_DIR set, pictures of a hint and of the review are saved there."""

import os
import re
import subprocess
import sys
import tempfile
import time

try:
    import pyatspi
except ImportError:
    sys.exit(77)

import a11y  # noqa: E402
from a11y import TIMEOUT, has_state, press, window  # noqa: E402

GAME_TIMEOUT = 600
TURNS = 8  # turns this seat plays with hints before it concedes and the banner shows


def find(name, prefix=False, within=None):
    # Names read anew each time: the Hint button's name follows the game.
    return a11y.find(name, prefix, within, fresh=True)


def wait_for(fn, what, timeout=TIMEOUT):
    try:
        return a11y.wait_for(fn, what, timeout)
    except SystemExit:
        shot("failure.png")
        raise


def shot(name):
    folder = os.environ.get("BG_SCREENSHOT_DIR")
    if folder:
        subprocess.run(["import", "-window", "root", os.path.join(folder, name)], check=False)


class Game:
    def __init__(self):
        self.hints = 0
        self.offered = 0
        self.turns = 0
        self.followed = 0
        self.unfollowed = []  # hints the tool could not play by the board's controls, and where
        self.play = None
        self.shot_taken = False

    def over(self):
        return bool(find("Review the game"))

    def ask_hint(self):
        """Presses Hint when it is offered; the button then says the play."""
        time.sleep(0.2)  # the throw's state reaches the controls
        buttons = [b for b in find("Hint") if has_state(b, pyatspi.STATE_SENSITIVE)]
        if not buttons:
            return
        self.offered += 1
        button = buttons[0]
        press(button)

        def spoken():
            button.clear_cache()
            return button.name if button.name.startswith("Hint: ") else None

        line = wait_for(spoken, "the hint's play")
        self.play = line[len("Hint: "):]
        play = line[len("Hint: "):]
        assert re.match(r"^(bar|pile|\d+)/", play), line
        # The same line in the chat.
        chat = wait_for(lambda: find("Chat"), "the chat view")[0]
        text = chat.queryText().getText(0, -1)
        assert line in re.sub(r"\s+", " ", text), (line, text[-200:])
        self.hints += 1
        if not self.shot_taken and len(play.split()) >= 2:
            time.sleep(0.3)  # the marks are painted
            shot("hint.png")
            self.shot_taken = True

    def failed(self, play, why):
        self.unfollowed.append((play, why))
        return False

    def follow(self, play):
        """Plays the hint's steps by the board's controls; False where one cannot be made."""
        steps = []
        for token in play.split():
            token = token.replace("*", "")
            times = 1
            m = re.match(r"^(.*)\((\d)\)$", token)
            if m:
                token, times = m.group(1), int(m.group(2))
            points = token.split("/")
            if len(points) < 2 or "," in token or "chose" in token:
                return self.failed(play, 1)
            # A point named on the way ("21/20*/15") is where the checker hits: pass it.
            steps += [(a, b) for a, b in zip(points, points[1:])] * times
        for origin, goal in steps:
            # The hint counts points from this player's side; the board names them as the
            # board numbers them (player 1 moves up from point 1).
            at = None if origin == "bar" else 25 - int(origin)
            goal_point = None if goal == "off" else 25 - int(goal)
            while at != goal_point or at is None:
                name = "White checker on the bar" if at is None else \
                    "White checker on point %d" % at
                checkers = find(name)
                if not checkers:
                    return self.failed(play, 2)
                press(checkers[0])
                if goal_point is None:
                    end = time.time() + 3
                    while not find("Bear off with", prefix=True):
                        if time.time() > end:
                            return self.failed(play, 3)
                        time.sleep(0.05)
                    off = find("Bear off with", prefix=True)
                    press(off[0])
                    time.sleep(0.3)
                    break
                start = 0 if at is None else at
                end = time.time() + 3
                while True:  # the targets show once the window has taken the press
                    targets = {int(t.name.split()[-1]): t
                               for t in find("Move to point", prefix=True)}
                    way = [p for p in targets if start < p <= goal_point]
                    if way:
                        break
                    if time.time() > end:
                        return self.failed(play, 4)
                    time.sleep(0.05)
                step = goal_point if goal_point in way else max(way)
                press(targets[step])
                at = step
                # The host's answer moves the checker; then it can be pressed again.
                end = time.time() + 5
                while not find("White checker on point %d" % step):
                    if time.time() > end:
                        return self.failed(play, 5)
                    time.sleep(0.05)
        return True

    def play_turn(self):
        """Throws, asks for a hint, moves until the turn passes. False once the game is over."""
        pressed = False

        def thrown():
            # The dice of the bot's turn show as well: the turn is this seat's once it has
            # pressed the cup, or, for the opening throw made for it, once Hint is offered.
            nonlocal pressed
            if self.over():
                return "over"
            cup = find("Throw the dice")
            if cup:
                press(cup[0])
                pressed = True
                return None
            if pressed:
                return find("Die: ", prefix=True)
            return [b for b in find("Hint") if has_state(b, pyatspi.STATE_SENSITIVE)]

        if wait_for(thrown, "this seat's throw", GAME_TIMEOUT) == "over":
            return False
        self.turns += 1
        time.sleep(0.2)  # the throw's state reaches the controls
        self.play = None
        self.ask_hint()
        if self.play and self.follow(self.play):
            self.followed += 1
        tried = set()
        end = time.time() + TIMEOUT
        while time.time() < end:
            if self.over():
                return False
            if find("Throw the dice") or not find("Die: ", prefix=True):
                return True
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
                    time.sleep(0.15)
                    moved = True
                    break
                if moved:
                    break
            if not moved:
                time.sleep(0.2)
        raise SystemExit("a turn did not end")


def main():
    binary = sys.argv[1]
    started = time.time()
    with tempfile.TemporaryDirectory() as tmp:
        os.chmod(tmp, 0o700)
        # Ticks of a quarter second: the turn clock (120 ticks) leaves the tool time to read
        # the board, and the pass of the turn (2 ticks) stays short.
        # A sanitized build thinks and answers several times slower: twice the ticks.
        tick = "500" if os.environ.get("BG_SANITIZED") else "250"
        env = dict(os.environ, BG_CONFIG_DIR=tmp, XDG_RUNTIME_DIR=tmp, XDG_DATA_HOME=tmp,
                   BG_BOT_DELAY_MS="5", BG_TICK_MS=tick, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   QT_QPA_PLATFORM="xcb", BG_PORT=str(20000 + os.getpid() % 20000))
        proc = subprocess.Popen([binary], env=env)
        try:
            # The lobby's download window of a solo game would hide the board's lower half.
            press(wait_for(lambda: find("Play Solo Game"), "the solo button")[0])
            press(wait_for(lambda: find("Start Game"), "the start button")[0])
            press(wait_for(lambda: find("Start the game"), "the dialog's start")[0])
            press(wait_for(lambda: find("Ready to roll for the first move"), "ready")[0])
            game = Game()
            while game.turns < TURNS and game.play_turn():
                pass
            if not game.over():
                press(wait_for(lambda: find("Concede the game"), "the concede button")[0])
            assert game.offered > 0 and game.hints == game.offered, (game.hints, game.offered)
            # The tool plays a hint by the board's targets where it can find them, and its own
            # moves otherwise: how often it managed is reported, not required.

            press(wait_for(lambda: find("Review the game"), "the banner's Review")[0])
            review = wait_for(lambda: window("Review of "), "the review window")
            # The labels are the window's own children: no need to read every row of the list.
            def labels():
                review.clear_cache()
                out = []
                for i in range(review.childCount):
                    x = review.getChildAtIndex(i)
                    x.clear_cache()
                    out.append(x)
                return out

            done = wait_for(lambda: [x for x in labels() if x.name.startswith("All ")],
                            "the whole review", 120)
            reviewed = int(done[0].name.split()[1])
            # "All N" says the review reached the record's end; the bot's turns are in it too,
            # one between each two of this seat's.
            assert reviewed >= 2 * game.turns - 1, (reviewed, game.turns)
            summaries = wait_for(
                lambda: [x for x in labels() if " decisions, average loss " in x.name],
                "the players' summaries")
            assert len(summaries) == 2, [s.name for s in summaries]
            bands = ("Awful", "Beginner", "Casual", "Intermediate", "Advanced", "Expert",
                     "World class")
            for s in summaries:
                assert s.name.endswith(bands), s.name
            # Every turn of this seat played as hinted: the review, by the same engine at the
            # same depth, finds nothing given away.
            mine = [s.name for s in summaries if s.name.startswith("You: ")]
            assert len(mine) == 1, [s.name for s in summaries]
            if game.followed == game.turns:
                assert " average loss 0.00% " in mine[0], (mine[0], game.unfollowed)
            time.sleep(0.3)
            shot("review.png")
            print("solo game over the accessibility bus: %d turns of this seat, %d hints "
                  "(%d played as hinted), %d turns reviewed, %s; %.0f s" % (
                      game.turns, game.hints, game.followed, reviewed,
                  " / ".join(s.name for s in summaries), time.time() - started))
        finally:
            proc.terminate()
            proc.wait(10)


if __name__ == "__main__":
    main()

"""A raw TCP client of the host that records every message, and a replay of the recorded game
broadcasts that fails on the first message a real game could not have produced."""
import socket
import threading
from collections import Counter
import time

TERMINATOR = b"\xff"
MOVES = ("CMD_movehispiece", "CMD_pounce", "CMD_gothome")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for(condition, seconds, what, step=0.05):
    deadline = time.time() + seconds
    while time.time() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(step)
    raise SystemExit("timed out waiting for " + what)


def connect(port, seconds=20):
    return wait_for(lambda: _try_connect(port), seconds, f"a listener on port {port}")


def _try_connect(port):
    try:
        return socket.create_connection(("127.0.0.1", port), timeout=5)
    except OSError:
        return None


class Client:
    """Reads in a thread of its own; `lines` only grows, in arrival order."""

    def __init__(self, port, name=None):
        self.sock = connect(port)
        self.sock.settimeout(None)
        self.lines, self.closed, self.seat = [], False, None
        self.cond = threading.Condition()
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()
        if name is not None:
            first = self.wait(lambda l: l.startswith("CMD_sendlogininfo+"), 20, "the seat")
            self.seat = int(first.split("+")[1])
            self.send(f"CMD_logininfo+{self.seat}+1.0.4+{name}")

    def _read(self):
        rest = b""
        try:
            while True:
                chunk = self.sock.recv(65536)
                if not chunk:
                    break
                rest += chunk
                *done, rest = rest.split(TERMINATOR)
                if done:
                    with self.cond:
                        self.lines.extend(d.decode("latin-1") for d in done)
                        self.cond.notify_all()
        except OSError:
            pass
        with self.cond:
            self.closed = True
            self.cond.notify_all()

    def send(self, text):
        self.sock.sendall(text.encode("latin-1") + TERMINATOR)

    def wait(self, pred, seconds, what, start=0):
        """The first line from index `start` on that satisfies `pred`."""
        deadline = time.time() + seconds
        with self.cond:
            while True:
                for line in self.lines[start:]:
                    if pred(line):
                        return line
                start = max(start, len(self.lines))
                left = deadline - time.time()
                if left <= 0 or self.closed:
                    raise SystemExit(f"no {what} (closed={self.closed}); last: {self.lines[-5:]}")
                self.cond.wait(min(left, 1.0))

    def snapshot(self):
        with self.cond:
            return list(self.lines)

    def close(self):
        try:
            self.sock.close()
        except OSError:
            pass


# The opening layout as checkers per point; player 2's mirrors player 1's.
START = {1: Counter({1: 2, 12: 5, 17: 3, 19: 5}), 2: Counter({24: 2, 13: 5, 8: 3, 6: 5})}


def numbers(line):
    flags = {"t": 1, "f": 0}
    return [flags[f] if f in flags else int(f) for f in line.split("+")[1:] if f != ""]


def consume(dice, slot):
    d = list(dice)
    d[slot - 1], d[slot + 1] = d[slot + 1], 0
    return d


class Replay:
    """Follows the game broadcasts. `turns` lists every turn as (player, dice, moves)."""

    def __init__(self):
        self.pos = {}  # (player, piece) -> point, once known
        self.home = {1: 0, 2: 0}
        # Checkers per point, "bar" and "off": what every window's board must show.
        self.counts = {p: Counter(START[p]) for p in (1, 2)}
        self.current, self.dice, self.turn = 0, None, None
        self.turns, self.passes, self.winner, self.timeouts = [], [], None, 0
        # What the current player has to do: "throw", "move" or "wait" (for the host).
        self.phase = "wait"

    def fail(self, line, why):
        raise AssertionError(f"{why}: {line}")

    def feed(self, line):
        word = line.split("+", 1)[0]
        numeric = MOVES + ("CMD_firstroll", "CMD_nextplayer", "CMD_threwdice", "CMD_thetime")
        n = numbers(line) if word in numeric else []
        if self.winner is not None and word in MOVES + ("CMD_threwdice", "CMD_nextplayer"):
            self.fail(line, "play after the winner")
        if word == "CMD_firstroll":
            d1, d2, first, _ = n
            self.current = first
            self._open(first, [d1, d2, 0, 0])
            self.phase = "move" if n[3] else "wait"
        elif word == "CMD_nextplayer":
            (p,) = n
            if self.turn is None and self.passes and self.passes[-1] == p:
                self.fail(line, "the turn passed twice to the same player")
            if p == self.current:
                self.fail(line, "the turn passed to the player who had it")
            self.passes.append(p)
            self.current, self.turn, self.phase = p, None, "throw"
        elif word == "CMD_threwdice":
            p, *dice, _ = n
            if p != self.current or self.turn is not None:
                self.fail(line, "a throw out of turn")
            if n[-1] and (dice[0] == dice[1]) != (dice[2] == dice[0] and dice[3] == dice[1]):
                self.fail(line, "doubles without their second use")
            self._open(p, dice)
            self.phase = "move" if n[-1] else "wait"
        elif word in MOVES:
            self._move(word, n, line)
        elif word == "CMD_thetime" and n == [2]:
            self.timeouts += 1
            self.phase = "wait"
        elif word == "CMD_nomoveoffbar":
            self.phase = "wait"
        elif word == "CMD_winner":
            self.winner = line.split("+")[1]
            self.phase = "wait"

    def _open(self, player, dice):
        self.dice = dice
        self.turn = (player, list(dice), [])
        self.turns.append(self.turn)

    def _move(self, word, n, line):
        mover, nxt, *after = n[:6]
        if self.turn is None or mover != self.current or mover != self.turn[0]:
            self.fail(line, "a move out of turn")
        if word == "CMD_gothome":
            slot, piece, homecount, frm = n[6], n[7], n[8], n[9]
            to = 26 + mover
        else:
            slot, piece, frm, to = n[6], n[8], n[9], n[11]
        used = self.dice[slot - 1] if slot in (1, 2) else 0
        if used == 0:
            self.fail(line, f"a move with a die that was not left {self.dice}")
        known = self.pos.get((mover, piece))
        if known is not None and known != frm:
            self.fail(line, f"piece {piece} moved from {frm}, but it stood on {known}")
        if word == "CMD_gothome":
            distance = 25 - frm if mover == 1 else frm
            if used < distance:
                self.fail(line, f"bore off from {distance} pips with a {used}")
            self.home[mover] += 1
            if homecount != self.home[mover]:
                self.fail(line, f"home count {homecount}, counted {self.home[mover]}")
        else:
            distance = to - frm if mover == 1 else frm - to
            if distance != used:
                self.fail(line, f"moved {distance} pips with a {used}")
        self._count(word, mover, frm, to, n, line)
        if word == "CMD_pounce":
            opponent, hit = n[13], n[14]
            if self.pos.get((opponent, hit), to) != to:
                self.fail(line, "hit a piece that was not there")
            self.pos[(opponent, hit)] = 0 if opponent == 1 else 25
        self.pos[(mover, piece)] = to
        expected = consume(self.dice, slot)
        if after != expected and after != expected[:2] + [0, 0] and nxt != 0:
            self.fail(line, f"dice {after} after using slot {slot} of {self.dice}")
        self.dice = after
        moves = self.turn[2]
        moves.append((piece, frm, to))
        limit = 4 if self.turn[1][0] == self.turn[1][1] and self.turn[1][2] else 2
        if len(moves) > limit:
            self.fail(line, f"move {len(moves)} of a throw {self.turn[1]}")
        self.phase = "move" if nxt else "wait"
        if nxt == 0:
            self.turn = None if word != "CMD_gothome" or self.home[mover] < 15 else self.turn


    def _count(self, word, mover, frm, to, n, line):
        mine, theirs = self.counts[mover], self.counts[3 - mover]
        origin = "bar" if frm in (0, 25) else frm
        if mine[origin] <= 0:
            self.fail(line, f"no checker of player {mover} on {origin}")
        mine[origin] -= 1
        if word == "CMD_gothome":
            mine["off"] += 1
            return
        if word == "CMD_pounce":
            if theirs[to] != 1:
                self.fail(line, f"a hit on a point holding {theirs[to]} of the opponent's")
            theirs[to] -= 1
            theirs["bar"] += 1
        elif theirs[to] > 0:
            self.fail(line, f"a move onto {theirs[to]} of the opponent's checkers")
        mine[to] += 1


def board_counts(names, colour):
    """Checkers per point, "bar" and "off" from a window's checker names."""
    c = Counter()
    for n in names:
        assert n.startswith(colour + " checker"), n
        if " on point " in n:
            c[int(n.rsplit(" ", 1)[1])] += 1
        elif n.endswith("on the bar"):
            c["bar"] += 1
        elif n.endswith("borne off"):
            c["off"] += 1
        else:
            c[n] += 1
    return c


def replay(lines):
    r = Replay()
    for line in lines:
        r.feed(line)
    return r


def check_game(lines, names):
    """Replays a recorded game and checks its end: the winner bore off all fifteen."""
    r = replay(lines)
    assert r.winner is not None, "no CMD_winner"
    assert any(l.startswith("CMD_firstroll+") for l in lines), "no opening throw"
    winners = [p for p in (1, 2) if r.home[p] == 15]
    assert len(winners) == 1, f"borne off {r.home}"
    assert r.winner == names[winners[0]], f"winner {r.winner}, but seat {winners[0]} bore off"
    assert [l for l in lines if l.startswith("CMD_winner+")] == [f"CMD_winner+{r.winner}+"]
    return r

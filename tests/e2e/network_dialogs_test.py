"""Hosting and joining from the dialogs, with real copies of the program on a real display,
driven over the accessibility bus. Run through desktop_session.sh.

  network_dialogs_test.py BINARY loopback   A solo copy's Play with Others, Host a Game, Host
                                            ends it and starts "Alice 127.0.0.1 true"; a
                                            second copy's Join a Game with "127.0.0.1:<port>"
                                            starts "Bob 127.0.0.1 false" on that port; a raw
                                            spectator sees both seated, and its chat line
                                            reaches both windows.
  network_dialogs_test.py BINARY discovery [PNG]
                                            Inside lan_namespace.py: a host name that cannot be
                                            found is reported in the Join window and nothing
                                            ends; hostile records show as plain short text or
                                            not at all; a hosting copy appears in
                                            a joining copy's list with its name and seats
                                            taken, the count grows when a spectator joins, and
                                            the entry goes when the host ends. PNG: a
                                            screenshot of the Join window listing the game.

Exits 77 (skipped) where pyatspi is missing.
"""
import os
import signal
import subprocess
import sys
import tempfile
import time

try:
    import pyatspi
except ImportError:
    sys.exit(77)

from gamestream import Client, free_port, wait_for
from two_windows_test import NotOnTheBus, app_of, name_of, press, showing, walk

NO_GAMES = "No games found on this network"


def launch(binary, top, tag, port, *args):
    runtime = os.path.join(top, "run-" + tag)
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    env = dict(os.environ, BG_PORT=str(port), BG_CONFIG_DIR=os.path.join(top, "cfg-" + tag),
               XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    log = open(os.path.join(top, tag + ".log"), "w")
    return subprocess.Popen([binary, *args], env=env, stdout=log, stderr=subprocess.STDOUT)


def copies_with(binary, args, top):
    """This run's processes whose command line is exactly BINARY ARGS: the copies a dialog
    started, which keep the runtime folder of the copy that started them. Other tests' copies
    may have the same command line."""
    found = []
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                cmd = f.read().split(b"\0")[:-1]
        except OSError:
            continue
        if [c.decode() for c in cmd] != [binary, *args]:
            continue
        try:
            if environment_of(int(pid)).get("XDG_RUNTIME_DIR", "").startswith(top + os.sep):
                found.append(int(pid))
        except OSError:
            pass
    return found


def environment_of(pid):
    with open(f"/proc/{pid}/environ", "rb") as f:
        pairs = [p.split(b"=", 1) for p in f.read().split(b"\0") if b"=" in p]
    return {k.decode(): v.decode() for k, v in pairs}


def objects(app):
    return walk(app, [])


def find(app, name, role=None, seconds=60):
    def look():
        for a, n, r in objects(app):
            if n == name and (role is None or r == role) and showing(a):
                return a
        return None
    return wait_for(look, seconds, f"'{name}' on the bus", 0.3)


def type_into(app, name, text):
    field = find(app, name, pyatspi.ROLE_TEXT)
    field.queryEditableText().setTextContents(text)
    wait_for(lambda: field.queryText().getText(0, -1) == text, 10, f"'{text}' in '{name}'", 0.1)


def app_for(proc_or_pid):
    pid = proc_or_pid if isinstance(proc_or_pid, int) else proc_or_pid.pid
    try:
        return wait_for(lambda: app_of(pid), 120, f"copy {pid} on the bus", 0.3)
    except SystemExit as e:
        ended = proc_or_pid.poll() if not isinstance(proc_or_pid, int) else None
        if ended is None and os.path.exists(f"/proc/{pid}"):
            raise NotOnTheBus(str(e)) from None  # the desktop session failed, not the program
        raise SystemExit(f"{e}: the copy ended with {ended}") from None


def dialog(app, title, seconds=60):
    """The copy's showing window called `title`. Both the Join and the Host window have a
    "Your name" field, and the bus may still call a window showing just after it closed: the
    fields are looked for inside the one window the step is about."""
    def look():
        for i in range(app.childCount):
            w = app.getChildAtIndex(i)
            if w is not None and name_of(w) == title and showing(w):
                return w
        return None
    return wait_for(look, seconds, f"the window '{title}'", 0.3)


def open_join_window(app):
    """The download window of a solo copy: Play with Others opens Join a Game."""
    press(find(app, "Play with Others", pyatspi.ROLE_PUSH_BUTTON))
    window = dialog(app, "Join a Game")
    find(window, "Host address", pyatspi.ROLE_TEXT)
    return window


def texts_of(window):
    """What a window says, for the log of a step that did not happen."""
    return [n for _, n, r in objects(window) if n and r == pyatspi.ROLE_LABEL]


def game_entries(app):
    """The texts of the Join window's list of games on this network."""
    for a, n, r in objects(app):
        if n == "Games on this network" and r in (pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE,
                                                   pyatspi.ROLE_LIST_BOX):
            return [name_of(a.getChildAtIndex(i)) for i in range(a.childCount)]
    return None


def chat_text(app):
    for a, n, _ in objects(app):
        if n == "Chat":
            t = a.queryText()
            return t.getText(0, t.characterCount)
    return ""


def end(pids):
    for pid in pids:
        try:
            os.kill(pid, signal.SIGKILL)
            os.waitpid(pid, os.WNOHANG)
        except (ProcessLookupError, ChildProcessError):
            pass


def loopback(binary, top):
    port, solo_port = free_port(), free_port()
    started = []
    try:
        first = launch(binary, top, "first", port)
        started.append(first.pid)
        app = app_for(first)
        join = open_join_window(app)
        press(find(join, "Host a Game", pyatspi.ROLE_PUSH_BUTTON))
        host = dialog(app, "Host a Game")
        type_into(host, "Your name", "Alice")
        press(find(host, "Host", pyatspi.ROLE_PUSH_BUTTON))
        try:
            assert first.wait(30) == 0, "the first copy did not end after Host"
        except subprocess.TimeoutExpired:
            raise SystemExit(f"the first copy did not end after Host: {texts_of(host)}") from None
        alice = wait_for(lambda: copies_with(binary, ["Alice", "127.0.0.1", "true"], top), 30,
                         "the hosting copy")
        started += alice

        second = launch(binary, top, "second", solo_port)
        started.append(second.pid)
        app = app_for(second)
        join = open_join_window(app)
        type_into(join, "Your name", "Bob")
        type_into(join, "Host address", f"127.0.0.1:{port}")
        press(find(join, "Join", pyatspi.ROLE_PUSH_BUTTON))
        try:
            assert second.wait(30) == 0, "the second copy did not end after Join"
        except subprocess.TimeoutExpired:
            raise SystemExit(f"the second copy did not end after Join: {texts_of(join)}") from None
        bob = wait_for(lambda: copies_with(binary, ["Bob", "127.0.0.1", "false"], top), 30,
                       "the joining copy")
        started += bob
        assert environment_of(bob[0]).get("BG_PORT") == str(port), "Join passed no port"
        # Bob's own window shows him seated before the spectator comes.
        bob_window = app_for(bob[0])
        wait_for(lambda: any(n == "Bob" and r == pyatspi.ROLE_LABEL
                             for _, n, r in objects(bob_window)), 60, "Bob seated", 0.3)

        spy = Client(port, "Spy")
        spy.wait(lambda l: l == "CMD_existingplayers+1+Alice", 60, "Alice in seat 1")
        spy.wait(lambda l: l == "CMD_existingplayers+2+Bob", 60, "Bob in seat 2")
        assert spy.seat == 3
        spy.send("CMD_chat+3+Good luck to you both|0")
        spy.wait(lambda l: "Good luck to you both" in l, 20, "the chat relay")
        for pid, who in ((alice[0], "Alice"), (bob[0], "Bob")):
            window = app_for(pid)
            wait_for(lambda: "Good luck to you both" in chat_text(window), 30,
                     f"the chat line in {who}'s window", 0.3)
        spy.close()
        print("ok")
    finally:
        end(started)


def discovery(binary, top, screenshot):
    host_port, solo_port = free_port(), free_port()
    started = []
    try:
        alice = launch(binary, top, "alice", host_port, "Alice", "127.0.0.1", "true")
        started.append(alice.pid)
        joiner = launch(binary, top, "joiner", solo_port)
        started.append(joiner.pid)
        app = app_for(joiner)
        app = open_join_window(app)
        # Inside the test's own network no name server answers: a name that cannot be found
        # is reported in the window, and the copy goes on.
        type_into(app, "Your name", "Bob")
        type_into(app, "Host address", "nosuchhost.invalid")
        press(find(app, "Join", pyatspi.ROLE_PUSH_BUTTON))
        wait_for(lambda: any(n == 'Cannot find the host "nosuchhost.invalid"' or
                             n.startswith('Cannot find the host "nosuchhost.invalid":')
                             for _, n, _ in objects(app)), 60, "the look-up's failure", 0.3)
        assert joiner.poll() is None, "the copy ended after a failed look-up"
        type_into(app, "Host address", "")

        def entry_with(*words):
            entries = game_entries(app) or []
            return next((e for e in entries if all(w in e for w in words)), None)

        first = wait_for(lambda: entry_with("Alice", "Backgammon", "1 of 9 seats taken"), 60,
                         "Alice's game in the list", 0.5)
        address = os.environ.get("BG_LAN_HOST_ADDRESS", "")
        assert f":{host_port}" in first, first
        assert address == "" or "10.231.77." in first, first
        if screenshot:
            time.sleep(0.5)
            subprocess.run(["import", "-window", "root", screenshot], check=False)
        # Whatever the network announces is shown as plain text of a bounded length, and a
        # record that does not read is no game.
        hostile_name = "<b>Mallory</b>\x1b[31m\u202e" + "m" * 200
        publishers = [subprocess.Popen(
            ["avahi-publish", "-s", *args], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            for args in (["Mallory's game", "_backgammon._tcp", "7772", "name=" + hostile_name,
                          "game=acey", "seats=7"],
                         ["Broken game", "_backgammon._tcp", "7772", "name=Trent",
                          "game=backgammon", "seats=99"])]
        started += [p.pid for p in publishers]
        shown = "<b>Mallory</b>[31m" + "m" * (64 - len("<b>Mallory</b>[31m"))
        hostile = wait_for(lambda: entry_with(shown + " · Acey-Deucey · 7 of 9 seats taken"), 60,
                           "the hostile record as plain text", 0.5)
        assert hostile.startswith(shown + " · "), hostile  # cut to 64 bytes, controls dropped
        assert entry_with("Trent") is None, game_entries(app)
        for p in publishers:
            p.terminate()
        wait_for(lambda: entry_with("Mallory") is None, 60, "the hostile record gone", 0.5)

        spy = Client(host_port, "Spy")
        spy.wait(lambda l: l.startswith("CMD_existingplayers+1+"), 30, "Alice's seat")
        wait_for(lambda: entry_with("Alice", "2 of 9 seats taken"), 60,
                 "the spectator counted in the list", 0.5)
        spy.close()
        alice.terminate()
        alice.wait(30)
        wait_for(lambda: entry_with("Alice") is None and entry_with(NO_GAMES) is not None, 60,
                 "Alice's game gone from the list", 0.5)
        print("ok")
    finally:
        end(started)


def main():
    binary = os.path.abspath(sys.argv[1])
    mode = sys.argv[2]
    try:
        attempt(binary, mode)
    except NotOnTheBus as e:
        print(f"{e}; starting again", flush=True)
        attempt(binary, mode)


def attempt(binary, mode):
    with tempfile.TemporaryDirectory() as top:
        try:
            if mode == "loopback":
                loopback(binary, top)
            else:
                discovery(binary, top, sys.argv[3] if len(sys.argv) > 3 else None)
        except BaseException:
            for name in sorted(os.listdir(top)):
                if name.endswith(".log"):
                    with open(os.path.join(top, name)) as f:
                        print(f"--- {name}\n{f.read()[-3000:]}", file=sys.stderr)
            raise


if __name__ == "__main__":
    main()

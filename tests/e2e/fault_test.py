#!/usr/bin/env python3
"""Faults against the headless host on real sockets. A watcher starts a game and only watches,
so the bot plays both seats, while another client misbehaves.

  fault_test.py BINARY oversize   a client sends 100 KiB without a terminator: it is dropped,
                                  the game goes on to a winner and a later client is answered
  fault_test.py BINARY flood      a spectator floods the chat for seconds: the game completes
"""
import os
import subprocess
import sys
import tempfile
import threading
import time

from gamestream import MOVES, Client, check_game, free_port


def start_host(binary, port, config_dir):
    env = dict(os.environ, BG_CONFIG_DIR=config_dir, BG_BOT_DELAY_MS="20", BG_TICK_MS="100",
               QT_QPA_PLATFORM="offscreen")
    env.pop("DISPLAY", None)
    return subprocess.Popen([binary, "--serve", "--port", str(port)], env=env,
                            stdout=subprocess.DEVNULL, stderr=open(os.environ.get("BG_HOST_LOG", os.devnull), "w"))


def moves_in(lines):
    return sum(1 for l in lines if l.startswith(MOVES))


def start_watched_game(port):
    watcher = Client(port, "Watcher")
    # Seat 2 is taken too, so the misbehaving clients come as spectators; both seats only
    # watch and the bot plays them.
    other = Client(port, "Other")
    assert (watcher.seat, other.seat) == (1, 2), (watcher.seat, other.seat)
    watcher.wait(lambda l: l == "CMD_newplayerinfo+2+Other", 20, "the second seat")
    watcher.send("CMD_startgame+Watcher+120+0+")
    watcher.send("CMD_pressstart+1+")
    watcher.send("CMD_justwatch+1+1")
    other.send("CMD_justwatch+2+1")
    watcher.wait(lambda l: l.startswith("CMD_firstroll+"), 60, "opening throw")
    return watcher


def oversize(port):
    watcher = start_watched_game(port)
    bad = Client(port)
    bad.wait(lambda l: l.startswith("CMD_sendlogininfo+"), 20, "a seat for the bad client")
    before = moves_in(watcher.snapshot())
    try:
        for _ in range(100):
            bad.sock.sendall(b"x" * 1024)
    except OSError:
        pass  # the host may close it before the last kilobyte
    with bad.cond:
        bad.cond.wait_for(lambda: bad.closed, 30)
    assert bad.closed, "the host kept a connection holding 100 KiB without a terminator"

    # The game goes on, and a client that comes later is seated and relayed.
    seen = len(watcher.snapshot())
    watcher.wait(lambda l: l.startswith(MOVES), 60, "a move after the drop", start=seen)
    late = Client(port, "Late")
    late.wait(lambda l: l == "CMD_existingplayers+1+Watcher", 20, "the late client's welcome")
    late.send(f"CMD_chat+{late.seat}+still here|0")
    watcher.wait(lambda l: l.startswith("CMD_chat+") and "still here" in l, 20, "the relay")
    watcher.wait(lambda l: l.startswith("CMD_winner+"), 300, "the winner")
    lines = watcher.snapshot()
    check_game(lines, {1: "Watcher", 2: "Other"})
    print(f"dropped after {before} moves; game over after {moves_in(lines)} moves")
    late.close()


def flood(port):
    watcher = start_watched_game(port)
    spammer = Client(port, "Spammer")
    spammer.wait(lambda l: l == "CMD_existingplayers+1+Watcher", 20, "the spammer's welcome")
    stop, sent = threading.Event(), [0]

    def spam():
        # About 2,000 lines a second, faster than the host serves them: its backlog bound may
        # let the spammer go, which is as good as relaying it, as long as the game goes on.
        while not stop.is_set():
            try:
                spammer.send(f"CMD_chat+{spammer.seat}+spam {sent[0]} " + "y" * 200 + "|0")
            except OSError:
                return
            sent[0] += 1
            if sent[0] % 20 == 0:
                time.sleep(0.01)

    thread = threading.Thread(target=spam, daemon=True)
    before = moves_in(watcher.snapshot())
    began = time.time()
    thread.start()
    # The game keeps moving while the flood lasts.
    seen = len(watcher.snapshot())
    watcher.wait(lambda l: l.startswith(MOVES), 60, "a move during the flood", start=seen)
    while time.time() - began < 4 and not watcher.closed:
        time.sleep(0.2)
    stop.set()
    thread.join(30)
    during = moves_in(watcher.snapshot()) - before
    relayed = sum(1 for l in watcher.snapshot() if l.startswith("CMD_chat+") and "spam " in l)
    let_go = f"CMD_playerdisconnected+{spammer.seat}+Spammer" in watcher.snapshot()
    assert relayed > 0 or let_go, "the spam was neither relayed nor its sender let go"
    watcher.wait(lambda l: l.startswith("CMD_winner+"), 300, "the winner")
    lines = watcher.snapshot()
    check_game(lines, {1: "Watcher", 2: "Other"})
    print(f"{sent[0]} chat lines sent, {relayed} seen relayed, {during} moves during the flood,"
          f" game over after {moves_in(lines)} moves")
    spammer.close()


def main():
    binary, mode = sys.argv[1], sys.argv[2]
    port = free_port()
    with tempfile.TemporaryDirectory() as config_dir:
        host = start_host(binary, port, config_dir)
        try:
            {"oversize": oversize, "flood": flood}[mode](port)
            assert host.poll() is None, f"the host ended with {host.poll()}"
        finally:
            host.send_signal(2)
            try:
                host.wait(20)
            except subprocess.TimeoutExpired:
                host.kill()
    print("ok")


if __name__ == "__main__":
    main()

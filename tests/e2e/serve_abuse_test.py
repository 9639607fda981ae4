#!/usr/bin/env python3
"""The headless host against careless and hostile raw TCP clients.

  serve_abuse_test.py BINARY ghosts   eight clients send their log-in and hang up at once; the
                                      next newcomer still gets seat 2
  serve_abuse_test.py BINARY flood    a spectator floods chat lines; a player's lines keep
                                      coming back and the flooder is let go
  serve_abuse_test.py BINARY silent   a spectator that never reads is let go while another
                                      seat chats long lines; the host does not grow with it
"""
import os
import socket
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from serve_test import Lines, free_port, send, start_host  # noqa: E402

TERMINATOR = b"\xff"


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def log_in(port, name):
    sock = socket.create_connection(("127.0.0.1", port), timeout=10)
    lines = Lines(sock)
    greeting = lines.next(10)
    assert greeting.startswith("CMD_sendlogininfo+"), greeting
    seat = int(greeting.split("+")[1])
    send(sock, f"CMD_logininfo+{seat}+1.0.4+{name}")
    return sock, lines, seat


def wait_for(lines, wanted, timeout=10):
    seen = []
    deadline = time.time() + timeout
    while time.time() < deadline:
        line = lines.next(max(0.1, deadline - time.time()))
        seen.append(line)
        if line.startswith(wanted):
            return line, seen
    raise AssertionError(f"never heard {wanted!r}; last lines {seen[-5:]}")


def ghosts(port, host_pid):
    del host_pid
    sock, lines, seat = log_in(port, "Host")
    assert seat == 1
    wait_for(lines, "CMD_newplayerinfo+1+Host")
    for i in range(8):
        ghost = socket.create_connection(("127.0.0.1", port), timeout=10)
        greeting = Lines(ghost).next(10)
        n = greeting.split("+")[1]
        ghost.sendall(f"CMD_logininfo+{n}+1.0.4+Ghost{i}".encode() + TERMINATOR)
        ghost.close()
    time.sleep(0.5)  # more than the ticks the eight log-ins need
    late = socket.create_connection(("127.0.0.1", port), timeout=10)
    first = Lines(late).next(10)
    assert first == "CMD_sendlogininfo+2", first
    late.close()
    sock.close()


def flood(port, host_pid):
    player, plines, _ = log_in(port, "Player")
    spy, slines, spy_seat = log_in(port, "Spy")
    wait_for(plines, f"CMD_newplayerinfo+{spy_seat}+Spy")
    idle = rss_kib(host_pid)

    sent = [0]

    def flooder():
        # About 2,000 short numbered lines a second for at most three seconds.
        try:
            for _ in range(300):
                batch = b"".join(f"CMD_chat+{spy_seat}+spam{sent[0] + k}|clBlack".encode()
                                 + TERMINATOR for k in range(20))
                spy.sendall(batch)
                sent[0] += 20
                time.sleep(0.01)
        except OSError:
            pass  # let go by the host

    thread = threading.Thread(target=flooder)
    thread.start()
    time.sleep(0.2)
    overtaken, heard = [], []
    for i in range(5):
        waiting_at_send = sent[0]
        send(player, f"CMD_chat+1+line{i}|clBlack")
        _, seen = wait_for(plines, f"CMD_chat+1+Player chats: line{i}|", timeout=60)
        heard += seen
        spam = [int(l.split("spam")[1].split("|")[0]) for l in seen if "spam" in l]
        # How many of the spy's lines, sent before this one, it overtook in the host.
        overtaken.append(waiting_at_send - (spam[-1] + 1 if spam else 0))
        time.sleep(0.05)
    peak = rss_kib(host_pid)
    thread.join()
    # Served in turn: the player's first line overtakes the spy's backlog instead of waiting
    # for it (one shared queue made it wait behind every line sent before it).
    assert overtaken[0] > 100, overtaken
    gone = f"CMD_playerdisconnected+{spy_seat}+Spy"
    if gone not in heard:
        wait_for(plines, gone, timeout=20)
    print(f"spy lines overtaken: {overtaken}; host grew {peak - idle} KiB during the flood")
    spy.close()
    player.close()


def silent(port, host_pid):
    talker, tlines, _ = log_in(port, "Talker")
    wait_for(tlines, "CMD_newplayerinfo+1+Talker")
    quiet = socket.socket()
    quiet.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
    quiet.connect(("127.0.0.1", port))
    time.sleep(0.2)
    idle = rss_kib(host_pid)
    text = "x" * 60000
    gone, sent, outstanding = False, 0, 0
    while not gone and sent < 600:
        send(talker, f"CMD_chat+1+{text}|clBlack")
        sent += 1
        outstanding += 1
        while outstanding > 20 or (sent >= 600 and not gone):
            line = tlines.next(20)
            if line.startswith("CMD_chat+1+"):
                outstanding -= 1
            if line.startswith("CMD_playerdisconnected+2+"):
                gone = True
                break
    grown = rss_kib(host_pid) - idle
    quiet.close()
    talker.close()
    assert gone, f"the silent seat was never let go ({sent} lines of 60 kB)"
    print(f"silent seat let go after {sent} lines; host grew {grown} KiB")
    # A sanitizer's allocator keeps freed memory in quarantine: the host's size says nothing.
    if not os.environ.get("BG_SANITIZED"):
        assert grown < 16 * 1024, grown


def main():
    binary, mode = sys.argv[1], sys.argv[2]
    port = free_port()
    with tempfile.TemporaryDirectory() as config_dir:
        host, probe = start_host(binary, port, config_dir)
        probe.close()
        try:
            time.sleep(0.1)  # the probe's departure is handled
            {"ghosts": ghosts, "flood": flood, "silent": silent}[mode](port, host.pid)
        finally:
            host.send_signal(2)
            try:
                host.wait(10)
            except Exception:
                host.kill()
                raise
    print("ok")


if __name__ == "__main__":
    main()

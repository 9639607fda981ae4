#!/usr/bin/env python3
"""A player's chat relay against a real `backgammon --serve`: alone, and while one spectator
floods the host.

  bench/flood_latency.py [BUILD_DIR] [--seconds N] [--isolated N]

First the player sends N (400) chat lines alone, each after the last has come back and 20 ms
of quiet, so each finds the host idle: their round trips show how soon an idle host answers.
Goals: median under 1 ms, 99th percentile under 2 ms.

Then a spectator writes about 2,000 short chat lines a second while the player sends a chat
line every 20 ms and times its way back. Prints the player's round-trip times (median, 99th
percentile, worst), how long the flooder lasted before the host let it go, and how much the
host's memory grew over its idle size. Goals: 99th percentile within 30 ms (3 ticks), growth
within 2 MiB.
"""
import argparse
import multiprocessing
import os
import socket
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from serve_abuse_test import log_in, rss_kib, wait_for  # noqa: E402
from serve_test import free_port, send, start_host  # noqa: E402

TERMINATOR = b"\xff"


def flooder(port, seconds):
    """Logs in as a spectator and writes about 2,000 short chat lines a second."""
    spy, _, seat = log_in(port, "Spy")
    time.sleep(0.2)
    line = f"CMD_chat+{seat}+spam|clBlack".encode() + TERMINATOR
    start = time.time()
    try:
        while time.time() - start < seconds:
            spy.sendall(line * 20)
            time.sleep(0.01)
    except OSError:
        print(f"flooder let go after {time.time() - start:.2f} s")


def round_trip(player, plines, i):
    """The round trip in ms, and the lines heard meanwhile."""
    sent = time.perf_counter()
    send(player, f"CMD_chat+1+ping{i}|clBlack")
    _, seen = wait_for(plines, f"CMD_chat+1+Player chats: ping{i}|", timeout=120)
    return (time.perf_counter() - sent) * 1000, seen


def summary(rtts):
    rtts = sorted(rtts)
    p99 = rtts[min(len(rtts) - 1, int(len(rtts) * 0.99))]
    return (f"median {statistics.median(rtts):.2f} ms, 99th percentile {p99:.2f} ms,"
            f" worst {rtts[-1]:.2f} ms")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--seconds", type=float, default=10)
    parser.add_argument("--isolated", type=int, default=400)
    args = parser.parse_args()
    port = free_port()
    with tempfile.TemporaryDirectory() as config:
        host, probe = start_host(os.path.join(args.build, "backgammon"), port, config)
        probe.close()
        try:
            time.sleep(0.1)
            player, plines, _ = log_in(port, "Player")
            wait_for(plines, "CMD_newplayerinfo+1+Player")
            alone = []
            for i in range(args.isolated):
                time.sleep(0.02)
                alone.append(round_trip(player, plines, f"-alone{i}")[0])
            # The flooder is a process of its own, so that it never holds up the measuring.
            flood = multiprocessing.Process(target=flooder, args=(port, args.seconds))
            flood.start()
            wait_for(plines, "CMD_newplayerinfo+2+Spy")
            idle = rss_kib(host.pid)
            peak = [idle]
            start = time.time()
            # The host lets a flooder go once it falls too far behind; the lines sent while it
            # was still there are the ones that met the flood.
            rtts, flooded, flooding, i = [], [], True, 0
            while time.time() - start < args.seconds:
                rtt, seen = round_trip(player, plines, i)
                rtts.append(rtt)
                if flooding:
                    flooded.append(rtt)
                    flooding = not any(l.startswith("CMD_playerdisconnected+2+") for l in seen)
                peak[0] = max(peak[0], rss_kib(host.pid))
                i += 1
                time.sleep(0.02)
            flood.join()
            player.close()
        finally:
            host.send_signal(2)
            host.wait(10)
    print(f"isolated relays, {len(alone)} lines to an idle host: {summary(alone)}"
          f"   (goals: median < 1 ms, 99th < 2 ms)")
    print(f"player's chat round trip while the spectator flooded, {len(flooded)} lines:"
          f" {summary(flooded)}   (goal: 99th <= 30 ms)")
    print(f"player's chat round trip over the whole flood run, {len(rtts)} lines: {summary(rtts)}")
    print(f"host grew {(peak[0] - idle) / 1024:.2f} MiB"
          f" over its idle size   (goal <= 2 MiB)")


if __name__ == "__main__":
    main()

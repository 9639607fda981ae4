#!/usr/bin/env python3
"""How a chat flood from one spectator affects a player, against a real `backgammon --serve`.

  bench/flood_latency.py [BUILD_DIR] [--seconds N]

A spectator writes about 2,000 short chat lines a second while a player sends a chat line
every 20 ms and times its way back. Prints the player's round-trip times (median, 99th
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


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--seconds", type=float, default=10)
    args = parser.parse_args()
    port = free_port()
    with tempfile.TemporaryDirectory() as config:
        host, probe = start_host(os.path.join(args.build, "backgammon"), port, config)
        probe.close()
        try:
            time.sleep(0.1)
            player, plines, _ = log_in(port, "Player")
            # The flooder is a process of its own, so that it never holds up the measuring.
            flood = multiprocessing.Process(target=flooder, args=(port, args.seconds))
            flood.start()
            wait_for(plines, "CMD_newplayerinfo+2+Spy")
            idle = rss_kib(host.pid)
            peak = [idle]
            start = time.time()
            rtts, i = [], 0
            while time.time() - start < args.seconds:
                sent = time.time()
                send(player, f"CMD_chat+1+ping{i}|clBlack")
                wait_for(plines, f"CMD_chat+1+Player chats: ping{i}|", timeout=120)
                rtts.append((time.time() - sent) * 1000)
                peak[0] = max(peak[0], rss_kib(host.pid))
                i += 1
                time.sleep(0.02)
            flood.join()
            player.close()
        finally:
            host.send_signal(2)
            host.wait(10)
    rtts.sort()
    p99 = rtts[min(len(rtts) - 1, int(len(rtts) * 0.99))]
    print(f"player's chat round trip over {len(rtts)} lines: median {statistics.median(rtts):.1f} ms,"
          f" 99th percentile {p99:.1f} ms, worst {rtts[-1]:.1f} ms   (goal: 99th <= 30 ms)")
    print(f"host grew {(peak[0] - idle) / 1024:.2f} MiB"
          f" over its idle size   (goal <= 2 MiB)")


if __name__ == "__main__":
    main()

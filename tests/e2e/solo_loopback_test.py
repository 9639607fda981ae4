#!/usr/bin/env python3
"""A solo game is nobody else's business: started without parameters the program listens on
the loopback address only, while a copy that hosts for others ("true") listens on every
address.

  solo_loopback_test.py BINARY
"""
import os
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from two_copies_test import free_port, wait_for  # noqa: E402


def listen_addresses(port):
    """The IPv4 addresses something listens on at the port, from the kernel's table."""
    found = []
    with open("/proc/net/tcp") as table:
        for row in table.readlines()[1:]:
            local, state = row.split()[1], row.split()[3]
            address, hexport = local.split(":")
            if state == "0A" and int(hexport, 16) == port:
                found.append(socket.inet_ntoa(bytes.fromhex(address)[::-1]))
    return found


def outside_addresses():
    """This machine's own IPv4 addresses that are not loopback addresses."""
    mine, previous = set(), ""
    with open("/proc/net/fib_trie") as trie:
        for line in trie:
            if "/32 host LOCAL" in line:
                mine.add(previous.split()[-1])
            previous = line
    return sorted(a for a in mine if not a.startswith("127."))


def reachable(address, port):
    try:
        with socket.create_connection((address, port), timeout=3):
            return True
    except OSError:
        return False


def run_copy(binary, top, name, args, port):
    runtime = os.path.join(top, "run-" + name)
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", BG_PORT=str(port),
               BG_CONFIG_DIR=os.path.join(top, "cfg-" + name), XDG_RUNTIME_DIR=runtime, XDG_DATA_HOME=runtime)
    copy = subprocess.Popen([binary, *args], env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    wait_for(lambda: listen_addresses(port), 20, name + "'s host")
    return copy


def main():
    binary = sys.argv[1]
    outside = outside_addresses()
    with tempfile.TemporaryDirectory() as top:
        port = free_port()
        solo = run_copy(binary, top, "solo", [], port)
        try:
            assert listen_addresses(port) == ["127.0.0.1"], listen_addresses(port)
            for address in outside:
                assert not reachable(address, port), f"solo game reachable on {address}"
        finally:
            solo.terminate()
            solo.wait(10)

        port = free_port()
        host = run_copy(binary, top, "host", ["Alice", "127.0.0.1", "true"], port)
        try:
            assert listen_addresses(port) == ["0.0.0.0"], listen_addresses(port)
            for address in outside:
                assert reachable(address, port), f"hosting copy not reachable on {address}"
        finally:
            host.terminate()
            host.wait(10)
    print(f"ok (outside addresses tried: {outside or 'none on this machine'})")


if __name__ == "__main__":
    main()

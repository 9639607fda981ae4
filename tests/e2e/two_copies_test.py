#!/usr/bin/env python3
"""Two real copies of the program on one machine, each with its own runtime folder so the
single-instance guard keeps them apart: Alice hosts, Bob joins, a raw spectator sees both
names; a second start beside Alice only brings her window forward; when Alice's copy ends,
Bob's closes too.

  two_copies_test.py BINARY
"""
import os
import socket
import subprocess
import sys
import tempfile
import time

TERMINATOR = b"\xff"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def listening(port):
    """Whether something listens on the port, without connecting (that would take a seat)."""
    with open("/proc/net/tcp") as table:
        for row in table.readlines()[1:]:
            local, state = row.split()[1], row.split()[3]
            if state == "0A" and int(local.split(":")[1], 16) == port:
                return True
    return False


def wait_for(condition, seconds, what):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if condition():
            return
        time.sleep(0.05)
    raise SystemExit("timed out waiting for " + what)


def main():
    binary = sys.argv[1]
    port = free_port()
    with tempfile.TemporaryDirectory() as top:
        def copy(name, *args):
            runtime = os.path.join(top, "run-" + name)
            config = os.path.join(top, "cfg-" + name)
            os.makedirs(runtime, mode=0o700, exist_ok=True)
            env = dict(os.environ, QT_QPA_PLATFORM="offscreen", BG_PORT=str(port),
                       BG_CONFIG_DIR=config, XDG_RUNTIME_DIR=runtime, XDG_DATA_HOME=runtime)
            return subprocess.Popen([binary, *args], env=env, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)

        alice = copy("alice", "Alice", "127.0.0.1", "true")
        bob = None
        try:
            wait_for(lambda: listening(port), 20, "Alice's host")
            time.sleep(1.0)  # her own window logs in first, as seat 1
            bob = copy("bob", "Bob", "127.0.0.1", "false")
            time.sleep(1.5)

            spy = socket.create_connection(("127.0.0.1", port), timeout=10)
            rest, lines = b"", []
            def more():
                nonlocal rest
                while TERMINATOR not in rest:
                    chunk = spy.recv(4096)
                    if not chunk:
                        raise SystemExit("host closed the spectator")
                    rest += chunk
                line, rest = rest.split(TERMINATOR, 1)
                lines.append(line.decode("latin-1"))
                return lines[-1]
            assert more() == "CMD_sendlogininfo+3", lines
            spy.sendall(b"CMD_logininfo+3+1.0.4+Spy" + TERMINATOR)
            while "CMD_existingplayers+2+Bob" not in lines:
                more()
            assert "CMD_existingplayers+1+Alice" in lines, lines

            # A second start beside Alice finds her guard, asks her forward and leaves.
            second = copy("alice", "Alice", "127.0.0.1", "true")
            assert second.wait(20) == 0
            assert alice.poll() is None and bob.poll() is None

            alice.terminate()
            alice.wait(20)
            bob.wait(20)  # closes when its connection to the host closes
            print("ok")
        finally:
            for p in (alice, bob):
                if p and p.poll() is None:
                    p.kill()


if __name__ == "__main__":
    main()
